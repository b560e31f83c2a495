#include "QelTableWriter.h"

#include "QelCellLine.h"
#include "QelChunkWriter.h"
#include "QelDecimal.h"
#include "QelHeaderLine.h"
#include "QelLineText.h"
#include "QelScrambler.h"
#include "Table.h"

void QelTableWriter::writeProtectedStart(QelChunkWriter& out, QStringView password) {
    QByteArray& buffer = out.buffer();
    buffer.append("#@#\r\n", 5);
    QelLineText::appendUtf8(buffer, password);
    buffer.append("\r\n", 2);
}

bool QelTableWriter::writeTableLines(const Table& table, QelChunkWriter& out) {
    QByteArray& buffer = out.buffer();
    const int columns = table.ColumnCount();
    QelHeaderLine::appendStart(buffer, columns);
    for (int c = 1; c <= columns; ++c) {
        QelHeaderLine::appendColumn(buffer, table.GetColumnHeader(c), table.GetWidthColumn(c));
    }
    QelHeaderLine::appendEnd(buffer);

    const int rows = table.ListCount();
    buffer.append("\\\\", 2);
    QelDecimal::append(buffer, rows);
    buffer.append("\r\n", 2);

    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) {
            const CellRef cell = table.cellAt(r, c);
            if (!cell.Text.isEmpty()) {
                QelCellLine::append(buffer, cell.Text, cell.Color, cell.Bold, cell.Underlined,
                                    cell.Itallic, c, r);
            }
        }
        if (buffer.size() >= QelScrambler::ChunkSize && !out.flushFullChunks()) {
            return false;
        }
    }
    return !out.failed();
}
