#include "RowDraft.h"

#include "RowBlock.h"

RowBlock* RowDraft::pack() {
    const int used = m_set ? 32 - __builtin_clz(m_set) : 0;
    for (int k = 0; k < used; ++k) {
        if (!(m_set & (1u << k))) {
            m_cells[size_t(k)] = CellRef{};
        }
    }
    return RowBlock::pack(m_cells.data(), used);
}
