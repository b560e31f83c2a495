#pragma once

#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/SheetReader.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <memory>

class ImportBudget;

/// One workbook of the spreadsheet stand-in, reduced to what the exchange uses: the cells of
/// its active sheet. A new workbook starts empty and holds what is set. An opened one reads
/// its file only as far as its cells are asked for, and keeps only the last KeptRows rows it
/// read, fewer when they hold much text: a row before them is read again from the start of
/// the file. Reading forward, as the import does, a workbook of any size takes little memory.
class Workbook final {
public:
    /// Opens the file again from its start.
    using ReaderSource = std::function<std::unique_ptr<SheetReader>()>;

    static constexpr int KeptRows = 1024;
    /// The part of its budget a workbook fills with kept rows before it keeps only the rows
    /// being read.
    static constexpr int KeptShareOfBudget = 8;

    /// A new, empty workbook.
    Workbook();
    /// The workbook of the file `path`, read by `reader`; `reopen` gives a fresh reader of the
    /// same file (without one, every row read is kept). The rows read are taken from `budget`
    /// (none: not bounded), which outlives the workbook: a cell that would pass it reads empty,
    /// and the budget says it was spent.
    Workbook(const QString& path, std::unique_ptr<SheetReader> reader, ReaderSource reopen = {},
             ImportBudget* budget = nullptr);
    ~Workbook();
    Q_DISABLE_COPY_MOVE(Workbook)

    /// The active sheet's cell; valid until the workbook next changes or reads further.
    QStringView value(int row, int column);
    /// True when a cell of the row holds a value; the row can then be read from cells()
    /// until the workbook next changes or reads further.
    bool rowHasValues(int row);
    /// False when the cell lies outside the sheet.
    bool setValue(int row, int column, QStringView text);

    /// The file the workbook came from; "" for a new one.
    const QString& path() const { return m_path; }
    /// The cells held now.
    const SheetCells& cells() const { return m_cells; }

private:
    void readThrough(int row);

    QString m_path;
    ImportBudget* m_budget = nullptr;
    SheetCells m_cells;
    std::unique_ptr<SheetReader> m_reader; // nullptr once the file is read to its end
    ReaderSource m_reopen;
    int m_highestRowRead = 0;
    int m_firstKeptRow = 1;
};
