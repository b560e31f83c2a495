#include "RowBuilder.h"

#include "RowBlock.h"

#include <algorithm>
#include <cstring>

RowBuilder::RowBuilder() {
    m_text.reserve(256);
}

void RowBuilder::clear() {
    m_slots.fill(Slot{});
    m_text.clear();
    m_liveText = 0;
}

void RowBuilder::load(const RowBlock* block) {
    clear();
    if (!block) {
        return;
    }
    const int stored = block->slotCount();
    qsizetype total = 0;
    for (int k = 1; k <= stored; ++k) {
        const QStringView text = block->text(k);
        m_slots[k] = Slot{total, text.size(), block->color(k), block->flags(k)};
        total += text.size();
    }
    if (total) {
        m_text.resize(size_t(total));
        std::memcpy(m_text.data(), block->text(1).utf16(), size_t(total) * sizeof(char16_t));
    }
    m_liveText = total;
}

RowBlock* RowBuilder::pack() const {
    int used = SlotCount;
    while (used > 0 && m_slots[used].length == 0 && m_slots[used].color == 0 &&
           m_slots[used].flags == 0) {
        --used;
    }
    if (used == 0) {
        return nullptr;
    }
    qsizetype total = 0;
    for (int k = 1; k <= used; ++k) {
        total += m_slots[k].length;
    }
    RowBlock* block = RowBlock::allocate(used, total);
    quint32* ends = block->endArray();
    qint32* colors = block->colorArray();
    quint8* flags = block->flagArray();
    char16_t* out = block->textArray();
    qsizetype end = 0;
    for (int k = 1; k <= used; ++k) {
        const Slot& slot = m_slots[k];
        if (slot.length) {
            std::memcpy(out + end, m_text.data() + slot.start,
                        size_t(slot.length) * sizeof(char16_t));
        }
        end += slot.length;
        ends[k - 1] = quint32(end);
        colors[k - 1] = slot.color;
        flags[k - 1] = slot.flags;
    }
    if (used & 1) {
        flags[used] = 0; // padding byte, kept defined so copies of the block compare equal
    }
    return block;
}

CellRef RowBuilder::cell(int slot) const {
    const Slot& s = m_slots[slot];
    return CellRef{QStringView(m_text.data() + s.start, s.length),
                   bool(s.flags & RowBlock::BoldFlag), bool(s.flags & RowBlock::ItalicFlag),
                   bool(s.flags & RowBlock::UnderlinedFlag), s.color};
}

void RowBuilder::setCell(int slot, const CellRef& value) {
    setText(slot, value.Text);
    m_slots[slot].flags = RowBlock::flagsOf(value);
    m_slots[slot].color = value.Color;
}

void RowBuilder::setText(int slot, QStringView text) {
    Slot& s = m_slots[slot];
    m_liveText -= s.length;
    s.start = 0;
    s.length = 0;
    if (!text.isEmpty()) {
        const char16_t* source = text.utf16();
        // The new text may be a view of this very buffer, which growing would move.
        const bool inBuffer = holds(text);
        const qsizetype offset = inBuffer ? source - m_text.data() : 0;
        const qsizetype start = qsizetype(m_text.size());
        m_text.resize(m_text.size() + size_t(text.size()));
        if (inBuffer) {
            source = m_text.data() + offset;
        }
        std::memcpy(m_text.data() + start, source, size_t(text.size()) * sizeof(char16_t));
        s.start = start;
        s.length = text.size();
        m_liveText += text.size();
    }
    compactIfWasteful();
}

void RowBuilder::resetSlot(int slot) {
    m_liveText -= m_slots[slot].length;
    m_slots[slot] = Slot{};
}

void RowBuilder::insertSlot(int first, int last) {
    m_liveText -= m_slots[last].length;
    std::move_backward(m_slots.begin() + first, m_slots.begin() + last, m_slots.begin() + last + 1);
    m_slots[first] = Slot{};
}

void RowBuilder::removeSlot(int first, int last) {
    m_liveText -= m_slots[first].length;
    std::move(m_slots.begin() + first + 1, m_slots.begin() + last + 1, m_slots.begin() + first);
    m_slots[last] = Slot{};
}

bool RowBuilder::holds(QStringView text) const {
    const char16_t* p = text.utf16();
    return !m_text.empty() && p >= m_text.data() && p < m_text.data() + m_text.size();
}

void RowBuilder::compactIfWasteful() {
    // Replaced texts stay in the buffer until the row is packed; a row edited over and over
    // while it stays open is compacted once the dead text outweighs the live text.
    const qsizetype size = qsizetype(m_text.size());
    if (size < 4096 || size < 2 * m_liveText) {
        return;
    }
    std::vector<char16_t> compacted;
    compacted.reserve(size_t(m_liveText));
    for (Slot& s : m_slots) {
        const qsizetype start = qsizetype(compacted.size());
        compacted.insert(compacted.end(), m_text.begin() + s.start,
                         m_text.begin() + s.start + s.length);
        s.start = s.length ? start : 0;
    }
    m_text.swap(compacted);
}
