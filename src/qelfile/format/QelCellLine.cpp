#include "qelfile/format/QelCellLine.h"

#include "qelfile/format/QelDecimal.h"
#include "qelfile/format/QelLineText.h"

#include <QtEndian>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the number field that ends before `end`, scanning leftwards over its digits and an
// optional leading "-" to the "#" in front of it, and returns that "#"'s position; -1 when the
// field is empty, holds any other character, does not fit 32 bits or has no "#" before it.
// Stopping at the first other character finds the same "#" as searching for the last one
// would: a field holding any other character is no number, and the line is skipped either way.
// One pass per field, as this runs for three fields of every cell of a file; inlined into the
// line's parse, where the calls cost as much as the scanning.
[[gnu::always_inline]] inline qsizetype readField(const char* line, qsizetype end, qint32& value) {
    qsizetype i = end - 1;
    qint64 magnitude = 0;
    qint64 scale = 1;
    for (; i >= 0 && isDigit(line[i]); --i) {
        if (scale <= 1000000000) {
            magnitude += (line[i] - '0') * scale;
            scale *= 10;
        } else if (line[i] != '0') {
            return -1; // a non-zero digit beyond the tenth: past 32 bits
        }
    }
    if (i == end - 1) {
        return -1;
    }
    const bool negative = i >= 0 && line[i] == '-';
    if (negative) {
        --i;
    }
    const qint64 v = negative ? -magnitude : magnitude;
    if (i < 0 || line[i] != '#' || v < INT32_MIN || v > INT32_MAX) {
        return -1;
    }
    value = qint32(v);
    return i;
}

// A short unsigned field ending before `end` (a column of one or two digits, a colour of one
// to three), read without a loop: returns its "#" and sets `value`, or -1 when the field has
// another form, which readField then decides on. Needs `end` >= 4.
[[gnu::always_inline]] inline qsizetype readShortField(const char* line, qsizetype end, int digits,
                                                       qint32& value) {
    const unsigned d1 = unsigned(line[end - 1] - '0');
    const unsigned d2 = unsigned(line[end - 2] - '0');
    const unsigned d3 = unsigned(line[end - 3] - '0');
    if (d1 > 9) {
        return -1;
    }
    if (line[end - 2] == '#') {
        value = qint32(d1);
        return end - 2;
    }
    if (d2 > 9) {
        return -1;
    }
    if (line[end - 3] == '#') {
        value = qint32(d2 * 10 + d1);
        return end - 3;
    }
    if (digits < 3 || d3 > 9 || line[end - 4] != '#') {
        return -1;
    }
    value = qint32(d3 * 100 + d2 * 10 + d1);
    return end - 4;
}

} // namespace

bool QelCellLine::parse(QByteArrayView line) {
    const char* data = line.data();
    // From the right: row, column, the three flags, colour; the text is all that is left.
    const qsizetype p4 = rowField(data, line.size());
    if (p4 < 0) {
        return false;
    }
    // The common line (a column of up to two digits, a colour of up to three, without signs)
    // is read field by field without a loop; any other takes the general reading.
    qsizetype p3 = p4 >= 12 ? readShortField(data, p4, 2, Column) : -1;
    if (p3 < 0) {
        p3 = readField(data, p4, Column);
    }
    if (p3 < 4 || data[p3 - 4] != '#' || !isDigit(data[p3 - 3]) || !isDigit(data[p3 - 2]) ||
        !isDigit(data[p3 - 1])) {
        return false;
    }
    qsizetype p1 = p3 >= 8 ? readShortField(data, p3 - 4, 3, Color) : -1;
    if (p1 < 0) {
        p1 = readField(data, p3 - 4, Color);
    }
    if (p1 < 0) {
        return false;
    }
    Text = line.first(p1);
    Bold = data[p3 - 3] != '0';
    Underlined = data[p3 - 2] != '0';
    Itallic = data[p3 - 1] != '0';
    return true;
}

qsizetype QelCellLine::rowField(const char* line, qsizetype size) {
    if (size < 8) {
        m_rowTailLength = 0;
        return readField(line, size, Row);
    }
    // Taken lowest byte first, so the line's last bytes are the word's top ones.
    const quint64 tail = qFromLittleEndian<quint64>(line + size - 8);
    if (m_rowTailLength && ((tail ^ m_rowTail) >> (64 - 8 * m_rowTailLength)) == 0) {
        return size - m_rowTailLength; // Row is still the last line's
    }
    const qsizetype p4 = readField(line, size, Row);
    m_rowTail = tail;
    m_rowTailLength = p4 >= 0 && size - p4 <= 8 ? size - p4 : 0;
    return p4;
}

qsizetype QelCellLine::maxSize(QStringView text) {
    return QelLineText::maxUtf8Size(text) + 3 * QelDecimal::MaxBytes + 10;
}

char* QelCellLine::write(char* out, QStringView text, qint32 color, bool bold, bool underlined,
                         bool itallic, int column, int row) {
    out = QelLineText::writeUtf8(out, text);
    *out++ = '#';
    out = QelDecimal::write(out, color);
    *out++ = '#';
    *out++ = bold ? '1' : '0';
    *out++ = underlined ? '1' : '0';
    *out++ = itallic ? '1' : '0';
    *out++ = '#';
    out = QelDecimal::write(out, column);
    *out++ = '#';
    out = QelDecimal::write(out, row);
    *out++ = '\r';
    *out++ = '\n';
    return out;
}
