#pragma once

#include "table/Cell.h"
#include "table/RowArena.h"
#include "table/RowBuilder.h"

#include <QStringView>
#include <QtGlobal>

#include <vector>

class RowBatch;
class RowBlock;
class RowDraft;

/// The table's rows, numbered from 1: one handle per row, a packed RowBlock or nullptr for a
/// row of default cells, so inserting or removing a row moves handles only and a hidden cell
/// above the column count travels with its row. The blocks live in the store's own RowArena,
/// and replacing every row gives them back all at once for the next rows to reuse. One row at
/// a time may be open for editing; it is packed again as soon as another row, or the rows as a
/// whole, are needed.
class RowStore final {
public:
    RowStore() = default;
    ~RowStore();
    Q_DISABLE_COPY_MOVE(RowStore)

    int count() const { return int(m_rows.size()); }

    /// Replaces every row by `count` empty rows.
    void reset(int count);
    /// Keeps the first `count` rows, dropping the rest or appending empty ones.
    void resize(int count);
    /// An empty row at `row` (1..count() + 1); the rows from there move down.
    void insertEmpty(int row);
    void remove(int row);

    /// Row 1..count(), column 1..32; callers check the ranges.
    CellRef cell(int row, int column) const;
    void setCell(int row, int column, const CellRef& value);
    void setText(int row, int column, QStringView text);
    /// Writes the draft's cells into the row, as setCell would one after the other; a row of
    /// default cells is packed from the draft directly. The texts must not point into the store.
    void apply(int row, const RowDraft& draft);
    /// Installs the batch's rows in the order they were stored, each as apply would write the
    /// cells its lines set, and takes over the batch's arena; the batch is left empty. Rows
    /// must be in range.
    void install(RowBatch& batch);
    /// Lends the batch the memory this store kept for rows beyond roughly `keepBytes`.
    void lend(RowBatch& batch, qint64 keepBytes);
    /// Opens the row for several edits; the reference stays valid until another row is needed.
    RowBuilder& edit(int row);
    /// The packed row, nullptr when it holds only default cells.
    const RowBlock* block(int row) const;

    /// Replaces every row by one empty row, keeping the old rows' blocks aside as they are for
    /// a clear that may be undone. Blocks set aside before are given back.
    void setAside();
    /// Puts the rows set aside back in place of the rows: the clear did not happen.
    void restoreAside();
    /// How many rows are set aside.
    int asideCount() const { return int(m_aside.size()); }
    /// The block set aside for row 1..asideCount(), nullptr when there is none.
    const RowBlock* aside(int row) const { return m_aside[size_t(row - 1)]; }
    /// Makes the block set aside for `row` that row's block again; the row (1..count()) must
    /// be empty.
    void adoptAside(int row);
    /// Gives every block still set aside back.
    void dropAside();

    /// Column insertion in every row: slots first..last-1 move right, slot first is emptied.
    void insertSlot(int first, int last);
    /// Column removal in every row: slots first+1..last move left, slot last is emptied.
    void removeSlot(int first, int last);

private:
    void flush() const;
    void releaseFrom(qsizetype index);
    template <typename Change> void changeRowsReaching(int slot, Change change);

    // Mutable because reading a packed row first packs the open one.
    mutable RowArena m_arena;
    mutable std::vector<RowBlock*> m_rows;
    std::vector<RowBlock*> m_aside;
    mutable RowBuilder m_open;
    mutable int m_openRow = 0;
};
