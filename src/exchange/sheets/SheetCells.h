#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <memory>
#include <string_view>
#include <vector>

class ImportBudget;

/// The texts of a sheet's cells as the exchange sees them: rows 1..1,048,576 and the 32 columns
/// a table can hold. Only rows that hold a value cost memory, each one buffer for its texts.
class SheetCells final {
public:
    /// The longest text a spreadsheet cell holds; longer texts are cut to it.
    static constexpr int MaxTextLength = 32767;

    /// Cells whose memory is taken from `budget` (none: not bounded), which outlives them.
    explicit SheetCells(ImportBudget* budget = nullptr);
    ~SheetCells();
    Q_DISABLE_COPY_MOVE(SheetCells)

    /// Sets (or, with an empty text, empties) a cell. False, changing nothing, when the cell
    /// lies outside the sheet or the text would pass the budget.
    bool set(int row, int column, QStringView text);
    /// The same for a text of ASCII bytes, widened straight into the row.
    bool setAscii(int row, int column, std::string_view ascii);
    /// The cell's text, valid until the next set(); empty outside the sheet.
    QStringView at(int row, int column) const;
    /// The texts of a row's columns, as at() gives them, in one step.
    using RowTexts = std::array<QStringView, 32>;
    RowTexts texts(int row) const;
    /// The highest row that was ever set, 0 for an empty sheet.
    int lastRow() const { return int(m_rows.size()); }
    /// True when no cell of the row holds text.
    bool rowIsEmpty(int row) const;
    /// Forgets every row before `row` (a row set there later is kept again).
    void dropRowsBefore(int row);
    /// Forgets every row.
    void clear();
    /// How many rows hold text now.
    int rowsHeld() const;
    /// How many texts set() has cut to MaxTextLength.
    int cutTexts() const { return m_cutTexts; }
    /// The memory the rows held now take, as the budget counts it.
    qint64 heldBytes() const { return m_heldBytes; }

private:
    struct Row;
    static bool inSheet(int row, int column);
    Row* row(int number) const;
    // Makes the cell, which lies in the sheet, the next `length` units of its row, which `to`
    // then points at (nullptr when there is nothing to write); false, changing nothing, when
    // the budget refuses them.
    bool makeRoom(int row, int column, qsizetype length, char16_t*& to);
    bool makeRoomInGeneral(int row, int column, qsizetype length, char16_t*& to);
    /// Takes (or, below 0, gives back) `bytes` of the budget; false when they are refused.
    bool charge(qint64 bytes);
    static qint64 costOf(const Row& row);
    // Makes room for `units` in the row's buffer, keeping what it holds.
    static void reserve(Row& row, qsizetype units);
    std::unique_ptr<Row> newRow();
    void keepSpare(std::unique_ptr<Row> row);

    std::vector<std::unique_ptr<Row>> m_rows;
    std::vector<std::unique_ptr<Row>> m_spare; // dropped rows, to be filled again
    size_t m_droppedBefore = 0;                // rows below this index are already dropped
    int m_cutTexts = 0;
    ImportBudget* m_budget;
    qint64 m_heldBytes = 0;
};
