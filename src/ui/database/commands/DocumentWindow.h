#pragma once

#include <QString>
#include <QtGlobal>

/// The database window as its document commands (new, open, save, recent files, close) see
/// it. The window implements it; tests give a plain stand-in.
class DocumentWindow {
public:
    virtual ~DocumentWindow() = default;

    virtual QString title() const = 0;
    virtual void setTitle(const QString& title) = 0;

    /// The dirty flag lblChangeStatus: "1" when the table has changes not saved.
    virtual bool isDirty() const = 0;
    virtual void setDirty(bool dirty) = 0;
    /// While suspended, changes to the table do not mark the document changed: the commands
    /// replace or reshape it themselves and set the flag as they mean it.
    virtual void suspendChangeMarks(bool suspended) = 0;

    /// Read-only mode: the edit bar, the Save button and the menu entries save, saveas,
    /// paste, add, deletemenu, insert and import disabled (or enabled again).
    virtual void setEditingLocked(bool locked) = 0;
    /// The recent-file entry `slot` (1..3) shows `caption`; hidden while the caption is empty.
    virtual void showRecentEntry(int slot, const QString& caption) = 0;

    /// The progress frame of an open: the grid hidden, PleaseWait shown with its caption.
    virtual void showOpenProgress(const QString& caption) = 0;
    /// The progress bar at `value` of `maximum`, repainted; while a file is read the window
    /// repaints, holding the user's input back.
    virtual void setOpenProgress(qint64 value, qint64 maximum) = 0;
    /// The grid shown again and the progress frame hidden, its caption set to `caption`.
    virtual void hideOpenProgress(const QString& caption) = 0;

    /// Empties the edit bar without touching any cell.
    virtual void clearEditBar() = 0;
    /// A cancelled New leaves the mark "Cancel" on the file search window, when it is shown.
    virtual void markSearchCancel() = 0;
    /// Closes the window, with its closing steps.
    virtual void closeWindow() = 0;
};
