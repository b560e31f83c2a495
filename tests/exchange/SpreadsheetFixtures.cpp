#include "SpreadsheetFixtures.h"

#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/SheetReader.h"

#include <QFile>

#include <zip.h>

namespace SpreadsheetFixtures {

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
