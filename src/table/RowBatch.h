#pragma once

#include "table/RowArena.h"

#include <QtGlobal>

#include <vector>

class RowBlock;
class RowDraft;

/// Rows packed apart from any table, by a reader working on a thread of its own: each row as
/// the cells its lines set, in the batch's own arena, until the table installs them all at
/// once (Table::installRows) on the thread that owns it. Rows are kept in the order they were
/// stored, so a row stored twice is installed as the later cells written over the earlier.
class RowBatch final {
public:
    struct Entry {
        int row;
        /// Bit k set: the lines set slot k + 1. Other slots of the block are default cells
        /// that must not replace what the table's row holds there.
        quint32 setSlots;
        /// nullptr when every slot the lines set holds a default cell.
        RowBlock* block;
    };

    RowBatch() = default;
    Q_DISABLE_COPY_MOVE(RowBatch)

    /// Packs the draft's cells as row `row`'s next cells, in the batch's arena.
    void setCells(int row, const RowDraft& cells);

    const std::vector<Entry>& entries() const { return m_entries; }
    /// The arena the rows lie in, for the table to adopt or lend memory to.
    RowArena& arena() { return m_arena; }
    /// Forgets the entries once the table has taken their blocks (and the arena).
    void clear() { m_entries.clear(); }

private:
    RowArena m_arena;
    std::vector<Entry> m_entries;
};
