#include "table/RowBlock.h"

#include "table/CharRuns.h"
#include "table/RowArena.h"

#include <new>

static_assert(sizeof(RowBlock) == 4, "the arrays follow the 4-byte header directly");

qsizetype RowBlock::bytesFor(int count, qsizetype textLength) {
    const qsizetype flagBytes = (count + 1) & ~1;
    return qsizetype(sizeof(RowBlock)) + 8 * qsizetype(count) + flagBytes +
           qsizetype(sizeof(char16_t)) * textLength;
}

RowBlock* RowBlock::allocate(RowArena& arena, int count, qsizetype textLength) {
    auto* block = new (arena.allocate(bytesFor(count, textLength))) RowBlock;
    block->m_slots = quint32(count);
    return block;
}

void RowBlock::release(RowArena& arena, RowBlock* block) noexcept {
    if (block) {
        arena.release(block, block->byteSize());
    }
}

RowBlock* RowBlock::pack(RowArena& arena, const Source* cells, int count) {
    while (count > 0 && cells[count - 1].isDefault()) {
        --count;
    }
    if (count == 0) {
        return nullptr;
    }
    qsizetype total = 0;
    for (int k = 0; k < count; ++k) {
        total += cells[k].text.size();
    }
    RowBlock* block = allocate(arena, count, total);
    quint32* ends = block->endArray();
    qint32* colors = block->colorArray();
    quint8* flags = block->flagArray();
    char16_t* out = block->textArray();
    qsizetype end = 0;
    for (int k = 0; k < count; ++k) {
        const Source& cell = cells[k];
        CharRuns::copy(out + end, cell.text.utf16(), cell.text.size());
        end += cell.text.size();
        ends[k] = quint32(end);
        colors[k] = cell.color;
        flags[k] = cell.flags;
    }
    if (count & 1) {
        flags[count] = 0; // padding byte, kept defined so copies of the block compare equal
    }
    return block;
}

qsizetype RowBlock::byteSize() const {
    return bytesFor(slotCount(), m_slots ? endArray()[m_slots - 1] : 0);
}
