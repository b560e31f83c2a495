#pragma once

#include "exchange/sheets/SheetReader.h"
#include "text/FileResult.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>

class ImportBudget;

/// Opens a spreadsheet file with the reader its content calls for: a zip package is an .xlsx
/// workbook, a compound document or bare BIFF stream a legacy .xls workbook, a page with
/// markup an HTML table, anything else delimited text. The name's suffix only decides for
/// text that could be either.
namespace SpreadsheetFile {

enum class Format { Xlsx, Xls, Html, DelimitedText };

/// The format of a file that begins with `head` (its first bytes) and has the suffix `suffix`.
Format detect(QByteArrayView head, QStringView suffix);

/// Opens `path` for reading its first sheet: the reader, or nullptr and why. What the reader
/// itself holds is taken from `budget` (none: not bounded), which outlives it.
Opened<SheetReader> open(const QString& path, ImportBudget* budget = nullptr);

} // namespace SpreadsheetFile
