#pragma once

#include "exchange/ExcelValueText.h"

#include <QIODevice>

#include <vector>

/// What the cell styles of an .xlsx workbook make of numbers: for each style index, whether
/// its number format shows a number, a date, a date and time or a time.
class XlsxStyles final {
public:
    /// A workbook without styles: every number is a number.
    XlsxStyles() = default;
    /// Reads the styles part.
    static XlsxStyles parse(QIODevice& part);

    ExcelValueText::NumberKind kindOf(int styleIndex) const;

private:
    std::vector<ExcelValueText::NumberKind> m_kinds;
};
