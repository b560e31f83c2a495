#include "ui/database/commands/RecordCommands.h"

#include "gridview/List.h"
#include "ui/database/commands/DatabaseWindowState.h"

RecordCommands::RecordCommands(List& list, DatabaseWindowState& window)
    : m_list(list), m_window(window) {}

bool RecordCommands::DODARED() {
    if (m_list.ListCount() > MaxRecordsForAdd) {
        return false;
    }
    m_window.markDirty();
    m_list.AddRow(QString(), m_list.ListCount() + 1);
    return true;
}

void RecordCommands::addRecord() {
    if (DODARED()) {
        m_window.focusUndoThenGrid();
    }
}

void RecordCommands::insertRecord() {
    m_window.markDirty();
    m_list.AddRow(QString(), m_list.iSelected());
    m_list.RenderColumn(1);
    m_window.focusUndoThenGrid();
}

void RecordCommands::deleteRecord() {
    m_list.RemoveItem(m_list.iSelected());
    m_window.markDirty();
    // Forward and back again: the row at the same place, now the next record, is selected
    // afresh with its editors.
    m_list.SelectItem(m_list.iSelected() + 1, 1);
    m_list.SelectItem(m_list.iSelected() - 1, 1);
}
