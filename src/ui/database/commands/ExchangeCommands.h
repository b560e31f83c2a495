#pragma once

#include <QString>
#include <QtGlobal>

class DocumentCommands;
class ExchangeWindow;
class List;
class Platform;
struct DatabaseSession;

/// The menu commands "To Excel Spreadsheet" and "From Excel Spreadsheet": the checks, the
/// questions and the progress frame around the grid's own export and import. The grid moves
/// the texts; these commands decide whether it may, tell the user what it takes, and say
/// when it failed.
class ExchangeCommands final {
public:
    ExchangeCommands(List& list, Platform& platform, ExchangeWindow& window,
                     DocumentCommands& documents, DatabaseSession& session);
    Q_DISABLE_COPY_MOVE(ExchangeCommands)

    /// From this many rows on, the window refuses to export.
    static constexpr int RefusedExportRows = 65001;

    /// Copies the table's texts into a new workbook shown on the desktop; the table and the
    /// dirty flag stay as they are.
    void exportToExcel();
    /// Reads the first rows of a spreadsheet file, as many as the user types, into the
    /// table's texts. It cannot be undone: the journal is emptied afterwards. An import that
    /// fails (a file that cannot be read, or more text than can be imported) says why and
    /// changes nothing.
    void importFromExcel();

    /// The Open dialog's filter of the import: its text, and the patterns of every kind of
    /// file the import reads.
    static QString importFilter();

private:
    bool excelUnavailable() const;
    /// A failed export or import: the reason, which names the file.
    void sayFailure(const QString& reason);

    List& m_list;
    Platform& m_platform;
    ExchangeWindow& m_window;
    DocumentCommands& m_documents;
    DatabaseSession& m_session;
};
