#pragma once

#include <QtGlobal>

#include <vector>

class RowBlock;

/// Rows taken out of a table, freed a few at a time instead of all at once. A reader that fills
/// the table anew frees one old row before it stores each new one, so the allocator hands the
/// same memory straight back, still cached; freeing a big table in one go would let the heap
/// shrink, only for the new rows to fault it back in page by page. What is left is freed when
/// the object goes.
class RowRelease final {
public:
    RowRelease() = default;
    explicit RowRelease(std::vector<RowBlock*> rows);
    ~RowRelease();
    RowRelease(RowRelease&& other) noexcept;
    RowRelease& operator=(RowRelease&& other) noexcept;

    /// Frees up to `count` more rows, in order.
    void release(qsizetype count);
    /// Frees every row left.
    void releaseAll() { release(qsizetype(m_rows.size()) - m_next); }

private:
    std::vector<RowBlock*> m_rows;
    qsizetype m_next = 0;
};
