#pragma once

#include <QtGlobal>

class DatabaseWindowState;
class List;

/// The record commands of the database window: Add Record (and DODARED, its part the grid
/// calls on Down at the last record), Insert Record and Delete Record.
class RecordCommands final {
public:
    /// Add Record adds nothing once the table holds more records than this.
    static constexpr int MaxRecordsForAdd = 500000;

    RecordCommands(List& list, DatabaseWindowState& window);
    Q_DISABLE_COPY_MOVE(RecordCommands)

    /// Appends one empty record after the last and marks the document changed; nothing, and
    /// false, above the limit.
    bool DODARED();
    /// DODARED, then the focus goes to the Undo button and back to the grid.
    void addRecord();
    /// An empty record takes the current record's place, which moves down with the rest.
    void insertRecord();
    /// Removes the current record without asking; the current row stays where it was.
    void deleteRecord();

private:
    List& m_list;
    DatabaseWindowState& m_window;
};
