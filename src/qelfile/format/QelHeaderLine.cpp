#include "qelfile/format/QelHeaderLine.h"

#include "qelfile/format/QelDecimal.h"
#include "qelfile/format/QelLineText.h"

namespace {

QelHeaderLine::Column columnFrom(QStringView piece) {
    const qsizetype bar = piece.lastIndexOf(u'|');
    if (bar < 0) {
        return {piece.toString(), QelHeaderLine::FallbackWidth};
    }
    const auto width = QelDecimal::parse(piece.sliced(bar + 1), 0, 32767);
    return {piece.first(bar).toString(), width ? int(*width) : QelHeaderLine::FallbackWidth};
}

} // namespace

std::optional<QelHeaderLine> QelHeaderLine::parse(QStringView line, int maxColumns) {
    // The count runs from the third character to the first "|" after the first character.
    const qsizetype bar = line.indexOf(u'|', 1);
    if (bar < 2) {
        return std::nullopt;
    }
    const auto count = QelDecimal::parse(line.sliced(2, bar - 2), INT32_MIN, INT32_MAX);
    const qsizetype marker = line.lastIndexOf(u"|#||");
    if (!count || marker < 0) {
        return std::nullopt;
    }
    QelHeaderLine header;
    header.ColumnCount = int(*count);
    // Nothing after the marker is no definition at all; otherwise every "||" starts one more,
    // an empty one included.
    QStringView rest = line.sliced(marker + 4);
    if (rest.isEmpty()) {
        return header;
    }
    while (header.Columns.size() < maxColumns) {
        const qsizetype split = rest.indexOf(u"||");
        header.Columns.append(columnFrom(split < 0 ? rest : rest.first(split)));
        if (split < 0) {
            break;
        }
        rest = rest.sliced(split + 2);
    }
    return header;
}

void QelHeaderLine::appendStart(QByteArray& out, int columnCount) {
    out.append("\\\\", 2);
    QelDecimal::append(out, columnCount);
    out.append("|#", 2);
}

void QelHeaderLine::appendColumn(QByteArray& out, QStringView caption, int width) {
    out.append("||", 2);
    QelLineText::appendUtf8(out, caption);
    out.append('|');
    QelDecimal::append(out, width);
}
