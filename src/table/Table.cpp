#include "table/Table.h"

#include "table/JournalRecords.h"
#include "table/JournalTags.h"
#include "table/RowBlock.h"
#include "table/TableView.h"

namespace {

// Stands in for a missing view, so that every request can be made unconditionally.
TableView& noView() {
    static TableView view;
    return view;
}

} // namespace

Table::Table() : m_view(&noView()) {
    m_columns.push_back(Column{});
    m_rows.reset(1);
}

Table::~Table() = default;

void Table::setView(TableView* view) {
    m_view = view ? view : &noView();
}

// --- state ---------------------------------------------------------------------------------

int Table::ListCount() const {
    return m_rows.count();
}

int Table::ColumnCount() const {
    return int(m_columns.size());
}

int Table::iSelected() const {
    return m_iSelected;
}

int Table::iSelectedColumn() const {
    return m_iSelectedColumn;
}

void Table::setISelected(int row) {
    m_iSelected = row;
}

void Table::setISelectedColumn(int column) {
    m_iSelectedColumn = column;
}

bool Table::DoNotRender() const {
    return m_doNotRender;
}

void Table::render(int stol) {
    if (!m_doNotRender) {
        m_view->RenderColumn(stol);
    }
}

void Table::changed() {
    m_view->TableChanged();
}

// --- journal routing -----------------------------------------------------------------------

void Table::record(QString entry) {
    if (m_undoing) {
        m_redo.push_front(std::move(entry));
        return;
    }
    m_undo.push_front(std::move(entry));
    emptyRedoUnlessRedoing();
}

void Table::recordEdit(QString entry) {
    m_undo.push_front(std::move(entry));
    m_redo.clear();
}

void Table::pushUndoKeepRedo(QString entry) {
    m_undo.push_front(std::move(entry));
}

void Table::emptyRedoUnlessRedoing() {
    if (!m_redoing) {
        m_redo.clear();
    }
}

void Table::ClearUndoRedo() {
    m_undo.clear();
    m_redo.clear();
    m_groupTexts.releaseUnused();
    dropClearedRows();
}

const std::deque<QString>& Table::UndoStore() const {
    return m_undo;
}

const std::deque<QString>& Table::RedoStore() const {
    return m_redo;
}

// --- cells ---------------------------------------------------------------------------------

QString Table::GetItem(int line, int Colum) const {
    return inRange(line, Colum) ? m_rows.cell(line, Colum).Text.toString() : QString();
}

void Table::ChangeItem(int Row, int Column, const QString& Text) {
    if (!inRange(Row, Column)) {
        return;
    }
    recordEdit(JournalRecords::taggedText(JournalTags::SetText, {Row, Column},
                                          m_rows.cell(Row, Column).Text));
    m_rows.setText(Row, Column, Text);
    changed();
    render(Column);
}

bool Table::GetItallic(int line, int Column) const {
    return inRange(line, Column) && m_rows.cell(line, Column).Itallic;
}

bool Table::GetUnderlined(int line, int Column) const {
    return inRange(line, Column) && m_rows.cell(line, Column).Underlined;
}

qint32 Table::GetColor(int line, int Column) const {
    return inRange(line, Column) ? m_rows.cell(line, Column).Color : 0;
}

void Table::setFlag(int line, int column, quint8 flag, bool value, QStringView tag) {
    if (!inRange(line, column)) {
        return;
    }
    CellRef cell = m_rows.cell(line, column);
    bool& field = flag == RowBlock::BoldFlag     ? cell.Bold
                  : flag == RowBlock::ItalicFlag ? cell.Itallic
                                                 : cell.Underlined;
    // The record holds the negation of the old flag in its 16-bit form: -1 for a clear flag.
    record(JournalRecords::tagged(tag, {line, column, field ? 0 : -1}));
    field = value;
    m_rows.setCell(line, column, cell);
    changed();
    render(column);
}

void Table::SetBold(int line, int Column, bool Vrednost) {
    setFlag(line, Column, RowBlock::BoldFlag, Vrednost, JournalTags::SetBold);
}

void Table::SetItallic(int line, int Column, bool Vrednost) {
    setFlag(line, Column, RowBlock::ItalicFlag, Vrednost, JournalTags::SetItalic);
}

void Table::SetUnderlined(int line, int Column, bool Vrednost) {
    setFlag(line, Column, RowBlock::UnderlinedFlag, Vrednost, JournalTags::SetUnderlined);
}

void Table::SetColor(int line, int Column, qint32 Vrednost) {
    if (!inRange(line, Column)) {
        return;
    }
    CellRef cell = m_rows.cell(line, Column);
    record(JournalRecords::tagged(JournalTags::SetColor, {line, Column, cell.Color}));
    cell.Color = Vrednost;
    m_rows.setCell(line, Column, cell);
    changed();
    render(Column);
}

// --- columns -------------------------------------------------------------------------------

QString Table::GetColumnHeader(int Index) const {
    return isColumn(Index) ? m_columns[size_t(Index - 1)].caption : QString();
}

void Table::SetColumnHeader(int Index, const QString& NovNaslov) {
    if (!isColumn(Index)) {
        return;
    }
    QString& caption = m_columns[size_t(Index - 1)].caption;
    record(JournalRecords::taggedText(JournalTags::SetCaption, {Index}, caption));
    caption = NovNaslov;
    changed();
    m_view->BuildHeader();
}

int Table::GetWidthColumn(int Index) const {
    return isColumn(Index) ? m_columns[size_t(Index - 1)].width : 0;
}

void Table::LetWidthColumn(int Index, int Width) {
    // A negative width would fold the following columns back over this one.
    Width = std::clamp(Width, 0, MaxColumnWidth);
    if (!isColumn(Index)) {
        return;
    }
    int& width = m_columns[size_t(Index - 1)].width;
    const int old = width;
    width = Width;
    changed();
    m_view->LayoutColumns();
    render(Index);
    m_view->BuildHeader();
    m_view->SetScrollers();
    record(JournalRecords::tagged(JournalTags::SetWidth, {Index, old}));
}

void Table::EnableEdit(int Stol) {
    if (isColumn(Stol)) {
        m_columns[size_t(Stol - 1)].editable = true;
    }
}

void Table::DisableEdit(int Stol) {
    if (isColumn(Stol)) {
        m_columns[size_t(Stol - 1)].editable = false;
    }
}

bool Table::columnEditable(int Stol) const {
    return isColumn(Stol) && m_columns[size_t(Stol - 1)].editable;
}

// --- direct access -------------------------------------------------------------------------

CellRef Table::cellAt(int row, int column) const {
    return isSlot(row, column) ? m_rows.cell(row, column) : CellRef{};
}

void Table::setCell(int row, int column, const CellRef& value) {
    if (isSlot(row, column)) {
        m_rows.setCell(row, column, value);
        changed();
    }
}

void Table::setCells(int row, const RowDraft& cells) {
    if (isRow(row)) {
        m_rows.apply(row, cells);
        changed();
    }
}

void Table::installRows(RowBatch& batch) {
    m_rows.install(batch);
    changed();
}

void Table::lendRowMemory(RowBatch& batch, qint64 keepBytes) {
    m_rows.lend(batch, keepBytes);
}

void Table::setCellText(int row, int column, QStringView text) {
    if (isSlot(row, column)) {
        m_rows.setText(row, column, text);
        changed();
    }
}

void Table::resetRows(int count) {
    m_clearedGroup = nullptr;
    m_rows.reset(std::max(count, 1));
    changed();
    m_view->FitNumberColumn();
}

void Table::redrawAll() {
    render(-1);
    m_view->SetScrollers();
}
