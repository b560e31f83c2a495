#include "ui/database/commands/JournalCommands.h"

#include "gridview/List.h"
#include "platform/Platform.h"
#include "ui/database/commands/DatabaseWindowState.h"

JournalCommands::JournalCommands(List& list, Platform& platform, DatabaseWindowState& window)
    : m_list(list), m_platform(platform), m_window(window) {}

void JournalCommands::undo() {
    if (!m_list.undo()) {
        m_platform.messageBox({.text = QStringLiteral("Cant undo!")});
    }
    m_window.focusUndoThenGrid();
}

void JournalCommands::redo() {
    if (!m_list.redo()) {
        m_platform.messageBox({.text = QStringLiteral("Cant redo!")});
    }
}
