#pragma once

#include <QtGlobal>

/// The format the window's Bold, Italic and Underline buttons and its colour swatch show:
/// the current cell's, as last mirrored, or as a command set it.
struct ShownFormat {
    bool bold = false;
    bool italic = false;
    bool underlined = false;
    /// 0x00BBGGRR.
    qint32 color = 0;

    friend bool operator==(const ShownFormat&, const ShownFormat&) = default;
};

/// The database window as its commands see it: the values it keeps around the grid and the
/// few things a command asks of its controls. The window implements it; tests give a plain
/// stand-in.
class DatabaseWindowState {
public:
    virtual ~DatabaseWindowState() = default;

    /// ActiveColumn as a number, at least 1.
    virtual int activeColumnNumber() const = 0;
    /// Sets the dirty flag lblChangeStatus to "1".
    virtual void markDirty() = 0;

    virtual ShownFormat shownFormat() const = 0;
    virtual void showFormat(const ShownFormat& format) = 0;

    /// Empties the edit bar without touching any cell.
    virtual void clearEditBar() = 0;
    /// Moves the focus to the Undo button and then back to the grid.
    virtual void focusUndoThenGrid() = 0;
};
