#pragma once

#include "exchange/ExchangeCallbacks.h"
#include "exchange/sheets/SheetCells.h"

#include <QStringView>
#include <QtGlobal>

#include <memory>
#include <vector>

class ImportBudget;
class Table;
class Workbook;

/// The texts an import writes into a table, gathered in full before the table is touched, so
/// an import that cannot be completed leaves the table as it was. Each text is kept once, its
/// line breaks joined out, in large blocks taken from the import's budget.
class ImportStaging final {
public:
    /// Texts taken from `budget`, which outlives the staging.
    explicit ImportStaging(ImportBudget& budget);
    ~ImportStaging();
    Q_DISABLE_COPY_MOVE(ImportStaging)

    /// Gathers sheet rows 1..`rows` of `workbook`, columns A..AF: every cell that is not empty,
    /// and the empty rows `table` must gain to hold them. The progress value follows the sheet
    /// row. False as soon as the budget is spent, by the texts or by what the workbook holds
    /// while it reads; then nothing may be applied.
    [[nodiscard]] bool gather(const Table& table, Workbook& workbook, int rows,
                              const ExchangeCallbacks& callbacks);
    /// Writes what was gathered into the table gather() was given, unchanged since: the rows
    /// are appended first, then each sheet cell replaces its table cell's text, the format
    /// staying. Nothing else changes; the journal records the appended rows.
    void applyTo(Table& table) const;

private:
    struct Cell;
    struct Row;

    // Gathers the texts of one sheet row; false when the budget refuses them.
    bool addRow(int row, const SheetCells::RowTexts& texts);
    // A new block with room for at least `length` characters, taken from the budget.
    bool startBlock(qsizetype length);
    // Room for `count` more items in `items`, its growth taken from the budget.
    template <typename T> bool makeRoom(std::vector<T>& items, size_t count);

    ImportBudget& m_budget;
    std::vector<std::unique_ptr<char16_t[]>> m_blocks;
    qsizetype m_blockSize = 0;
    qsizetype m_blockUsed = 0;
    std::vector<Cell> m_cells; // row by row, in column order
    std::vector<Row> m_rows;   // rows with cells, in order
    qint64 m_taken = 0;        // of the budget
    int m_rowsToAppend = 0;
};
