#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

class DatabaseWindowState;
class FormatCommands;
class List;
class Platform;

/// The column commands of the database window: Add Column, Insert Column, Delete Column and
/// Column Name. A new column is empty and 100 wide; its name is asked for and cut to 15
/// characters. Adding, inserting and deleting a column empty the journal and the clipboard.
class ColumnCommands final {
public:
    static constexpr int MaxNameLength = 15;
    static constexpr int NewColumnWidth = 100;

    /// `format` copies the current cell before a column is added or inserted;
    /// `executableName` (without folder or extension) titles the refusal to delete the last
    /// column.
    ColumnCommands(List& list, Platform& platform, DatabaseWindowState& window,
                   FormatCommands& format, QString executableName);
    Q_DISABLE_COPY_MOVE(ColumnCommands)

    void addColumn();
    void insertColumn();
    /// Asks first; the last column left is never deleted.
    void deleteColumn();
    void columnName();

    /// The name the user typed, cut to MaxNameLength; nothing when cancelled, empty, or a name
    /// that a saved file could not give back (then after saying so).
    std::optional<QString> askName();

private:
    /// Empties the clipboard and the journal and marks the document changed.
    void afterShapeChange();

    List& m_list;
    Platform& m_platform;
    DatabaseWindowState& m_window;
    FormatCommands& m_format;
    QString m_executableName;
};
