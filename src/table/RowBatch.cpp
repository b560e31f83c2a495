#include "table/RowBatch.h"

#include "table/RowDraft.h"

void RowBatch::setCells(int row, const RowDraft& cells) {
    // Room first, so that a block once packed always has its entry.
    if (m_entries.size() == m_entries.capacity()) {
        m_entries.reserve(2 * m_entries.size() + 1024);
    }
    m_entries.push_back(Entry{row, cells.setSlots(), cells.pack(m_arena)});
}
