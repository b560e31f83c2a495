#pragma once

#include "exchange/ExchangeMessage.h"

/// The grid's own fixed messages about the spreadsheet export.
namespace ExchangeMessages {

/// The refusal when the spreadsheet program was unavailable at start-up.
ExchangeMessage listExcelUnavailable();
/// The refusal to export more than 65,500 rows.
ExchangeMessage listTooLargeForExport();

/// Texts longer than a spreadsheet cell holds were exported cut.
ExchangeMessage textsCut(int count);

} // namespace ExchangeMessages
