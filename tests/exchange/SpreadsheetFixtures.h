#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class SheetCells;
class SheetReader;

/// Builders and readers for the spreadsheet tests: zip packages assembled from part texts,
/// the fixture folder, and sheets read back as lists of texts.
namespace SpreadsheetFixtures {

using Parts = QList<QPair<QString, QByteArray>>;

/// A zip archive of `parts` (name, content), deflated.
QByteArray zip(const Parts& parts);

/// The parts of a minimal .xlsx package around one worksheet, with optional shared strings,
/// styles and workbook properties (e.g. R"(<workbookPr date1904="1"/>)").
Parts package(const QByteArray& sheetData, const QByteArray& sharedStrings = {},
              const QByteArray& styles = {}, const QByteArray& workbookProperties = {});

/// A worksheet part holding `rows` (the <row> elements) in its <sheetData>.
QByteArray worksheet(const QByteArray& rows);

/// A legacy .xls workbook (BIFF8 in a compound file) of one sheet whose cells name strings
/// of its string table: `cells[r][c]` is the index of the string in row r + 1, column c + 1,
/// or -1 for an empty cell. The strings hold only characters up to U+00FF; a long one is
/// continued over several records, as spreadsheet programs write it.
QByteArray xls(const QStringList& strings, const QList<QList<int>>& cells);

/// Writes bytes to a file; false when it cannot.
bool writeFile(const QString& path, const QByteArray& bytes);

/// A file in tests/exchange/fixtures.
QString fixture(const QString& name);

/// Reads every row of `reader` into `cells` (at most `limit` rows); returns how many it read.
int readAll(SheetReader& reader, SheetCells& cells, int limit = 100000);

/// The texts of a row's columns 1..32, without the empty ones at its end.
QStringList row(const SheetCells& cells, int row);

} // namespace SpreadsheetFixtures
