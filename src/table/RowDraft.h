#pragma once

#include "Cell.h"

#include <QtGlobal>

#include <array>

class RowBlock;

/// A row restored from a journal record into an empty row: each slot a view of the record's
/// text, packed into a RowBlock in one step, so the texts are copied once.
class RowDraft final {
public:
    /// Slot 1..32; the text must stay valid until pack().
    void setCell(int slot, const CellRef& value) {
        m_cells[size_t(slot - 1)] = value;
        m_set |= 1u << (slot - 1);
    }
    RowBlock* pack();

private:
    // Only the slots marked in m_set are initialised: a draft is made for every row of an
    // undone clear, so the others become default cells only when the row is packed.
    std::array<CellRef, 32> m_cells;
    quint32 m_set = 0;
};
