#pragma once

class SheetCells;

/// Reads one sheet of a spreadsheet file row by row, so a workbook is read only as far as its
/// cells are asked for. Only the first 32 columns are kept.
class SheetReader {
public:
    virtual ~SheetReader() = default;

    /// Reads the next row of the sheet into `cells` and returns its number (from 1); 0 when the
    /// sheet has no further row, or the file stops making sense there.
    virtual int readNextRow(SheetCells& cells) = 0;
};
