#pragma once

#include "table/Cell.h"
#include "table/RowBlock.h"

#include <QStringView>
#include <QtGlobal>

#include <array>

class RowArena;
class RowBuilder;

/// Several cells of one row gathered before they are stored: each slot a view of a text held
/// by the caller (a journal record, a file reader's buffer), written into the row in one step.
/// An empty row is packed straight from the draft, so the texts are copied once.
class RowDraft final {
public:
    /// A cell's format packed as setCell() takes it, for readers that keep cells apart from
    /// their texts until the row is stored.
    static quint8 formatFlags(bool bold, bool itallic, bool underlined) {
        return RowBlock::flagsOf(bold, itallic, underlined);
    }

    /// Slot 1..32; a slot set again takes the later cell. The text must stay valid until the
    /// draft is stored.
    void setCell(int slot, const CellRef& value) {
        setCell(slot, value.Text, RowBlock::flagsOf(value), value.Color);
    }
    /// The same with the format packed by formatFlags().
    void setCell(int slot, QStringView text, quint8 flags, qint32 color) {
        m_cells[size_t(slot - 1)] = RowBlock::Source{text, color, flags};
        m_set |= 1u << (slot - 1);
    }
    /// Forgets every slot, for the next row.
    void clear() { m_set = 0; }
    bool isEmpty() const { return m_set == 0; }
    /// Bit k set: slot k + 1 holds a cell of this row.
    quint32 setSlots() const { return m_set; }

    /// The row holding the draft's cells and default cells elsewhere, in `arena`; nullptr when
    /// that is a row of default cells.
    [[nodiscard]] RowBlock* pack(RowArena& arena) const;
    /// Writes the draft's cells into an opened row, slot by slot.
    void writeInto(RowBuilder& row) const;

private:
    // Only the slots marked in m_set hold cells of this row: a draft is reused row after row,
    // so the others become default cells only when the row is packed (which is why packing,
    // logically const, writes them).
    mutable std::array<RowBlock::Source, 32> m_cells;
    quint32 m_set = 0;
};
