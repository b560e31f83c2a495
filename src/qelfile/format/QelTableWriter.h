#pragma once

#include <QStringView>

class QelChunkWriter;
class Table;

/// Writes a table as the lines of a database file.
namespace QelTableWriter {

/// The two lines in front of the table in a protected file: "#@#" and the password.
void writeProtectedStart(QelChunkWriter& out, QStringView password);
/// The header line, the row-count line and a cell line for every cell with text, rows in
/// order and columns in order within a row. False when the device failed.
bool writeTableLines(const Table& table, QelChunkWriter& out);

} // namespace QelTableWriter
