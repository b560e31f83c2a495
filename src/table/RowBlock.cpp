#include "RowBlock.h"

#include <cstdlib>
#include <cstring>
#include <new>

static_assert(sizeof(RowBlock) == 4, "the arrays follow the 4-byte header directly");

qsizetype RowBlock::bytesFor(int count, qsizetype textLength) {
    const qsizetype flagBytes = (count + 1) & ~1;
    return qsizetype(sizeof(RowBlock)) + 8 * qsizetype(count) + flagBytes +
           qsizetype(sizeof(char16_t)) * textLength;
}

RowBlock* RowBlock::allocate(int count, qsizetype textLength) {
    void* memory = std::malloc(size_t(bytesFor(count, textLength)));
    if (!memory) {
        throw std::bad_alloc();
    }
    auto* block = new (memory) RowBlock;
    block->m_slots = quint32(count);
    return block;
}

void RowBlock::release(RowBlock* block) noexcept {
    std::free(block);
}

RowBlock* RowBlock::copy(const RowBlock* block) {
    if (!block) {
        return nullptr;
    }
    const qsizetype bytes = block->byteSize();
    void* memory = std::malloc(size_t(bytes));
    if (!memory) {
        throw std::bad_alloc();
    }
    std::memcpy(memory, block, size_t(bytes));
    return static_cast<RowBlock*>(memory);
}

quint8 RowBlock::flagsOf(const CellRef& cell) {
    return quint8((cell.Bold ? BoldFlag : 0) | (cell.Itallic ? ItalicFlag : 0) |
                  (cell.Underlined ? UnderlinedFlag : 0));
}

QStringView RowBlock::text(int slot) const {
    const quint32* ends = endArray();
    const quint32 begin = slot > 1 ? ends[slot - 2] : 0;
    return QStringView(textArray() + begin, qsizetype(ends[slot - 1] - begin));
}

qsizetype RowBlock::byteSize() const {
    return bytesFor(slotCount(), m_slots ? endArray()[m_slots - 1] : 0);
}
