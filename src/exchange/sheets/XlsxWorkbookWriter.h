#pragma once

#include "text/FileResult.h"

#include <QString>

class SheetCells;

/// Writes the cells of one sheet as an .xlsx workbook with libxlsxwriter in its
/// constant-memory mode, row by row, so a large sheet does not grow in memory twice.
namespace XlsxWorkbookWriter {

/// What a write had to leave out or change.
struct Losses {
    int cutCells = 0;     // texts longer than a cell holds, written cut to MaxTextLength
    int refusedCells = 0; // cells the library would not write; the rest are written
};

/// Writes `cells` to `path` (overwriting it), with libxlsxwriter's working files in
/// `tempFolder`; `losses`, when given, counts what was cut or left out.
FileResult write(const SheetCells& cells, const QString& path, const QString& tempFolder,
                 Losses* losses = nullptr);

} // namespace XlsxWorkbookWriter
