#include "gridview/List.h"

#include "gridview/GridColours.h"
#include "gridview/GridGeometry.h"
#include "gridview/ListHost.h"
#include "gridview/RetainedSurface.h"
#include "gridview/lblTxt.h"
#include "platform/WindowsColor.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

#include <optional>
#include <utility>

using namespace GridGeometry;

namespace {

/// What an editor's Tag says: the cell being edited and the text it had when the edit began.
struct TaggedCell {
    int row = 0;
    int column = 0;
    QString old;
};

// The Tag is row|column|text; the text may hold "|" itself.
std::optional<TaggedCell> readTag(const QString& tag) {
    const int first = int(tag.indexOf(QLatin1Char('|')));
    const int second = first < 0 ? -1 : int(tag.indexOf(QLatin1Char('|'), first + 1));
    if (second < 0) {
        return std::nullopt;
    }
    return TaggedCell{QStringView(tag).left(first).toInt(),
                      QStringView(tag).mid(first + 1, second - first - 1).toInt(),
                      tag.mid(second + 1)};
}

} // namespace

void List::ensureEditors() {
    if (m_s.editors.isEmpty()) {
        m_s.editors.append(nullptr); // no column 0
    }
    const int n = m_table.ColumnCount();
    while (m_s.editors.size() - 1 < n) {
        const int i = static_cast<int>(m_s.editors.size());
        auto* editor = new lblTxt(this);
        editor->setObjectName(QStringLiteral("lblTxt%1").arg(i));
        editor->hide();
        // Editors lie above the cell background and below the strips and bars.
        editor->stackUnder(m_s.PicSpl ? m_s.PicSpl : m_s.picCnt);
        connectEditor(editor, i);
        m_s.editors.append(editor);
    }
    while (m_s.editors.size() - 1 > n) {
        if (m_editing == m_s.editors.size() - 1) {
            endEdit();
        }
        lblTxt* editor = m_s.editors.takeLast();
        if (editor->isAncestorOf(QApplication::focusWidget()) ||
            editor == QApplication::focusWidget()) {
            m_s.PicScrV->setFocus();
        }
        delete editor;
    }
}

void List::connectEditor(lblTxt* editor, int i) {
    connect(editor, &lblTxt::GotFocus, this,
            [this, i](const QString& text, bool bold, bool italic, bool underlined, qint32 colour) {
                editorFocused(i, text, bold, italic, underlined, colour);
            });
    connect(editor, &lblTxt::ExitFocus, this, [this, i] { editorLostFocus(i); });
    connect(editor, &lblTxt::Change, this, [this, i] { editorChanged(i); });
    connect(editor, &lblTxt::KeyDown, this,
            [this, i](int& KeyCode, int& Shift) { editorKeyDown(i, KeyCode, Shift); });
    connect(editor, &lblTxt::Right, this, [this, i] { editorRight(i); });
    connect(editor, &lblTxt::Left, this, [this, i] { editorLeft(i); });
    connect(editor, &lblTxt::MouseMove, this, [this] { setPointer(Qt::ArrowCursor); });
}

bool List::editorRowShown() const {
    return m_s.editors.size() > 1 && m_s.editors[1]->isVisible();
}

void List::setColumnTint(int column, bool tinted) {
    if (column < 1 || column >= m_s.Stolpec.size()) {
        return;
    }
    const QColor wanted = tinted ? colorFromWindows(SelectedRowColor) : m_controlBackground;
    RetainedSurface* s = m_s.Stolpec[column];
    if (s->background() == wanted) {
        return;
    }
    s->setBackground(wanted);
    RenderColumn(column);
}

void List::recolourEditors(int current) {
    for (int i = 1; i < m_s.editors.size(); ++i) {
        m_s.editors[i]->setBackColor(i == current ? SelectedColor : SelectedRowColor);
        setColumnTint(i, i == current);
    }
}

void List::SelectItem(int Index, int Button, int iX) {
    m_s.PicScrV->setFocus();
    // Ended here too for a window that is not active, where the focus move sends no event.
    endEdit();
    if (Button != 1) {
        return;
    }
    // A row before the first is no row: nothing is current, and Enter means nothing.
    if (Index < 1) {
        HideEditors();
        m_table.setISelected(0);
        return;
    }
    if (Index > m_table.ListCount()) {
        HideEditors();
        return;
    }
    if (Index != m_table.iSelected()) {
        HideEditors();
    }
    m_table.setISelected(Index);
    ensureEditors();
    ensureRowMark();

    const int y = HeaderHeight + (Index - 1) * RowPixels + m_topOffset + 1;
    const std::vector<int> widths = columnWidths();
    const std::vector<int> lefts = GridGeometry::columnLefts(widths);
    const int n = std::min<int>(m_table.ColumnCount(), m_s.editors.size() - 1);
    for (int i = 1; i <= n; ++i) {
        lblTxt* editor = m_s.editors[i];
        const auto k = static_cast<std::size_t>(i - 1);
        editor->setGeometry(m_left + lefts[k], y, widths[k], RowPixels - 1);
        const CellRef cell = m_table.cellAt(Index, i);
        editor->setForeColor(cell.Color);
        editor->setBold(cell.Bold);
        editor->setItallic(cell.Itallic);
        editor->setUnderlined(cell.Underlined);
        editor->setText(cell.Text.toString());
        editor->setBackColor(i == iX ? SelectedColor : SelectedRowColor);
        editor->setEnabled(m_table.columnEditable(i));
        setColumnTint(i, i == iX);
        editor->show();
    }
    m_s.picOzadje->lower();

    m_s.PicEdit->setGeometry(0, y - HeaderHeight - 1, m_s.Cnt->width(), RowPixels + 1);
    m_s.lblEdit->move(0, 0);
    m_s.lblEdit->setText(QString::number(Index));
    m_s.lblEdit->adjustSize();
    if (m_s.PicEdit->isHidden()) {
        m_s.PicEdit->show();
    }

    if (iX > 0 && iX <= n) {
        m_s.editors[iX]->Selected();
        m_s.editors[iX]->setFocus();
    }
}

void List::beginEdit(int i) {
    const int row = m_table.iSelected();
    m_editText = m_table.GetItem(row, i);
    m_s.editors[i]->setTag(QStringLiteral("%1|%2|%3").arg(row).arg(i).arg(m_editText));
    m_editing = i;
}

void List::endEdit() {
    const int i = std::exchange(m_editing, 0);
    if (i < 1 || i >= m_s.editors.size()) {
        return;
    }
    const std::optional<TaggedCell> cell = readTag(m_s.editors[i]->Tag());
    if (!cell || cell->row < 1 || cell->row > m_table.ListCount() || cell->column < 1 ||
        cell->column > m_table.ColumnCount()) {
        return; // the cell has gone: there is nothing to record, and no slot to restore into
    }
    const QString now = m_table.GetItem(cell->row, cell->column);
    // A cell that no longer holds what the editor gave it was moved or replaced under the
    // edit: its record would put the old text into another cell.
    if (now == cell->old || now != m_editText) {
        return;
    }
    // One record per finished edit, holding the text the cell had when it was entered:
    // put the old text back without a record, then let ChangeItem journal the change.
    m_table.setCellText(cell->row, cell->column, cell->old);
    m_table.ChangeItem(cell->row, cell->column, now);
}

void List::commitEdit() {
    QWidget* focused = QApplication::focusWidget();
    for (int i = 1; focused && i < m_s.editors.size(); ++i) {
        if (m_s.editors[i] == focused || m_s.editors[i]->isAncestorOf(focused)) {
            m_s.PicScrV->setFocus();
            break;
        }
    }
    endEdit();
}

void List::commitEditBeforeShift(int fromRow, int fromColumn) {
    if (m_editing < 1 || m_editing >= m_s.editors.size()) {
        return;
    }
    const std::optional<TaggedCell> cell = readTag(m_s.editors[m_editing]->Tag());
    if (cell && (cell->row < fromRow || cell->column < fromColumn)) {
        return;
    }
    // The focus leaves the editor as well: it would go on editing a cell that has moved.
    commitEdit();
}

void List::HideEditors() {
    // Leaving the editor first commits its edit while the table still matches its Tag.
    commitEdit();
    for (int i = 1; i < m_s.editors.size(); ++i) {
        m_s.editors[i]->hide();
    }
    for (int i = 1; i < m_s.Stolpec.size(); ++i) {
        setColumnTint(i, false);
    }
    if (m_s.PicEdit) {
        m_s.PicEdit->hide();
    }
}

void List::editorFocused(int i, const QString& text, bool bold, bool italic, bool underlined,
                         qint32 colour) {
    const int row = m_table.iSelected();
    // A new visit: whatever edit was still open is over.
    endEdit();
    beginEdit(i);
    m_table.setISelectedColumn(i);
    recolourEditors(i);

    // The host's edit bar and format buttons follow the focused cell.
    m_host->setEditBarText(text);
    m_host->showCellFormat(bold, italic, underlined, colour);
    COLUMNUMBER();
    m_host->setEditBarText(m_table.GetItem(row, m_host->activeColumn().toInt()));
}

void List::editorLostFocus(int i) {
    if (i == m_editing) {
        endEdit();
    }
}

void List::editorChanged(int i) {
    const int row = m_table.iSelected();
    // Only the shown editor row edits the table; a hidden editor's text is stale.
    if (!m_s.editors[i]->isVisible()) {
        return;
    }
    if (row < 1 || row > m_table.ListCount() || i > m_table.ColumnCount()) {
        return;
    }
    const QString text = m_s.editors[i]->Text();
    if (m_table.cellAt(row, i).Text == text) {
        return;
    }
    // Typing into an editor whose focus came without a visit (the window was not active when
    // it was given) still makes an edit that ends with a record.
    if (m_editing != i) {
        endEdit();
        beginEdit(i);
    }
    m_table.setCellText(row, i, text);
    m_editText = text;
    RenderColumn(i);
    // The host's edit bar shows what is typed into the cell as it is typed.
    m_host->setEditBarText(text);
}

void List::selectByPress(int x, int y) {
    if (y > HeaderHeight + contentHeight() || y <= HeaderHeight) {
        return;
    }
    const std::vector<int> widths = columnWidths();
    const int column = columnAt(x, m_left, GridGeometry::columnLefts(widths), widths);
    m_table.setISelectedColumn(column);
    SelectItem(rowAt(y, m_topOffset), 1, column);
}

void List::focusLeftGrid(QWidget* now) {
    if (!now || now == this || isAncestorOf(now)) {
        return;
    }
    // A dialog or another window only borrows the focus: the edit goes on when it comes back.
    if (now->window() != window()) {
        return;
    }
    endEdit();
    if (editorRowShown()) {
        HideEditors();
    }
}

void List::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint p = event->position().toPoint();
    // The header's corner pieces are surfaces of their own, like the number strip below them:
    // a press there must not resize a column scrolled underneath.
    if (m_s.picTopL->geometry().contains(p) || m_s.PicTopD->geometry().contains(p)) {
        return;
    }
    if (startSplitterDrag(p.x(), p.y())) {
        return;
    }
    selectByPress(p.x(), p.y());
}

void List::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (splitterShown() && (event->buttons() & Qt::LeftButton)) {
        dragSplitter(p.x());
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        hover(p.x(), p.y());
    }
}

void List::mouseReleaseEvent(QMouseEvent*) {
    if (splitterShown()) {
        endSplitterDrag();
    }
}

bool List::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    const bool mouse = t == QEvent::MouseButtonPress || t == QEvent::MouseMove ||
                       t == QEvent::MouseButtonRelease || t == QEvent::MouseButtonDblClick;
    if (!mouse) {
        return QWidget::eventFilter(watched, event);
    }
    // A double click's second press has already been handled as a press; passed on, the
    // double click would reach the grid as a press on a cell.
    if ((watched == m_s.PicScrV || watched == m_s.PicScrH) && t == QEvent::MouseButtonDblClick) {
        return true;
    }
    if (watched == m_s.PicScrV) {
        return trackEvent(event, Qt::Vertical);
    }
    if (watched == m_s.PicScrH) {
        return trackEvent(event, Qt::Horizontal);
    }
    if (watched == m_s.PicKot) {
        if (t == QEvent::MouseMove) {
            setPointer(Qt::ArrowCursor);
        }
        return true;
    }
    if (watched == m_s.PicSpl) {
        if (t == QEvent::MouseButtonPress) {
            m_table.setISelectedColumn(1);
        }
        return true;
    }
    if (watched == m_s.picCnt) {
        if (t == QEvent::MouseMove) {
            setPointer(Qt::ArrowCursor);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
