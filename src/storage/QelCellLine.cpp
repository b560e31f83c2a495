#include "QelCellLine.h"

#include "QelDecimal.h"
#include "QelLineText.h"

namespace {

std::optional<bool> flag(char c) {
    if (c < '0' || c > '9') {
        return std::nullopt;
    }
    return c != '0';
}

} // namespace

std::optional<QelCellLine> QelCellLine::parse(QByteArrayView line) {
    const qsizetype p4 = line.lastIndexOf('#');
    if (p4 < 0) {
        return std::nullopt;
    }
    const qsizetype p3 = line.first(p4).lastIndexOf('#');
    // The flags sit between the "#" at p3 - 4 and the one at p3.
    if (p3 < 4 || line[p3 - 4] != '#') {
        return std::nullopt;
    }
    const qsizetype p1 = line.first(p3 - 4).lastIndexOf('#');
    if (p1 < 0) {
        return std::nullopt;
    }
    const auto bold = flag(line[p3 - 3]);
    const auto underlined = flag(line[p3 - 2]);
    const auto itallic = flag(line[p3 - 1]);
    const auto row = QelDecimal::parseInt32(line.sliced(p4 + 1));
    const auto column = QelDecimal::parseInt32(line.sliced(p3 + 1, p4 - p3 - 1));
    const auto color = QelDecimal::parseInt32(line.sliced(p1 + 1, p3 - 4 - p1 - 1));
    if (!bold || !underlined || !itallic || !row || !column || !color) {
        return std::nullopt;
    }
    return QelCellLine{line.first(p1), *color, *bold, *underlined, *itallic, *column, *row};
}

void QelCellLine::append(QByteArray& out, QStringView text, qint32 color, bool bold,
                         bool underlined, bool itallic, int column, int row) {
    QelLineText::appendUtf8(out, text);
    out.append('#');
    QelDecimal::append(out, color);
    const char tail[] = {'#', bold ? '1' : '0', underlined ? '1' : '0', itallic ? '1' : '0', '#'};
    out.append(tail, sizeof tail);
    QelDecimal::append(out, column);
    out.append('#');
    QelDecimal::append(out, row);
    out.append("\r\n", 2);
}
