#pragma once

#include "SheetReader.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>

/// Opens a spreadsheet file with the reader its content calls for: a zip package is an .xlsx
/// workbook, a compound document or bare BIFF stream a legacy .xls workbook, a page with
/// markup an HTML table, anything else delimited text. The name's suffix only decides for
/// text that could be either.
namespace SpreadsheetFile {

enum class Format { Xlsx, Xls, Html, DelimitedText };

/// The format of a file that begins with `head` (its first bytes) and has the suffix `suffix`.
Format detect(QByteArrayView head, QStringView suffix);

struct Opened {
    std::unique_ptr<SheetReader> reader; // nullptr when the file cannot be read
    QString error;
};

/// Opens `path` for reading its first sheet.
Opened open(const QString& path);

} // namespace SpreadsheetFile
