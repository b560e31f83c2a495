#pragma once

#include <QString>
#include <QStringView>

/// How a spreadsheet value reads as text: numbers as the general format shows them, date and
/// time serial numbers as ISO dates and times, booleans as TRUE and FALSE.
namespace ExcelValueText {

/// What a cell's number format makes of its number. A duration is elapsed time ("[h]:mm"),
/// whose hours go on past a day.
enum class NumberKind { Number, Date, DateTime, Time, Duration };

/// The general format: up to 15 significant digits, no trailing zeros, an exponent ("1E+20")
/// only for very large or very small magnitudes.
QString number(double value);

/// A serial day number (days since the workbook's epoch, the fraction being the time of day)
/// as "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "HH:MM:SS" (a duration's hours counting on). The 1900
/// system counts the nonexistent 29 February 1900 as day 60, as spreadsheets always have. A serial
/// outside the years 1900 (1904) to 9999 reads as a plain number.
QString serial(double value, NumberKind kind, bool date1904);

/// The text of a boolean cell's stored value "1" or "0"; any other value as it stands.
QString boolean(QStringView stored);

/// What a number format code shows: a number, a date, a date and time, or a time. Quoted
/// literals, escaped characters, colours, conditions and locales are not taken for date
/// parts; elapsed-time brackets ("[h]") make a duration.
NumberKind kindOfFormatCode(QStringView code);

/// The same for the number formats every workbook has without declaring them.
NumberKind kindOfBuiltInFormat(int id);

} // namespace ExcelValueText
