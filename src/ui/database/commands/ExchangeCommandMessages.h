#pragma once

#include "exchange/ExchangeMessage.h"

/// The database window's fixed messages about the spreadsheet export and import.
namespace ExchangeCommandMessages {

/// The refusal when the spreadsheet program was unavailable at start-up.
ExchangeMessage excelUnavailable();
/// The refusal to export a table of 65,001 rows or more.
ExchangeMessage tooLargeForExport(int rowCount);
/// The refusal of an import row count above 50,000.
ExchangeMessage rowLimitExceeded();

} // namespace ExchangeCommandMessages
