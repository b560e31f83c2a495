#include "table/Table.h"

#include "table/JournalRecords.h"
#include "table/JournalTags.h"
#include "table/RecordReader.h"
#include "table/RowDraft.h"
#include "table/TableView.h"

#include <QScopedValueRollback>

#include <algorithm>

namespace {

QString takeFront(std::deque<QString>& store) {
    QString entry = std::move(store.front());
    store.pop_front();
    return entry;
}

} // namespace

bool Table::undo(int Number) {
    return replay(true, Number);
}

bool Table::redo(int Number) {
    return replay(false, Number);
}

bool Table::replay(bool undoing, int number) {
    std::deque<QString>& store = undoing ? m_undo : m_redo;
    if (store.empty()) {
        return false;
    }
    bool& routing = undoing ? m_undoing : m_redoing;
    routing = true;
    m_doNotRender = true;
    // The limit counts records, a group with all of its records, while a group is one step.
    const qsizetype steps = std::min<qsizetype>(std::max(number, 1), qsizetype(store.size()));
    for (qsizetype i = 0; i < steps && !store.empty(); ++i) {
        replayStep(store);
    }
    routing = false;
    m_doNotRender = false;
    // Some records restore rows without a public edit; a replayed step is a change however it
    // was made.
    changed();
    render(-1);
    m_view->SetScrollers();
    return true;
}

void Table::replayStep(std::deque<QString>& store) {
    // The record leaves its store before it is acted on, so whatever the action writes can
    // never be mistaken for it.
    const QString entry = takeFront(store);
    const QStringView tag = QStringView(entry).left(JournalTags::Length);
    const QStringView payload = QStringView(entry).mid(JournalTags::Length);
    RecordReader reader(payload);
    namespace T = JournalTags;

    qint32 f[3] = {};
    if (tag == T::SetText) {
        replayCellText(payload);
    } else if (tag == T::SetBold || tag == T::SetItalic || tag == T::SetUnderlined) {
        if (reader.numbers(f, 3)) {
            const bool old = f[2] == 0; // the record holds the negation of the old flag
            if (tag == T::SetBold) {
                SetBold(f[0], f[1], old);
            } else if (tag == T::SetItalic) {
                SetItallic(f[0], f[1], old);
            } else {
                SetUnderlined(f[0], f[1], old);
            }
        }
    } else if (tag == T::SetColor) {
        if (reader.numbers(f, 3)) {
            SetColor(f[0], f[1], f[2]);
        }
    } else if (tag == T::SetWidth) {
        if (reader.numbers(f, 2)) {
            LetWidthColumn(f[0], f[1]);
        }
    } else if (tag == T::SetCaption) {
        if (reader.number(f[0]) && reader.skip(u"|")) {
            SetColumnHeader(f[0], reader.rest().toString());
        }
    } else if (tag == T::AddRow) {
        if (reader.number(f[0])) {
            RemoveItem(f[0], false);
        }
    } else if (tag == T::RemoveRow) {
        replayRemovedRow(payload);
    } else if (tag == T::AddRows && m_undoing) {
        replayCutRows(payload);
    } else if (tag == T::RemoveRows && m_redoing) {
        if (reader.number(f[0])) {
            AddMoreThanOneRow(f[0]);
        }
    } else if (tag == T::ClearStart && m_undoing) {
        replayClearGroup(payload, store);
    } else if (tag == T::ClearAgain && m_redoing) {
        Clear();
    } else if (tag == T::AddColumn) {
        replayAddedColumn(payload);
    } else if (tag == T::RemoveColumnStart && m_undoing) {
        replayColumnGroup(payload, store);
    } else if (tag == T::RemoveColumnAgain && m_redoing) {
        if (reader.number(f[0])) {
            RemoveColumn(f[0]);
        }
    }
    // Any other tag, or an empty record, is dropped.
}

void Table::replayCellText(QStringView payload) {
    RecordReader reader(payload);
    qint32 cell[2] = {};
    if (!reader.numbers(cell, 2) || !reader.skip(u"|") || !inRange(cell[0], cell[1])) {
        return;
    }
    const QStringView text = reader.rest();
    // Row and column are copied as they stand in the record.
    const QStringView head = payload.left(payload.size() - text.size());
    const QStringView old = m_rows.cell(cell[0], cell[1]).Text;
    QString reverse;
    reverse.reserve(JournalTags::Length + head.size() + old.size());
    reverse.append(JournalTags::SetText).append(head).append(old);
    m_rows.setText(cell[0], cell[1], text);
    if (m_undoing) {
        m_redo.push_front(std::move(reverse));
    } else {
        pushUndoKeepRedo(std::move(reverse));
    }
}

void Table::replayRemovedRow(QStringView payload) {
    RecordReader reader(payload);
    qint32 row = 0;
    if (!reader.rowHead(row) || row < 1) {
        return;
    }
    const int inserted = AddRow(QString(), row);
    RowDraft draft;
    restoreParts(reader, inserted, draft);
}

void Table::restoreParts(RecordReader& reader, int row, RowDraft& draft) {
    // The parts that parse are kept even when a later one does not.
    draft.clear();
    reader.cellParts(draft);
    m_rows.apply(row, draft);
}

void Table::restoreRow(QStringView record, RowDraft& draft) {
    RecordReader reader(record);
    qint32 row = 0;
    if (reader.rowHead(row) && isRow(row)) {
        restoreParts(reader, row, draft);
    }
}

void Table::replayCutRows(QStringView payload) {
    RecordReader reader(payload);
    qint32 count = 0;
    // The rows were appended to at least one row; anything else is not this table's record.
    if (!reader.number(count) || count < 1 || count >= ListCount()) {
        return;
    }
    m_rows.resize(ListCount() - count);
    m_view->FitNumberColumn();
    m_redo.push_front(JournalRecords::tagged(JournalTags::RemoveRows, {count}));
}

void Table::replayClearGroup(QStringView payload, std::deque<QString>& store) {
    RecordReader head(payload);
    qint32 rows = 0;
    if (!head.number(rows) || rows < 1 || qsizetype(store.size()) < qsizetype(rows) + 1) {
        return;
    }
    // The rows of this very group, still aside as the clear left them, come back without
    // their records being read, where the record holds the whole row and the row is empty.
    const bool aside = m_clearedGroup == payload.utf16() && m_rows.asideCount() == rows;
    m_clearedGroup = nullptr;
    m_rows.resize(rows);
    m_view->FitNumberColumn();
    // The records are read where they lie and each is dropped as soon as its row is back;
    // their emptied places go in one step.
    const auto records = store.begin();
    const auto end = records + rows;
    constexpr int Ahead = 8;
    auto ahead = records + std::min(rows, Ahead);
    RowDraft draft;
    int row = 1;
    for (auto at = records; at != end; ++at, ++row) {
        if (aside && m_clearedWhole[size_t(row - 1)] && !m_rows.block(row)) {
            m_rows.adoptAside(row);
        } else {
            // Asking for the record a few rows ahead hides the wait for memory that reading it
            // would otherwise start.
            for (; ahead != end && ahead - at < Ahead; ++ahead) {
                const char* bytes = reinterpret_cast<const char*>(ahead->constData());
                for (qsizetype byte = 0; byte < ahead->size() * 2; byte += 64) {
                    __builtin_prefetch(bytes + byte);
                }
            }
            restoreRow(*at, draft);
        }
        *at = QString();
    }
    m_rows.dropAside();
    store.erase(records, end + 1); // and the end marker
    m_redo.push_front(JournalTags::ClearAgain.toString());
}

void Table::replayAddedColumn(QStringView payload) {
    RecordReader reader(payload);
    qint32 column = 0;
    if (!reader.number(column)) {
        return;
    }
    if (reader.atEnd()) {
        // The short form, written by AddColumn, is only undone. Removing the last column would
        // clear the table instead, so such a record is not acted on.
        if (!m_undoing || !isColumn(column) || ColumnCount() < 2) {
            return;
        }
        const Column& removed = m_columns[size_t(column - 1)];
        m_redo.push_front(JournalRecords::columnHead(JournalTags::AddColumn, column,
                                                     removed.caption, removed.width));
        const QScopedValueRollback replaying(m_columnReplay, true);
        RemoveColumn(column);
        return;
    }
    RecordReader longForm(payload);
    QStringView caption;
    qint32 width = 0;
    if (m_redoing && longForm.columnHead(column, caption, width)) {
        AddColumn(column, width, caption.toString());
    }
}

void Table::replayColumnGroup(QStringView payload, std::deque<QString>& store) {
    const int rows = ListCount();
    RecordReader head(payload);
    qint32 column = 0;
    QStringView caption;
    qint32 width = 0;
    const bool restore = head.columnHead(column, caption, width) && column >= 1 &&
                         column <= ColumnCount() + 1 && ColumnCount() < MaxColumns;
    if (restore) {
        {
            const QScopedValueRollback replaying(m_columnReplay, true);
            AddColumn(column, width, caption.toString());
        }
        // AddColumn widens a narrow column to its minimum; the removed width comes back as it was.
        m_columns[size_t(column - 1)].width = std::max(width, 0);
    }
    const qsizetype cells = std::min<qsizetype>(rows, qsizetype(store.size()));
    for (qsizetype i = 1; i <= cells; ++i) {
        const QString entry = takeFront(store);
        if (restore && !entry.isEmpty()) {
            RecordReader reader(entry);
            reader.cell(m_rows.edit(int(i)), column);
        }
    }
    if (!store.empty()) {
        store.pop_front(); // the end marker
    }
    if (restore) {
        m_redo.push_front(JournalRecords::tagged(JournalTags::RemoveColumnAgain, {column}));
        m_view->LayoutColumns();
        m_view->BuildHeader();
    }
}
