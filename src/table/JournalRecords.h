#pragma once

#include "table/Cell.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <initializer_list>

class RecordChunks;
class RowBlock;

/// Builds the texts of journal records and reads back the per-cell parts of row, clear and
/// column records. Texts and captions inside those records have every "|" doubled so that
/// any text comes back whole; a text without "|" is written exactly as it stands.
namespace JournalRecords {

/// tag + numbers separated by "|": "#ADDITM#4", "#SETWDT#2|100", "#SETCLR#3|2|255".
QString tagged(QStringView tag, std::initializer_list<qint64> numbers);
/// tag + numbers + "|" + text, the text as it stands, as the rest of the record:
/// "#SETCLH#2|Name", "#SETTXT#3|2|old text".
QString taggedText(QStringView tag, std::initializer_list<qint64> numbers, QStringView text);

/// "#REMITM#" + row + "|" and "|#|" + k + "|" + text + "|" + flags + "|" + colour for every
/// column k = 1..columns, empty ones included.
QString removedRow(int row, const RowBlock* block, int columns);
/// A row of the clear group: row + "|" and the parts of the columns with text; the empty
/// record when no column 1..columns has text. Written into the group's shared blocks.
QString clearedRow(RecordChunks& chunks, int row, const RowBlock* block, int columns);
/// A cell of the column group: text + "|" + flags + "|" + colour; empty for an empty text.
/// Written into the group's shared blocks.
QString columnCell(RecordChunks& chunks, const CellRef& cell);
/// tag + column + "|" + caption + "|" + width: the column group's head and the long
/// "#ADDCLM#" form.
QString columnHead(QStringView tag, int column, QStringView caption, int width);

} // namespace JournalRecords
