// Fuzzes the database file reader: any bytes, read as a .QEL file, in any of its forms. Beyond
// not crashing, the table read must be stable: writing it and reading that back must write the
// same bytes again (except where the format itself cannot carry a caption, see below).
#include "qelfile/DatabaseFile.h"
#include "qelfile/format/QelChunkWriter.h"
#include "qelfile/format/QelTableWriter.h"
#include "qelfile/read/QelTableReader.h"
#include "support/ScriptedPrompts.h"
#include "table/Table.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray readInto(Table& table, const QByteArray& bytes) {
    // Every password is let in but those starting with "x", so both paths are reached.
    ScriptedPrompts prompts;
    prompts.letsIn = [](const QString& stored) { return !stored.startsWith(u'x'); };
    DatabaseFile file(table, &prompts);
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    // A file that cannot be read is as good an input as any; the table is what is checked.
    (void)file.read(device, bytes.size(), QStringLiteral("fuzz.QEL"));

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QelChunkWriter writer(out, false);
    QelTableWriter::writeTableLines(table, writer);
    writer.finish();
    return out.data();
}

// A caption holding "|" can be cut differently when read back; the format has no escape.
bool captionsSurvive(const Table& table) {
    for (int c = 1; c <= table.ColumnCount(); ++c) {
        if (table.GetColumnHeader(c).contains(u'|')) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    Table first;
    const QByteArray written = readInto(first, input);
    // A row count is believed only as far as the file's size allows; the rewritten file may be
    // smaller than the input.
    if (!captionsSurvive(first) ||
        first.ListCount() > QelTableReader::maxRowCount(written.size())) {
        return 0;
    }
    Table second;
    if (readInto(second, written) != written) {
        std::abort();
    }
    return 0;
}
