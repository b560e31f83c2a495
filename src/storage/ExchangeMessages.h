#pragma once

#include "ExchangeMessage.h"

#include <QString>
#include <QStringView>

/// The fixed messages of the spreadsheet export and import, for the grid and its window.
namespace ExchangeMessages {

/// The application title, which opens the grid's own messages and titles the untitled ones.
inline constexpr char16_t ApplicationTitle[] = u"Qel 2005";

/// The window's refusal when the spreadsheet program was unavailable at start-up.
ExchangeMessage windowExcelUnavailable();
/// The window's refusal to export a table of 65,001 rows or more.
ExchangeMessage windowTooLargeForExport(int rowCount);
/// The window's refusal of an import row count above 50,000.
ExchangeMessage rowLimitExceeded();

/// The grid's own refusal when the spreadsheet program was unavailable at start-up.
ExchangeMessage listExcelUnavailable();
/// The grid's own refusal to export more than 65,500 rows.
ExchangeMessage listTooLargeForExport();

/// Texts longer than a spreadsheet cell holds were exported cut.
ExchangeMessage textsCut(int count);

} // namespace ExchangeMessages
