#include "gridview/List.h"

#include "gridview/GridGeometry.h"
#include "gridview/ListHost.h"
#include "gridview/WindowsInput.h"
#include "gridview/lblTxt.h"

#include <QKeyEvent>

using namespace GridGeometry;

namespace {
enum VbKey { KeyEnter = 13, KeyUp = 38, KeyDown_ = 40, KeyInsert = 45, KeyDelete = 46 };
constexpr int CtrlMask = 2;

} // namespace

void List::editorKeyDown(int i, int& KeyCode, int Shift) {
    if (KeyCode == KeyDown_ && m_table.iSelected() == m_table.ListCount()) {
        m_host->DODARED();
    }

    const int sel = m_table.iSelected();
    switch (KeyCode) {
    case KeyUp:
        if (sel > 1) {
            SelectItem(sel - 1, 1, i);
        }
        break;
    case KeyDown_:
        if (sel > 0 && sel < m_table.ListCount()) {
            SelectItem(sel + 1, 1, i);
        }
        break;
    case KeyInsert:
        if (Shift == CtrlMask) {
            // The current record moves down under the edit in progress: the edit is committed
            // first, so its record names the row it was made in.
            commitEdit();
            m_table.AddRow(QString(), sel);
            SelectItem(sel, 1, i);
        } else {
            // The new record goes below and the edited row stays put: the edit ends as the
            // editor row moves down, after the new record's entry, so the first undo takes
            // back the typing.
            m_table.AddRow(QString(), sel + 1);
            SelectItem(sel + 1, 1, i);
        }
        RenderColumn(-1);
        m_s.picOzadje->update();
        // The key was the grid's: the edit box, now on the new record, must not take it as
        // well (Shift+Insert would paste into the new record).
        KeyCode = 0;
        break;
    case KeyDelete:
        if (Shift == CtrlMask) {
            HideEditors();
            m_table.RemoveItem(sel, false);
            RenderColumn(-1);
            update();
            emit KeyDown(KeyCode, Shift, m_table.iSelected(), i);
        }
        break;
    default:
        break;
    }
    keepRowInView(i);
}

void List::keepRowInView(int i) {
    const int sel = m_table.iSelected();
    if (sel < 1 || sel > m_table.ListCount()) {
        return;
    }
    const std::optional<int> offset = topOffsetToShowRow(areaHeight(), m_topOffset, sel);
    if (!offset) {
        return;
    }
    m_topOffset = *offset;
    RenderColumn(-1);
    SelectItem(sel, 1, i);
    SetScrollers();
    update();
}

void List::editorRight(int i) {
    const int n = m_table.ColumnCount();
    if (i >= n) {
        if (m_table.iSelected() < m_table.ListCount()) {
            SelectItem(m_table.iSelected() + 1, 1, 1);
            m_table.setISelectedColumn(1);
        }
    } else {
        m_s.editors[i + 1]->setFocus();
        m_table.setISelectedColumn(i + 1);
    }
    recolourEditors(m_table.iSelectedColumn());
    keepColumnInView(m_table.iSelectedColumn());
}

void List::editorLeft(int i) {
    if (i > 1) {
        m_s.editors[i - 1]->setFocus();
        m_table.setISelectedColumn(i - 1);
    } else if (m_table.iSelected() > 1) {
        const int n = m_table.ColumnCount();
        SelectItem(m_table.iSelected() - 1, 1, n);
        m_table.setISelectedColumn(n);
    }
    recolourEditors(m_table.iSelectedColumn());
    keepColumnInView(m_table.iSelectedColumn());
}

void List::keepColumnInView(int column) {
    const std::vector<int> widths = columnWidths();
    if (column < 1 || column > static_cast<int>(widths.size())) {
        return;
    }
    const auto k = static_cast<std::size_t>(column - 1);
    const std::optional<int> L =
        leftToShowColumn(width(), m_strip, m_left, GridGeometry::columnLefts(widths)[k], widths[k]);
    if (!L) {
        return;
    }
    moveContentTo(*L);
    SelectItem(m_table.iSelected(), 1, column);
    SetScrollers();
}

void List::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_table.iSelected() != 0) {
        emit KeyDown(KeyEnter, windowsShiftMask(event->modifiers()), m_table.iSelected(),
                     m_table.iSelectedColumn());
        return;
    }
    QWidget::keyPressEvent(event);
}
