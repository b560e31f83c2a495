#pragma once

#include "text/FileResult.h"

#include <QString>
#include <QtGlobal>

#include <memory>

class ImportBudget;
class Workbook;

/// The stand-in's Workbooks collection: adding a new workbook or opening a file makes it the
/// active workbook (the stand-in holds one at a time, as the exchange needs).
class ExcelWorkbooks final {
public:
    ExcelWorkbooks();
    ~ExcelWorkbooks();
    Q_DISABLE_COPY_MOVE(ExcelWorkbooks)

    /// A new, empty workbook becomes the active one.
    void add();
    /// The spreadsheet file `filename` becomes the active workbook, read as its cells are
    /// asked for. When it cannot be read the active workbook is an empty one, so every cell
    /// reads empty, and the reason comes back. What the workbook and its reader hold is taken
    /// from `budget` (none: not bounded), which outlives the workbook.
    FileResult open(const QString& filename, ImportBudget* budget = nullptr);

    /// The active workbook; nullptr before add() or open(), and after close().
    Workbook* active() const { return m_active.get(); }
    /// Discards every workbook.
    void close();

private:
    std::unique_ptr<Workbook> m_active;
};
