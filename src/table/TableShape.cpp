#include "table/Table.h"

#include "table/JournalRecords.h"
#include "table/JournalTags.h"
#include "table/RowBlock.h"
#include "table/TableView.h"

#include <limits>

template <typename RowRecord>
void Table::pushGroup(QString head, int rows, RowRecord rowRecord, QString end) {
    // Made in place, in row order, which is the order undo reads the records back in and so the
    // order they should lie in memory; the older records stay where they are.
    const qsizetype count = qsizetype(rows) + 2;
    m_undo.insert(m_undo.begin(), size_t(count), QString());
    const auto first = m_undo.begin();
    *first = std::move(head);
    m_groupTexts.beginGroup();
    try {
        auto at = first;
        for (int i = 1; i <= rows; ++i) {
            *++at = rowRecord(i);
        }
    } catch (...) {
        m_undo.erase(first, first + count);
        m_groupTexts.endGroup();
        throw;
    }
    first[count - 1] = std::move(end);
    emptyRedoUnlessRedoing();
    m_groupTexts.endGroup();
}

// Rows move as whole rows: inserting or removing one moves its handle, so cells kept above
// the column count stay with the row they belong to.

int Table::AddRow(const QString& St1, int Index) {
    if (isRow(Index)) {
        m_rows.insertEmpty(Index);
    } else {
        m_rows.resize(ListCount() + 1);
        Index = ListCount();
    }
    changed();
    m_view->FitNumberColumn();
    if (!St1.isEmpty()) {
        m_rows.setText(Index, 1, St1);
    }
    record(JournalRecords::tagged(JournalTags::AddRow, {Index}));
    render(-1);
    m_view->SetScrollers();
    return Index;
}

void Table::AddMoreThanOneRow(int NumberOfRows) {
    // A count below 1 would take rows away (or leave none) without a record that restores them,
    // and one that overflows the row count would wrap it.
    if (NumberOfRows < 1 || NumberOfRows > std::numeric_limits<int>::max() - ListCount()) {
        return;
    }
    m_rows.resize(ListCount() + NumberOfRows);
    changed();
    m_view->FitNumberColumn();
    record(JournalRecords::tagged(JournalTags::AddRows, {NumberOfRows}));
    render(-1);
    m_view->SetScrollers();
    m_view->HideEditors();
}

void Table::RemoveItem(int Index, bool NeIzri) {
    if (!isRow(Index)) {
        return;
    }
    if (ListCount() == 1) {
        // The only row gives way to an empty one and leaves no trace in the journal; a new
        // edit still ends what could be redone.
        m_rows.reset(1);
        if (!m_undoing && !m_redoing) {
            m_redo.clear();
        }
    } else {
        record(JournalRecords::removedRow(Index, m_rows.block(Index), ColumnCount()));
        m_rows.remove(Index);
    }
    changed();
    if (!NeIzri) {
        m_view->ClampTopOffsetAfterRemove();
        render(-1);
    }
    m_view->FitNumberColumn();
    m_view->SetScrollers();
}

namespace {

// Whether the clear record of the row holds all of it, so that the record's undo gives back
// exactly this block: no slot above the columns, and a text in every slot it stores.
bool wholeInClearRecord(const RowBlock* block, int columns) {
    if (!block || block->slotCount() > columns) {
        return false;
    }
    const quint32* ends = block->ends();
    quint32 begin = 0;
    for (int k = 0; k < block->slotCount(); ++k) {
        if (ends[k] == begin) {
            return false;
        }
        begin = ends[k];
    }
    return true;
}

} // namespace

void Table::Clear() {
    // The rows go aside as they are and the records are made from them there. The undo of this
    // group takes back every row that its record holds whole instead of reading the record;
    // should making a record fail, the rows come back and nothing has changed.
    const int rows = ListCount();
    const int columns = ColumnCount();
    m_rows.setAside();
    m_clearedGroup = nullptr;
    m_clearedWhole.assign(size_t(rows), false);
    try {
        pushGroup(
            JournalRecords::tagged(JournalTags::ClearStart, {rows}), rows,
            [&](int j) {
                const RowBlock* block = m_rows.aside(j);
                m_clearedWhole[size_t(j - 1)] = wholeInClearRecord(block, columns);
                return JournalRecords::clearedRow(m_groupTexts, j, block, columns);
            },
            JournalTags::ClearEnd.toString());
    } catch (...) {
        m_rows.restoreAside();
        throw;
    }
    m_clearedGroup = QStringView(m_undo.front()).mid(JournalTags::Length).utf16();

    changed();
    m_view->FitNumberColumn();
    m_view->ResetTopOffset();
    render(-1);
    m_view->SetScrollers();
}

void Table::dropClearedRows() {
    m_clearedGroup = nullptr;
    m_rows.dropAside();
}

void Table::ClearEntireList() {
    m_columns.resize(1);
    m_clearedGroup = nullptr;
    m_rows.reset(1);
    m_undo.clear();
    m_redo.clear();
    m_groupTexts.releaseUnused();
    changed();
    m_view->LayoutColumns();
    m_view->BuildHeader();
    m_view->FitNumberColumn();
    m_view->ResetTopOffset();
    m_view->ScrollFullyLeft();
    m_view->SetScrollers();
}

int Table::AddColumn(int Index, int Width, const QString& HeaderTitle) {
    Width = std::max(Width, int(MinNewColumnWidth));
    const int columns = ColumnCount();
    if (Index != 0) {
        if (Index < 1 || Index > columns + 1 || columns >= MaxColumns) {
            return Index;
        }
        // The slot that becomes the new last column is overwritten by the shift.
        m_rows.insertSlot(Index, columns + 1);
        const bool editable = Index > 1 ? m_columns[size_t(Index - 2)].editable : true;
        m_columns.insert(m_columns.begin() + (Index - 1), Column{HeaderTitle, Width, editable});
        m_view->LayoutColumns();
        for (int k = Index; k <= columns + 1; ++k) {
            render(k);
        }
    } else {
        Index = columns + 1;
        if (Index > MaxColumns) {
            return Index;
        }
        // The slots of the new column are taken as they are: a removed column leaves its slot
        // default, and a reader may have kept cells there.
        m_columns.push_back(Column{HeaderTitle, Width, true});
        m_view->LayoutColumns();
        render(Index);
    }
    changed();
    render(-2);
    m_view->BuildHeader();
    m_view->SetScrollers();
    if (!m_columnReplay && !m_undoing) {
        record(JournalRecords::tagged(JournalTags::AddColumn, {Index}));
    }
    return Index;
}

void Table::RemoveColumn(int Index) {
    const int columns = ColumnCount();
    if (columns < 2) {
        Clear();
        return;
    }
    if (Index < 1 || Index > columns) {
        return;
    }
    if (!m_columnReplay) {
        const Column& column = m_columns[size_t(Index - 1)];
        pushGroup(
            JournalRecords::columnHead(JournalTags::RemoveColumnStart, Index, column.caption,
                                       column.width),
            ListCount(),
            [&](int i) { return JournalRecords::columnCell(m_groupTexts, m_rows.cell(i, Index)); },
            JournalRecords::tagged(JournalTags::RemoveColumnEnd, {Index}));
    }
    m_rows.removeSlot(Index, columns);
    m_columns.erase(m_columns.begin() + (Index - 1));
    changed();
    m_view->LayoutColumns();
    render(-1);
    m_view->BuildHeader();
    m_view->SetScrollers();
}
