#include "exchange/ImportStaging.h"

#include "exchange/ImportBudget.h"
#include "exchange/Workbook.h"
#include "exchange/sheets/SheetCells.h"
#include "table/CharRuns.h"
#include "table/RowDraft.h"
#include "table/Table.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Blocks start small for the many small imports and grow to this many characters: two of the
// longest texts. A block is taken from the budget whole, so what its end leaves unused counts.
constexpr qsizetype kFirstBlock = 4096;
constexpr qsizetype kLargestBlock = qsizetype(1) << 16;
static_assert(kLargestBlock >= 2 * SheetCells::MaxTextLength);
// What the table takes for each row it appends, beyond the row's texts.
constexpr qint64 kAppendedRowCost = 8;

// Whether the text may hold a '\r' or '\n': it holds a unit up to '\r'. One pass over it, eight
// units per step where the processor allows, as texts with such units are rare.
bool mayHoldLineBreak(const char16_t* p, qsizetype n) {
#if defined(__SSE2__)
    if (n >= 8) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i limit = _mm_set1_epi16(short(u'\r'));
        const auto low = [&](const char16_t* at) {
            const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            return _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_subs_epu16(units, limit), zero)) != 0;
        };
        for (qsizetype i = 0; i + 8 < n; i += 8) {
            if (low(p + i)) {
                return true;
            }
        }
        return low(p + n - 8); // the last eight, which may overlap the ones before
    }
#endif
    char16_t lowest = u'\r' + 1;
    for (qsizetype i = 0; i < n; ++i) {
        lowest = qMin(lowest, p[i]);
    }
    return lowest <= u'\r';
}

} // namespace

// A gathered text lies in the blocks right after the one before it, or at the start of the
// next block when it did not fit; so it needs no address of its own.
struct ImportStaging::Cell {
    quint16 length;
    quint8 column;
    bool startsBlock;
};

struct ImportStaging::Row {
    int row;
    int cells;
};

ImportStaging::ImportStaging(ImportBudget& budget) : m_budget(budget) {}

ImportStaging::~ImportStaging() {
    m_budget.giveBack(m_taken);
}

template <typename T> bool ImportStaging::makeRoom(std::vector<T>& items, size_t count) {
    // The lists grow by doubling, and what they grow by is taken at once, so most rows take
    // nothing of the budget on their own.
    if (items.capacity() - items.size() >= count) {
        return true;
    }
    const size_t grown = qMax(qMax<size_t>(2 * items.capacity(), 1024), items.size() + count);
    const qint64 cost = qint64(sizeof(T)) * qint64(grown - items.capacity());
    if (!m_budget.take(cost)) {
        return false;
    }
    m_taken += cost;
    items.reserve(grown);
    return true;
}

bool ImportStaging::startBlock(qsizetype length) {
    const qsizetype grown = m_blockSize == 0 ? kFirstBlock : qMin(2 * m_blockSize, kLargestBlock);
    const qsizetype blockSize = qBound(length, grown, kLargestBlock);
    const qint64 cost = 2 * qint64(blockSize);
    if (!m_budget.take(cost)) {
        return false;
    }
    m_taken += cost;
    m_blocks.push_back(std::make_unique_for_overwrite<char16_t[]>(size_t(blockSize)));
    m_blockSize = blockSize;
    m_blockUsed = 0;
    return true;
}

bool ImportStaging::addRow(int row, const SheetCells::RowTexts& texts) {
    size_t count = 0;
    for (const QStringView& text : texts) {
        count += text.isEmpty() ? 0 : 1;
    }
    if (count == 0) {
        return true;
    }
    // Room for all of the row's cells at once, so each cell needs no check of its own.
    if (!makeRoom(m_cells, count) || !makeRoom(m_rows, 1)) {
        return false;
    }
    for (size_t c = 0; c < texts.size(); ++c) {
        if (texts[c].isEmpty()) {
            continue;
        }
        // Sheet cells hold at most MaxTextLength characters; the joined text is never longer.
        const qsizetype length = qMin<qsizetype>(texts[c].size(), SheetCells::MaxTextLength);
        const bool newBlock = m_blocks.empty() || m_blockUsed + length > m_blockSize;
        if (newBlock && !startBlock(length)) {
            return false;
        }
        const char16_t* const source = texts[c].utf16();
        char16_t* const start = m_blocks.back().get() + m_blockUsed;
        CharRuns::copy(start, source, length);
        // Line breaks are left out: a cell holds one line. Few texts have any, so the copy is
        // made whole and mended only when one shows.
        qsizetype joined = length;
        if (mayHoldLineBreak(source, length)) {
            char16_t* out = start;
            for (qsizetype i = 0; i < length; ++i) {
                *out = source[i];
                out += (source[i] != u'\r' && source[i] != u'\n') ? 1 : 0;
            }
            joined = out - start;
        }
        m_blockUsed += joined;
        m_cells.push_back(Cell{quint16(joined), quint8(c + 1), newBlock});
    }
    m_rows.push_back(Row{row, int(count)});
    return true;
}

bool ImportStaging::gather(const Table& table, Workbook& workbook, int rows,
                           const ExchangeCallbacks& callbacks) {
    m_rowsToAppend = qMax(0, rows - table.ListCount());
    const qint64 appendCost = kAppendedRowCost * m_rowsToAppend;
    if (!m_budget.take(appendCost)) {
        return false;
    }
    m_taken += appendCost;
    const SheetCells& cells = workbook.cells();
    for (int row = 1; row <= rows; ++row) {
        if (workbook.rowHasValues(row) && !addRow(row, cells.texts(row))) {
            return false;
        }
        // Reading the row may have spent the budget too, leaving cells unread.
        if (m_budget.spent()) {
            return false;
        }
        if (callbacks.setProgressValue) {
            callbacks.setProgressValue(row);
        }
    }
    return true;
}

void ImportStaging::applyTo(Table& table) const {
    // The rows appended hold default cells, so only the rows there before have formats to keep.
    const int firstAppended = table.ListCount() + 1;
    if (m_rowsToAppend > 0) {
        table.AddMoreThanOneRow(m_rowsToAppend);
    }
    RowDraft draft;
    const char16_t* block = nullptr;
    auto blocks = m_blocks.begin();
    qsizetype used = 0;
    auto cell = m_cells.begin();
    for (const Row& row : m_rows) {
        draft.clear();
        const bool appended = row.row >= firstAppended;
        for (int k = 0; k < row.cells; ++k, ++cell) {
            if (cell->startsBlock) {
                block = (blocks++)->get();
                used = 0;
            }
            const QStringView text(block + used, cell->length);
            used += cell->length;
            if (appended) {
                draft.setCell(cell->column, text, 0, 0);
            } else {
                CellRef value = table.cellAt(row.row, cell->column);
                value.Text = text;
                draft.setCell(cell->column, value);
            }
        }
        table.setCells(row.row, draft);
    }
}
