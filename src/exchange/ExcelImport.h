#pragma once

#include "exchange/ExcelEnvironment.h"
#include "exchange/ExchangeCallbacks.h"
#include "text/FileResult.h"

#include <QString>

class Table;

/// The grid's import of the first rows of a spreadsheet file into its table.
namespace ExcelImport {

/// Reads sheet rows 1..`Rows` of the active sheet of `filename`, columns A..AF: every sheet
/// cell that is not empty replaces the text of table cell (row, column), line breaks joined
/// out; empty sheet cells leave the table's text, and formats are never touched. Values
/// beyond the shown columns are kept in their rows. The table grows to `Rows` rows when it
/// has fewer. The progress maximum is `Rows` and the value follows the sheet row. The caller
/// empties the journal afterwards.
///
/// Everything is read before the table is touched. When the file cannot be read, or what the
/// import would hold passes the environment's import budget, the result says why and the
/// table, its journal included, is exactly as it was.
FileResult importExcel(Table& table, const QString& filename, int Rows,
                       const ExcelEnvironment& environment, const ExchangeCallbacks& callbacks);

} // namespace ExcelImport
