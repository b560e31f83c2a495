#include "ui/database/commands/FormatCommands.h"

#include "gridview/List.h"
#include "platform/Platform.h"
#include "text/LineBreaks.h"

FormatCommands::FormatCommands(List& list, Platform& platform, DatabaseWindowState& window,
                               qint32 buttonFace)
    : m_list(list), m_platform(platform), m_window(window) {
    m_copied.color = buttonFace;
}

void FormatCommands::toggleBold() {
    toggle(Flag::Bold);
}

void FormatCommands::toggleItalic() {
    toggle(Flag::Italic);
}

void FormatCommands::toggleUnderline() {
    toggle(Flag::Underline);
}

void FormatCommands::toggle(Flag flag) {
    ShownFormat shown = m_window.shownFormat();
    const bool on = flag == Flag::Bold     ? shown.bold
                    : flag == Flag::Italic ? shown.italic
                                           : shown.underlined;
    setFlag(shown, flag, !on);
    m_window.showFormat(shown);
}

void FormatCommands::setFlag(ShownFormat& shown, Flag flag, bool on) {
    const int row = m_list.iSelected();
    const int column = m_window.activeColumnNumber();
    switch (flag) {
    case Flag::Bold:
        m_list.SetBold(row, column, on);
        shown.bold = on;
        break;
    case Flag::Italic:
        m_list.SetItallic(row, column, on);
        shown.italic = on;
        break;
    case Flag::Underline:
        m_list.SetUnderlined(row, column, on);
        shown.underlined = on;
        break;
    }
}

void FormatCommands::chooseColor() {
    const std::optional<qint32> chosen = m_platform.colorDialog(m_lastChosenColor);
    if (!chosen) {
        return;
    }
    m_lastChosenColor = *chosen;
    ShownFormat shown = m_window.shownFormat();
    shown.color = *chosen;
    m_window.showFormat(shown);
    m_list.SetColor(m_list.iSelected(), m_window.activeColumnNumber(), *chosen);
}

void FormatCommands::copy() {
    m_list.COLUMNUMBER();
    const QString text = m_list.GetItem(m_list.iSelected(), m_window.activeColumnNumber());
    if (!text.isEmpty()) {
        m_platform.setClipboardText(text);
    }
    m_copied = m_window.shownFormat();
}

void FormatCommands::paste() {
    m_list.COLUMNUMBER();
    ShownFormat shown = m_window.shownFormat();
    // A flag the copied format lacks leaves the cell's own as it is.
    if (m_copied.bold) {
        setFlag(shown, Flag::Bold, true);
    }
    if (m_copied.italic) {
        setFlag(shown, Flag::Italic, true);
    }
    if (m_copied.underlined) {
        setFlag(shown, Flag::Underline, true);
    }
    shown.color = m_copied.color;
    m_window.showFormat(shown);
    const int row = m_list.iSelected();
    const int column = m_window.activeColumnNumber();
    m_list.SetColor(row, column, m_copied.color);
    // Text copied elsewhere may hold line breaks; a cell is one line.
    const QString text = LineBreaks::joined(m_platform.clipboardText());
    if (!text.isEmpty()) {
        m_list.ChangeItem(row, column, text);
    }
}
