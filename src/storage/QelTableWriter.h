#pragma once

#include <QStringView>

class QelChunkWriter;
class Table;

/// Writes a table as the lines of a database file.
class QelTableWriter final {
public:
    /// The two lines in front of the table in a protected file: "#@#" and the password.
    static void writeProtectedStart(QelChunkWriter& out, QStringView password);
    /// The header line, the row-count line and a cell line for every cell with text, rows in
    /// order and columns in order within a row. False when the device failed.
    static bool writeTableLines(const Table& table, QelChunkWriter& out);

    QelTableWriter() = delete;
};
