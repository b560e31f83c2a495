#pragma once

#include "exchange/ExcelEnvironment.h"
#include "exchange/ExchangeCallbacks.h"
#include "text/FileResult.h"

#include <QStringView>

class Table;

/// The grid's export of its texts into a new spreadsheet workbook, which is then shown.
namespace ExcelExport {

/// The most rows the grid exports.
inline constexpr int MaxRows = 65500;

/// Copies the texts of every row that has one in its shown columns into a new workbook
/// (cells 1..32 to sheet columns A..AF, table row i to sheet row i; formats and captions stay
/// behind) and shows it. Refused with a message when `excelStatus` is "NERADI" (the
/// spreadsheet program was unavailable at start-up) or the table has more than MaxRows rows;
/// nothing happens, silently, when the stand-in cannot start now. The progress value follows
/// the row being copied. The result names the written workbook, or why there is none.
FileResult exportToExcel(const Table& table, QStringView excelStatus,
                         const ExcelEnvironment& environment, const ExchangeCallbacks& callbacks);

} // namespace ExcelExport
