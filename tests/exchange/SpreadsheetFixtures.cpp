#include "SpreadsheetFixtures.h"

#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/SheetReader.h"

#include <QFile>
#include <QtEndian>

#include <zip.h>

namespace SpreadsheetFixtures {
namespace {

// BIFF8 and its compound file, written as the record layouts describe them.
constexpr int kSector = 512;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFree = 0xFFFFFFFF;
constexpr quint32 kFatSector = 0xFFFFFFFD;
constexpr qsizetype kMaxRecordData = 8224;
constexpr quint16 kGeneralFormat = 16; // the cell format after the 16 style formats

void put16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void put32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

QByteArray record(quint16 type, const QByteArray& body = {}) {
    QByteArray out;
    put16(out, type);
    put16(out, quint16(body.size()));
    return out + body;
}

QByteArray bof(quint16 kind) {
    QByteArray body;
    put16(body, 0x0600); // BIFF8
    put16(body, kind);
    put16(body, 0x0DBB);
    put16(body, 0x07CC);
    put32(body, 0);
    put32(body, 6);
    return record(0x0809, body);
}

// The string table, continued in CONTINUE records where it outgrows one record; a string's
// characters may be split, each continued part starting with its encoding byte.
QByteArray sharedStringTable(const QStringList& strings) {
    QByteArray records;
    QByteArray current;
    quint16 type = 0x00FC;
    const auto flush = [&] {
        records += record(type, current);
        current.clear();
        type = 0x003C;
    };
    put32(current, quint32(strings.size()));
    put32(current, quint32(strings.size()));
    for (const QString& string : strings) {
        const QByteArray latin1 = string.toLatin1();
        if (current.size() + 3 > kMaxRecordData) {
            flush();
        }
        put16(current, quint16(latin1.size()));
        current.append('\0'); // 8-bit characters
        qsizetype done = 0;
        while (done < latin1.size()) {
            if (current.size() == kMaxRecordData) {
                flush();
                current.append('\0');
            }
            const qsizetype part = qMin(kMaxRecordData - current.size(), latin1.size() - done);
            current.append(latin1.mid(done, part));
            done += part;
        }
    }
    flush();
    return records;
}

// `padding` user name records make a small workbook's stream long enough for regular sectors.
QByteArray globals(const QStringList& strings, quint32 sheetOffset, int padding) {
    QByteArray body = bof(0x0005);
    QByteArray codePage;
    put16(codePage, 1200); // UTF-16
    body += record(0x0042, codePage);
    body += record(0x0022, QByteArray(2, '\0')); // the 1900 date system
    for (int i = 0; i < padding; ++i) {
        body += record(0x005C, QByteArray(112, ' '));
    }
    for (int i = 0; i < 5; ++i) {
        QByteArray font;
        for (const quint16 field : {200, 0, 0x7FFF, 400, 0}) {
            put16(font, field);
        }
        font += QByteArray("\x00\x02\x00\x00\x05\x01", 6);
        font += QByteArray("A\0r\0i\0a\0l\0", 10);
        body += record(0x0031, font);
    }
    for (int i = 0; i <= kGeneralFormat; ++i) {
        QByteArray xf;
        put16(xf, 0);                                    // font
        put16(xf, 0);                                    // number format: General
        put16(xf, i < kGeneralFormat ? 0xFFF4 : 0x0000); // style, or a cell of the Normal style
        xf += QByteArray(14, '\0');
        body += record(0x00E0, xf);
    }
    body += sharedStringTable(strings);
    QByteArray sheet;
    put32(sheet, sheetOffset);
    sheet += QByteArray("\x00\x00\x04\x00Data", 8);
    body += record(0x0085, sheet);
    return body + record(0x000A);
}

QByteArray sheetStream(const QList<QList<int>>& cells) {
    qsizetype columns = 0;
    for (const QList<int>& row : cells) {
        columns = qMax(columns, row.size());
    }
    QByteArray body = bof(0x0010);
    QByteArray dimensions;
    put32(dimensions, 0);
    put32(dimensions, quint32(cells.size()));
    put16(dimensions, 0);
    put16(dimensions, quint16(columns));
    put16(dimensions, 0);
    body += record(0x0200, dimensions);
    for (qsizetype r = 0; r < cells.size(); ++r) {
        for (qsizetype c = 0; c < cells[r].size(); ++c) {
            if (cells[r][c] < 0) {
                continue;
            }
            QByteArray label;
            put16(label, quint16(r));
            put16(label, quint16(c));
            put16(label, kGeneralFormat);
            put32(label, quint32(cells[r][c]));
            body += record(0x00FD, label);
        }
    }
    return body + record(0x000A);
}

QByteArray directoryEntry(const QString& name, quint8 kind, quint32 child, quint32 start,
                          quint32 size) {
    QByteArray entry(64, '\0');
    qsizetype nameBytes = 0;
    if (!name.isEmpty()) {
        const QString terminated = name + QChar(0);
        nameBytes = terminated.size() * 2;
        for (qsizetype i = 0; i < terminated.size(); ++i) {
            qToLittleEndian(terminated[i].unicode(), entry.data() + 2 * i);
        }
    }
    put16(entry, quint16(nameBytes));
    entry.append(char(kind));
    entry.append(char(1)); // black
    put32(entry, kFree);   // left sibling
    put32(entry, kFree);   // right sibling
    put32(entry, child);
    entry += QByteArray(16 + 4 + 16, '\0'); // class, state bits, times
    put32(entry, start);
    put32(entry, size);
    put32(entry, 0);
    return entry;
}

// A compound file holding `stream` as its "Workbook" stream, in regular sectors (so at least
// 4096 bytes long), with as many FAT sectors as it needs.
QByteArray compoundFile(QByteArray stream) {
    const qsizetype dataSectors = (stream.size() + kSector - 1) / kSector;
    qsizetype fatSectors = 1;
    while (fatSectors * (kSector / 4) < dataSectors + 1 + fatSectors) {
        ++fatSectors;
    }
    const quint32 directorySector = quint32(dataSectors);
    QByteArray header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header += QByteArray(16, '\0');
    for (const quint16 field : {0x003E, 3, 0xFFFE, 9, 6}) {
        put16(header, field);
    }
    header += QByteArray(6, '\0');
    for (const quint32 field : {quint32(0), quint32(fatSectors), directorySector, quint32(0),
                                quint32(4096), kEndOfChain, quint32(0), kEndOfChain, quint32(0)}) {
        put32(header, field);
    }
    for (qsizetype i = 0; i < 109; ++i) {
        put32(header, i < fatSectors ? quint32(dataSectors + 1 + i) : kFree);
    }
    QByteArray directory = directoryEntry(QStringLiteral("Root Entry"), 5, 1, kEndOfChain, 0);
    directory += directoryEntry(QStringLiteral("Workbook"), 2, kFree, 0, quint32(stream.size()));
    directory += directoryEntry(QString(), 0, kFree, 0, 0);
    directory += directoryEntry(QString(), 0, kFree, 0, 0);
    QByteArray fat;
    for (qsizetype i = 0; i < dataSectors; ++i) {
        put32(fat, i + 1 < dataSectors ? quint32(i + 1) : kEndOfChain);
    }
    put32(fat, kEndOfChain); // the directory
    for (qsizetype i = 0; i < fatSectors; ++i) {
        put32(fat, kFatSector);
    }
    while (fat.size() < fatSectors * kSector) {
        put32(fat, kFree);
    }
    stream.resize(dataSectors * kSector, '\0');
    return header + stream + directory + fat;
}

} // namespace

QByteArray zip(const Parts& parts) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(target);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    for (const auto& [name, content] : parts) {
        zip_source_t* source =
            zip_source_buffer(archive, content.constData(), zip_uint64_t(content.size()), 0);
        zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_OVERWRITE);
    }
    zip_close(archive);
    QByteArray bytes;
    if (zip_source_open(target) == 0) {
        zip_source_seek(target, 0, SEEK_END);
        const zip_int64_t size = zip_source_tell(target);
        zip_source_seek(target, 0, SEEK_SET);
        bytes.resize(qsizetype(size));
        zip_source_read(target, bytes.data(), zip_uint64_t(size));
        zip_source_close(target);
    }
    zip_source_free(target);
    zip_error_fini(&error);
    return bytes;
}

QByteArray worksheet(const QByteArray& rows) {
    return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
           R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
           "<sheetData>" +
           rows + "</sheetData></worksheet>";
}

Parts package(const QByteArray& sheetData, const QByteArray& sharedStrings,
              const QByteArray& styles, const QByteArray& workbookProperties) {
    const QByteArray relationship =
        "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    QByteArray workbookRels =
        R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type=")" +
        relationship + R"(worksheet" Target="worksheets/sheet1.xml"/>)";
    if (!sharedStrings.isEmpty()) {
        workbookRels += R"(<Relationship Id="rId2" Type=")" + relationship +
                        R"(sharedStrings" Target="sharedStrings.xml"/>)";
    }
    if (!styles.isEmpty()) {
        workbookRels +=
            R"(<Relationship Id="rId3" Type=")" + relationship + R"(styles" Target="styles.xml"/>)";
    }
    workbookRels += "</Relationships>";
    Parts parts{
        {"[Content_Types].xml",
         R"(<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>)"},
        {"_rels/.rels",
         R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type=")" +
             relationship + R"(officeDocument" Target="xl/workbook.xml"/></Relationships>)"},
        {"xl/workbook.xml",
         R"(<?xml version="1.0"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
         R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)" +
             workbookProperties +
             R"(<sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>)"},
        {"xl/_rels/workbook.xml.rels", workbookRels},
        {"xl/worksheets/sheet1.xml", sheetData},
    };
    if (!sharedStrings.isEmpty()) {
        parts.append({"xl/sharedStrings.xml", sharedStrings});
    }
    if (!styles.isEmpty()) {
        parts.append({"xl/styles.xml", styles});
    }
    return parts;
}

QByteArray xls(const QStringList& strings, const QList<QList<int>>& cells) {
    // Below 4096 bytes a stream would live in the mini stream. The workbook's globals name the
    // offset of the sheet that follows them.
    const QByteArray sheet = sheetStream(cells);
    const qsizetype unpadded = globals(strings, 0, 0).size() + sheet.size();
    const int padding = unpadded < 4096 ? int((4096 - unpadded) / 116 + 1) : 0;
    const qsizetype globalsSize = globals(strings, 0, padding).size();
    return compoundFile(globals(strings, quint32(globalsSize), padding) + sheet);
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString fixture(const QString& name) {
    return QStringLiteral(QEL_FIXTURES_DIR "/") + name;
}

int readAll(SheetReader& reader, SheetCells& cells, int limit) {
    int rows = 0;
    while (rows < limit && reader.readNextRow(cells) > 0) {
        ++rows;
    }
    return rows;
}

QStringList row(const SheetCells& cells, int rowNumber) {
    QStringList texts;
    for (int column = 1; column <= 32; ++column) {
        texts.append(cells.at(rowNumber, column).toString());
    }
    while (!texts.isEmpty() && texts.last().isEmpty()) {
        texts.removeLast();
    }
    return texts;
}

} // namespace SpreadsheetFixtures
