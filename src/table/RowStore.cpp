#include "table/RowStore.h"

#include "table/RowBatch.h"
#include "table/RowBlock.h"
#include "table/RowDraft.h"

#include <utility>

// The arena frees every block at once.
RowStore::~RowStore() = default;

void RowStore::releaseFrom(qsizetype index) {
    for (auto at = m_rows.begin() + index; at != m_rows.end(); ++at) {
        RowBlock::release(m_arena, *at);
    }
    m_rows.resize(size_t(index));
}

void RowStore::flush() const {
    if (!m_openRow) {
        return;
    }
    RowBlock*& handle = m_rows[size_t(m_openRow - 1)];
    RowBlock* packed = m_open.pack(m_arena);
    RowBlock::release(m_arena, handle);
    handle = packed;
    m_openRow = 0;
}

void RowStore::reset(int count) {
    m_openRow = 0;
    // The handles' room is kept along with the arena's slabs: the table is about to be filled
    // anew, most often to a similar size.
    m_rows.assign(size_t(count), nullptr);
    m_aside.clear();
    m_arena.releaseAll();
}

void RowStore::resize(int count) {
    flush();
    if (count < this->count()) {
        releaseFrom(count);
    } else {
        m_rows.resize(size_t(count), nullptr);
    }
}

void RowStore::insertEmpty(int row) {
    flush();
    m_rows.insert(m_rows.begin() + (row - 1), nullptr);
}

void RowStore::remove(int row) {
    flush();
    RowBlock::release(m_arena, m_rows[size_t(row - 1)]);
    m_rows.erase(m_rows.begin() + (row - 1));
}

CellRef RowStore::cell(int row, int column) const {
    if (row == m_openRow) {
        return m_open.cell(column);
    }
    const RowBlock* b = m_rows[size_t(row - 1)];
    if (!b || column > b->slotCount()) {
        return CellRef{};
    }
    return RowBlock::cellOf(b->text(column), b->flags(column), b->color(column));
}

void RowStore::apply(int row, const RowDraft& draft) {
    RowBlock*& handle = m_rows[size_t(row - 1)];
    if (row != m_openRow && !handle) {
        handle = draft.pack(m_arena);
        return;
    }
    draft.writeInto(edit(row));
}

void RowStore::install(RowBatch& batch) {
    flush();
    // Adopting first makes every block of the batch one of this store's, so a failure below
    // leaves nothing behind that the store would not give back.
    m_arena.adopt(batch.arena());
    for (const RowBatch::Entry& entry : batch.entries()) {
        RowBlock*& handle = m_rows[size_t(entry.row - 1)];
        // A row the table holds nothing for is the batch's block as it is: its unset slots are
        // default cells either way.
        if (!handle) {
            handle = entry.block;
            continue;
        }
        RowBuilder& row = edit(entry.row);
        const RowBlock* from = entry.block;
        for (quint32 set = entry.setSlots; set; set &= set - 1) {
            const int slot = __builtin_ctz(set) + 1;
            if (from && slot <= from->slotCount()) {
                row.setCell(slot, from->text(slot), from->flags(slot), from->color(slot));
            } else {
                row.setCell(slot, QStringView(), 0, 0);
            }
        }
        flush();
        RowBlock::release(m_arena, entry.block);
    }
    batch.clear();
}

void RowStore::lend(RowBatch& batch, qint64 keepBytes) {
    m_arena.lend(batch.arena(), qsizetype(keepBytes / RowArena::SlabBytes) + 1);
}

RowBuilder& RowStore::edit(int row) {
    if (row != m_openRow) {
        flush();
        m_open.load(m_rows[size_t(row - 1)]);
        m_openRow = row;
    }
    return m_open;
}

void RowStore::setCell(int row, int column, const CellRef& value) {
    if (row != m_openRow && !value.Text.isEmpty() && m_open.holds(value.Text)) {
        // Opening the row reuses the buffer the text lives in.
        const QString copy = value.Text.toString();
        CellRef owned = value;
        owned.Text = copy;
        edit(row).setCell(column, owned);
        return;
    }
    edit(row).setCell(column, value);
}

void RowStore::setText(int row, int column, QStringView text) {
    CellRef value = cell(row, column);
    value.Text = text;
    setCell(row, column, value);
}

const RowBlock* RowStore::block(int row) const {
    if (row == m_openRow) {
        flush();
    }
    return m_rows[size_t(row - 1)];
}

void RowStore::setAside() {
    flush();
    dropAside();
    m_aside.swap(m_rows);
    m_rows.assign(1, nullptr);
}

void RowStore::restoreAside() {
    m_openRow = 0;
    releaseFrom(0);
    m_rows.swap(m_aside);
}

void RowStore::adoptAside(int row) {
    RowBlock*& set = m_aside[size_t(row - 1)];
    Q_ASSERT(row != m_openRow && !m_rows[size_t(row - 1)]);
    m_rows[size_t(row - 1)] = std::exchange(set, nullptr);
}

void RowStore::dropAside() {
    for (RowBlock* block : m_aside) {
        RowBlock::release(m_arena, block);
    }
    m_aside.clear();
}

template <typename Change> void RowStore::changeRowsReaching(int slot, Change change) {
    flush();
    RowBuilder builder;
    for (RowBlock*& handle : m_rows) {
        // A row whose stored slots end before `slot` holds only default cells from there on,
        // which every column shift leaves as they are.
        if (!handle || handle->slotCount() < slot) {
            continue;
        }
        builder.load(handle);
        change(builder);
        RowBlock* packed = builder.pack(m_arena);
        RowBlock::release(m_arena, handle);
        handle = packed;
    }
}

void RowStore::insertSlot(int first, int last) {
    changeRowsReaching(first, [&](RowBuilder& row) { row.insertSlot(first, last); });
}

void RowStore::removeSlot(int first, int last) {
    changeRowsReaching(first, [&](RowBuilder& row) { row.removeSlot(first, last); });
}
