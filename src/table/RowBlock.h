#pragma once

#include "table/Cell.h"

#include <QStringView>
#include <QtGlobal>

class RowArena;

/// One row's cells packed into a single block of its table's RowArena, so that a row costs one
/// allocation and only the slots it uses: the number of stored slots, per slot the end of its
/// text, its colour and its format flags, then every text as UTF-16. Slots above the stored
/// count are default cells, and a row of default cells has no block at all (nullptr).
class RowBlock final {
public:
    enum Flag : quint8 { BoldFlag = 1, ItalicFlag = 2, UnderlinedFlag = 4 };

    /// A cell to be packed: its text and its format as flag bits.
    struct Source {
        QStringView text;
        qint32 color = 0;
        quint8 flags = 0;

        bool isDefault() const { return text.isEmpty() && color == 0 && flags == 0; }
    };

    /// A block of `count` slots (1..32) holding `textLength` UTF-16 units in total; the caller
    /// fills every end offset, colour, flag byte and the text before anyone reads it.
    [[nodiscard]] static RowBlock* allocate(RowArena& arena, int count, qsizetype textLength);
    /// Gives a block of `arena` back to it; nullptr is ignored.
    static void release(RowArena& arena, RowBlock* block) noexcept;
    /// The block holding `count` slots (cells[0] is slot 1) without the default cells at the
    /// end; nullptr when every slot is a default cell.
    [[nodiscard]] static RowBlock* pack(RowArena& arena, const Source* cells, int count);
    /// The flag bits of a cell's format.
    static quint8 flagsOf(bool bold, bool itallic, bool underlined) {
        return quint8((bold ? BoldFlag : 0) | (itallic ? ItalicFlag : 0) |
                      (underlined ? UnderlinedFlag : 0));
    }
    static quint8 flagsOf(const CellRef& cell) {
        return flagsOf(cell.Bold, cell.Itallic, cell.Underlined);
    }
    /// A cell with its format given as flag bits.
    static CellRef cellOf(QStringView text, quint8 flags, qint32 color) {
        return CellRef{text, bool(flags & BoldFlag), bool(flags & ItalicFlag),
                       bool(flags & UnderlinedFlag), color};
    }

    int slotCount() const { return int(m_slots); }
    /// Slot 1..slotCount().
    QStringView text(int slot) const {
        return QStringView(textArray() + begin(slot), end(slot) - begin(slot));
    }
    /// The length of the texts of slots 1..slot together.
    qsizetype textLength(int slot) const { return slot > 0 ? end(slot) : 0; }
    quint8 flags(int slot) const { return flagArray()[slot - 1]; }
    qint32 color(int slot) const { return colorArray()[slot - 1]; }

    /// The slots' text ends, colours and flags as arrays from slot 1, for code that walks a
    /// whole row.
    const quint32* ends() const { return endArray(); }
    const qint32* colors() const { return colorArray(); }
    const quint8* flagBytes() const { return flagArray(); }

    /// The bytes the block occupies, for the memory accounting of the benchmarks.
    qsizetype byteSize() const;

    // Raw arrays for the code that fills a freshly allocated block.
    quint32* endArray() { return reinterpret_cast<quint32*>(this + 1); }
    qint32* colorArray() { return reinterpret_cast<qint32*>(endArray() + m_slots); }
    quint8* flagArray() { return reinterpret_cast<quint8*>(colorArray() + m_slots); }
    char16_t* textArray() { return reinterpret_cast<char16_t*>(flagArray() + paddedFlagBytes()); }

private:
    RowBlock() = default;
    const quint32* endArray() const { return reinterpret_cast<const quint32*>(this + 1); }
    const qint32* colorArray() const {
        return reinterpret_cast<const qint32*>(endArray() + m_slots);
    }
    const quint8* flagArray() const {
        return reinterpret_cast<const quint8*>(colorArray() + m_slots);
    }
    const char16_t* textArray() const {
        return reinterpret_cast<const char16_t*>(flagArray() + paddedFlagBytes());
    }
    quint32 begin(int slot) const { return slot > 1 ? endArray()[slot - 2] : 0; }
    quint32 end(int slot) const { return endArray()[slot - 1]; }
    qsizetype paddedFlagBytes() const { return (m_slots + 1) & ~quint32(1); }
    static qsizetype bytesFor(int count, qsizetype textLength);

    quint32 m_slots = 0;
};
