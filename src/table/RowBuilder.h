#pragma once

#include "table/Cell.h"

#include <QStringView>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <vector>

class RowArena;
class RowBlock;

/// One row unpacked for editing: all 32 slots, each a range of one shared text buffer with its
/// format. Rows are edited here and packed back into a RowBlock, so a burst of edits to one
/// row (a file reader filling it column by column) costs one allocation for the whole row.
class RowBuilder final {
public:
    RowBuilder();

    /// Every slot becomes a default cell.
    void clear();
    void load(const RowBlock* block);
    /// The packed row, in `arena`; nullptr when every slot is a default cell.
    [[nodiscard]] RowBlock* pack(RowArena& arena) const;

    /// Slot 1..32.
    CellRef cell(int slot) const;
    void setCell(int slot, const CellRef& value);
    /// The same with the format as RowBlock flag bits.
    void setCell(int slot, QStringView text, quint8 flags, qint32 color);
    void setText(int slot, QStringView text);

    /// Column insertion: slots first..last-1 move one to the right, slot first becomes default
    /// and the old content of slot last is dropped.
    void insertSlot(int first, int last);
    /// Column removal: slots first+1..last move one to the left and slot last becomes default.
    void removeSlot(int first, int last);

    /// Whether `text` is a view of this builder's buffer.
    bool holds(QStringView text) const;

private:
    struct Slot {
        qsizetype start = 0;
        qsizetype length = 0;
        qint32 color = 0;
        quint8 flags = 0;
    };
    static constexpr int SlotCount = 32;

    void compactIfWasteful();

    void touch(int slot) { m_used = std::max(m_used, slot); }

    std::array<Slot, SlotCount + 1> m_slots; // slot 0 unused
    int m_used = 0;                          // slots above it are default
    std::vector<char16_t> m_text;
    qsizetype m_liveText = 0;
};
