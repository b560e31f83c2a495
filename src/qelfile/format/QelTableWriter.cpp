#include "qelfile/format/QelTableWriter.h"

#include "qelfile/format/QelCellLine.h"
#include "qelfile/format/QelChunkWriter.h"
#include "qelfile/format/QelDecimal.h"
#include "qelfile/format/QelHeaderLine.h"
#include "qelfile/format/QelLineText.h"
#include "qelfile/format/QelScrambler.h"
#include "table/Table.h"

void QelTableWriter::writeProtectedStart(QelChunkWriter& out, QStringView password) {
    QByteArray lines("#@#\r\n");
    QelLineText::appendUtf8(lines, password);
    lines.append("\r\n", 2);
    out.append(lines);
}

bool QelTableWriter::writeTableLines(const Table& table, QelChunkWriter& out) {
    const int columns = table.ColumnCount();
    const int rows = table.ListCount();
    QByteArray lines;
    QelHeaderLine::appendStart(lines, columns);
    for (int c = 1; c <= columns; ++c) {
        QelHeaderLine::appendColumn(lines, table.GetColumnHeader(c), table.GetWidthColumn(c));
    }
    QelHeaderLine::appendEnd(lines);
    lines.append("\\\\", 2);
    QelDecimal::append(lines, rows);
    lines.append("\r\n", 2);
    out.append(lines);

    // Each line is formatted straight into the chunk buffer, in room reserved for its longest
    // form; a full chunk goes out as soon as a line completes it.
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) {
            const CellRef cell = table.cellAt(r, c);
            if (cell.Text.isEmpty()) {
                continue;
            }
            char* end =
                QelCellLine::write(out.reserve(QelCellLine::maxSize(cell.Text)), cell.Text,
                                   cell.Color, cell.Bold, cell.Underlined, cell.Itallic, c, r);
            out.commit(end);
            if (out.pending() >= QelScrambler::ChunkSize && !out.flushFullChunks()) {
                return false;
            }
        }
    }
    return !out.failed();
}
