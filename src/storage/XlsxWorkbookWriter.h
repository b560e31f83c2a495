#pragma once

#include <QString>

class SheetCells;

/// Writes the cells of one sheet as an .xlsx workbook with libxlsxwriter in its
/// constant-memory mode, row by row, so a large sheet does not grow in memory twice.
namespace XlsxWorkbookWriter {

struct Result {
    QString error;        // empty on success
    int cutCells = 0;     // texts longer than a cell holds, written cut to MaxTextLength
    int refusedCells = 0; // cells the library would not write; the rest are written
    bool ok() const { return error.isEmpty(); }
};

/// Writes `cells` to `path` (overwriting it), with libxlsxwriter's working files in
/// `tempFolder`.
Result write(const SheetCells& cells, const QString& path, const QString& tempFolder);

} // namespace XlsxWorkbookWriter
