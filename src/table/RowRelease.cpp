#include "table/RowRelease.h"

#include "table/RowBlock.h"

#include <algorithm>
#include <utility>

RowRelease::RowRelease(std::vector<RowBlock*> rows) : m_rows(std::move(rows)) {}

RowRelease::~RowRelease() {
    releaseAll();
}

RowRelease::RowRelease(RowRelease&& other) noexcept
    : m_rows(std::exchange(other.m_rows, {})), m_next(std::exchange(other.m_next, 0)) {}

RowRelease& RowRelease::operator=(RowRelease&& other) noexcept {
    if (this != &other) {
        releaseAll();
        m_rows = std::exchange(other.m_rows, {});
        m_next = std::exchange(other.m_next, 0);
    }
    return *this;
}

void RowRelease::release(qsizetype count) {
    constexpr qsizetype Ahead = 8;
    const qsizetype size = qsizetype(m_rows.size());
    const qsizetype end = std::min(size, m_next + count);
    for (; m_next < end; ++m_next) {
        // Freeing reads the allocator's header in front of each block; asking for the one a few
        // rows ahead hides the wait for memory.
        if (m_next + Ahead < size && m_rows[size_t(m_next + Ahead)]) {
            __builtin_prefetch(reinterpret_cast<const char*>(m_rows[size_t(m_next + Ahead)]) - 16);
        }
        RowBlock::release(m_rows[size_t(m_next)]);
    }
    if (m_next == size) {
        std::vector<RowBlock*>().swap(m_rows);
        m_next = 0;
    }
}
