#include "table/RowDraft.h"

#include "table/RowBlock.h"
#include "table/RowBuilder.h"

RowBlock* RowDraft::pack(RowArena& arena) const {
    const int used = m_set ? 32 - __builtin_clz(m_set) : 0;
    // Slots 1..used all set, the usual row, leave no gap to fill.
    if (m_set & (m_set + 1)) {
        for (int k = 0; k < used; ++k) {
            if (!(m_set & (1u << k))) {
                m_cells[size_t(k)] = RowBlock::Source{};
            }
        }
    }
    return RowBlock::pack(arena, m_cells.data(), used);
}

void RowDraft::writeInto(RowBuilder& row) const {
    for (quint32 set = m_set; set; set &= set - 1) {
        const int k = __builtin_ctz(set);
        const RowBlock::Source& cell = m_cells[size_t(k)];
        row.setCell(k + 1, cell.text, cell.flags, cell.color);
    }
}
