#include "exchange/sheets/SpreadsheetFile.h"

#include "exchange/sheets/DelimitedTextReader.h"
#include "exchange/sheets/HtmlTableReader.h"
#include "exchange/sheets/XlsReader.h"
#include "exchange/sheets/XlsxReader.h"

#include <QFile>
#include <QFileInfo>

namespace SpreadsheetFile {
namespace {

constexpr qint64 kHeadBytes = 4096;

bool startsWith(QByteArrayView head, QByteArrayView magic) {
    return head.size() >= magic.size() && head.first(magic.size()) == magic;
}

QByteArray skipLeadingSpace(QByteArrayView head) {
    qsizetype i = startsWith(head, "\xEF\xBB\xBF") ? 3 : 0;
    while (i < head.size() && (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' ||
                               head[i] == '\n' || head[i] == '\f')) {
        ++i;
    }
    return head.sliced(i).toByteArray().toLower();
}

} // namespace

Format detect(QByteArrayView head, QStringView suffix) {
    if (startsWith(head, "PK\x03\x04") || startsWith(head, "PK\x05\x06")) {
        return Format::Xlsx;
    }
    // A compound document, or a BIFF2..BIFF5 stream on its own (its BOF record).
    if (startsWith(head, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") ||
        (head.size() >= 4 && head[0] == '\x09' &&
         (head[1] == '\x00' || head[1] == '\x02' || head[1] == '\x04' || head[1] == '\x08') &&
         head[3] == '\x00')) {
        return Format::Xls;
    }
    if (suffix.compare(u"htm", Qt::CaseInsensitive) == 0 ||
        suffix.compare(u"html", Qt::CaseInsensitive) == 0) {
        return Format::Html;
    }
    // Markup first, and a table or page element in it: a page, whatever its name says.
    const QByteArray text = skipLeadingSpace(head);
    if (text.startsWith('<') &&
        (text.contains("<table") || text.contains("<html") || text.contains("<!doctype html"))) {
        return Format::Html;
    }
    return Format::DelimitedText;
}

Opened<SheetReader> open(const QString& path, ImportBudget* budget) {
    // A device or a pipe may never end (/dev/zero), and the import cannot be stopped.
    if (const QFileInfo info(path); info.exists() && !info.isFile()) {
        return Opened<SheetReader>::failed(
            FileResult::cannotRead(path, QStringLiteral("the path names no regular file")));
    }
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        return Opened<SheetReader>::failed(FileResult::cannotRead(path, file->errorString()));
    }
    const QByteArray head = file->peek(kHeadBytes);
    switch (detect(head, QFileInfo(path).suffix())) {
    case Format::Xlsx: {
        file.reset();
        Opened<XlsxReader> xlsx = XlsxReader::openFile(path, budget);
        return {std::move(xlsx.object), std::move(xlsx.result)};
    }
    case Format::Xls: {
        file.reset();
        Opened<XlsReader> xls = XlsReader::open(path, budget);
        return {std::move(xls.object), std::move(xls.result)};
    }
    // The text readers hold at most one cell's text of their own.
    case Format::Html:
        return {std::make_unique<HtmlTableReader>(std::move(file)), FileResult::done(path)};
    case Format::DelimitedText:
        return {std::make_unique<DelimitedTextReader>(std::move(file)), FileResult::done(path)};
    }
    return Opened<SheetReader>::failed(
        FileResult::cannotRead(path, QStringLiteral("the format is not known")));
}

} // namespace SpreadsheetFile
