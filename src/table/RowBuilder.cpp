#include "table/RowBuilder.h"

#include "table/RowBlock.h"

#include <algorithm>
#include <cstring>

RowBuilder::RowBuilder() {
    m_text.reserve(256);
}

void RowBuilder::clear() {
    std::fill(m_slots.begin(), m_slots.begin() + m_used + 1, Slot{});
    m_used = 0;
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
    m_used = stored;
    if (total) {
        const auto* texts = reinterpret_cast<const char16_t*>(block->text(1).utf16());
        m_text.assign(texts, texts + total);
    }
    m_liveText = total;
}

RowBlock* RowBuilder::pack(RowArena& arena) const {
    std::array<RowBlock::Source, SlotCount> cells;
    for (int k = 1; k <= m_used; ++k) {
        const Slot& s = m_slots[k];
        cells[size_t(k - 1)] = {QStringView(m_text.data() + s.start, s.length), s.color, s.flags};
    }
    return RowBlock::pack(arena, cells.data(), m_used);
}

CellRef RowBuilder::cell(int slot) const {
    const Slot& s = m_slots[slot];
    return RowBlock::cellOf(QStringView(m_text.data() + s.start, s.length), s.flags, s.color);
}

void RowBuilder::setCell(int slot, const CellRef& value) {
    setCell(slot, value.Text, RowBlock::flagsOf(value), value.Color);
}

void RowBuilder::setCell(int slot, QStringView text, quint8 flags, qint32 color) {
    setText(slot, text); // marks the slot used
    m_slots[slot].flags = flags;
    m_slots[slot].color = color;
}

void RowBuilder::setText(int slot, QStringView text) {
    touch(slot);
    Slot& s = m_slots[slot];
    m_liveText -= s.length;
    s.start = 0;
    s.length = 0;
    if (!text.isEmpty()) {
        const auto* source = reinterpret_cast<const char16_t*>(text.utf16());
        const qsizetype start = qsizetype(m_text.size());
        if (holds(text)) {
            // A view of this very buffer, which growing would move.
            const qsizetype offset = source - m_text.data();
            m_text.resize(m_text.size() + size_t(text.size()));
            std::memmove(m_text.data() + start, m_text.data() + offset,
                         size_t(text.size()) * sizeof(char16_t));
        } else {
            m_text.insert(m_text.end(), source, source + text.size());
        }
        s.start = start;
        s.length = text.size();
        m_liveText += text.size();
    }
    if (m_text.size() >= 4096) {
        compactIfWasteful();
    }
}

void RowBuilder::insertSlot(int first, int last) {
    touch(last);
    m_liveText -= m_slots[last].length;
    std::move_backward(m_slots.begin() + first, m_slots.begin() + last, m_slots.begin() + last + 1);
    m_slots[first] = Slot{};
}

void RowBuilder::removeSlot(int first, int last) {
    touch(last);
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
    if (size < 2 * m_liveText) {
        return;
    }
    std::vector<char16_t> compacted;
    compacted.reserve(size_t(m_liveText));
    for (int k = 1; k <= m_used; ++k) {
        Slot& s = m_slots[k];
        const qsizetype start = qsizetype(compacted.size());
        compacted.insert(compacted.end(), m_text.begin() + s.start,
                         m_text.begin() + s.start + s.length);
        s.start = s.length ? start : 0;
    }
    m_text.swap(compacted);
}
