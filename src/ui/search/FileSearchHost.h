#pragma once

#include <QRect>
#include <QString>

/// What the file search window asks of the database window, which implements it.
class FileSearchHost {
public:
    virtual ~FileSearchHost() = default;
    /// The database window's outer frame, in pixels: the list mode docks beside it.
    virtual QRect databaseWindowFrame() const = 0;
    /// Puts the database window in normal state with its frame's left edge at `left` pixels.
    virtual void moveDatabaseWindowTo(int left) = 0;
    /// The database window's New command. When the user cancels its "Save Changes?"
    /// question, it calls markCancel() on the search window before it returns.
    virtual void NEWLIST() = 0;
    /// Opens `path` as a found file, the steps after New: the grid hidden, the progress frame
    /// "Open Database...", the file read, the recent list taking `fileName` as the name it
    /// shows, row 1 column 1 selected, the title "Database [ " + fileName + " ]", editing
    /// enabled, the dirty flag "0". The search window empties the Temp folder afterwards.
    virtual void openFoundFile(const QString& path, const QString& fileName) = 0;
};
