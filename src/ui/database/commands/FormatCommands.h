#pragma once

#include "ui/database/commands/DatabaseWindowState.h"

#include <QtGlobal>

class List;
class Platform;

/// The format commands of the database window: the Bold, Italic and Underline toggles, the
/// text colour, and Copy / Paste Formated Text. The copied format stays with the window; only
/// the text travels through the clipboard, as plain text.
class FormatCommands final {
public:
    /// `buttonFace` is the colour a copied format starts with (the system's button face).
    FormatCommands(List& list, Platform& platform, DatabaseWindowState& window, qint32 buttonFace);
    Q_DISABLE_COPY_MOVE(FormatCommands)

    /// Each toggle flips what its button shows and sets the current cell to match.
    void toggleBold();
    void toggleItalic();
    void toggleUnderline();
    /// Asks for a colour, starting from the one chosen last (black at first), and gives it to
    /// the swatch and the current cell. Cancelling changes nothing.
    void chooseColor();
    /// The current cell's text to the clipboard (an empty cell leaves the clipboard as it
    /// was) and the format the buttons show to the copied format.
    void copy();
    /// The copied flags that are set, the copied colour and the clipboard's text (when it has
    /// one) to the current cell.
    void paste();

    const ShownFormat& copiedFormat() const { return m_copied; }

private:
    enum class Flag { Bold, Italic, Underline };
    void toggle(Flag flag);
    /// Sets `flag` of the current cell and of what the buttons show.
    void setFlag(ShownFormat& shown, Flag flag, bool on);

    List& m_list;
    Platform& m_platform;
    DatabaseWindowState& m_window;
    ShownFormat m_copied;
    qint32 m_lastChosenColor = 0;
};
