#pragma once

#include <QString>
#include <QtGlobal>

class DocumentWindow;
class List;
class Platform;
struct DatabaseSession;
struct FileResult;

/// The life of the document in the database window: New, Open (editable or read-only), Save,
/// Save As, the three recent files, opening a file found by the search window, and the
/// question before any of them throws changes away. The files are read and written by the
/// grid; these commands choose which file, when, and what the window shows around it.
///
/// The current path and file title are those the file dialogs last confirmed: cancelling a
/// dialog leaves them, and New keeps them (the title then says the document is unsaved).
class DocumentCommands final {
public:
    DocumentCommands(List& list, Platform& platform, DocumentWindow& window,
                     DatabaseSession& session);
    Q_DISABLE_COPY_MOVE(DocumentCommands)

    /// The pending-changes question: true when the asking command goes on (no changes, or
    /// No). Yes saves, and the asking command ends there; Cancel ends it.
    bool mayDiscardChanges();

    /// New: after the question (No also clears the dirty flag; Cancel marks the search
    /// window), the table becomes a new one and the title says it is unsaved.
    void NEWLIST();
    void open();
    /// Opens recent file `slot` (1..3), editable; a file that is gone leaves the list
    /// without a word.
    void openRecent(int slot);
    /// Opens `path` as if chosen in the Open dialog, editable, after the question.
    void openPath(const QString& path);
    /// Opens a file the search window found, after its New: `fileName` is what the recent
    /// list shows.
    void openFoundFile(const QString& path, const QString& fileName);
    void save();
    void saveAs();
    /// Records the current path in the recent list, under `displayName` (the current file
    /// title when empty).
    void PISEFILEADRES(const QString& displayName = QString());
    /// The question before the window closes: true when it may close (no changes, or No);
    /// Yes saves and keeps it open, as Cancel does.
    bool mayClose();

    /// The filter of both file dialogs.
    static QString fileFilter();
    QString currentPath() const { return m_currentPath; }
    QString currentFileTitle() const { return m_fileTitle; }
    bool readOnly() const { return m_readOnly; }

private:
    enum class Editing { Allowed, ReadOnly };
    /// Reads `path` into the grid with the progress frame; false (the window told why) when
    /// nothing was opened.
    bool load(const QString& path);
    /// Columns editable or not, with the progress steps, and the editing controls with them.
    /// Editing allowed or not in every column, the progress frame hidden leaving `caption`
    /// on it, the document unchanged.
    void finishOpen(Editing editing, const QString& caption);
    /// The save's outcome: the dirty flag, and a message when it failed.
    bool settle(const FileResult& result);
    /// Titles for a name the Save dialog gave, ".QEL" appended to the path when missing.
    void takeSavedName(const QString& path, const QString& fileTitle);

    List& m_list;
    Platform& m_platform;
    DocumentWindow& m_window;
    DatabaseSession& m_session;
    QString m_currentPath;
    QString m_fileTitle;
    bool m_readOnly = false;
};
