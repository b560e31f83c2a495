#include "table/RecordReader.h"

#include "table/CharRuns.h"

#include "table/RowBlock.h"
#include "table/RowBuilder.h"
#include "table/RowDraft.h"

#include <cstring>
#include <limits>

namespace {

// The fields are read through a position held in a local of the caller, so that a whole row
// record is parsed with the position in a register instead of going through memory per field.

[[gnu::always_inline]] inline bool skipLiteral(const char16_t*& p, const char16_t* end,
                                               QStringView literal) {
    const qsizetype n = literal.size();
    if (end - p < n) {
        return false;
    }
    const auto* l = reinterpret_cast<const char16_t*>(literal.utf16());
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] != l[i]) {
            return false;
        }
    }
    p += n;
    return true;
}

[[gnu::always_inline]] inline bool skipChar(const char16_t*& p, const char16_t* end, char16_t c) {
    if (p == end || *p != c) {
        return false;
    }
    ++p;
    return true;
}

[[gnu::always_inline]] inline bool readNumber(const char16_t*& pos, const char16_t* end,
                                              qint32& out) {
    const char16_t* p = pos;
    // Most numbers in records are one digit (a column, colour 0): taken without the loop.
    if (end - p >= 2 && unsigned(p[0]) - u'0' < 10 && unsigned(p[1]) - u'0' >= 10) {
        out = qint32(p[0] - u'0');
        pos = p + 1;
        return true;
    }
    const bool negative = p != end && *p == u'-';
    if (negative) {
        ++p;
    }
    const char16_t* digits = p;
    qint64 value = 0;
    // Eleven digits already leave the 32-bit range; stopping there keeps value from overflowing.
    while (p != end && *p >= u'0' && *p <= u'9' && p - digits < 11) {
        value = value * 10 + (*p - u'0');
        ++p;
    }
    if (p == digits || (p != end && *p >= u'0' && *p <= u'9')) {
        return false;
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max()) {
        return false;
    }
    pos = p;
    out = qint32(value);
    return true;
}

[[gnu::always_inline]] inline bool readEscaped(const char16_t*& pos, const char16_t* end,
                                               QString& unescaped, QStringView& out) {
    const char16_t* start = pos;
    const char16_t* p = start;
    bool doubled = false;
    for (;;) {
        p = CharRuns::find(p, end, u'|');
        if (p == end) {
            return false;
        }
        if (p + 1 != end && p[1] == u'|') {
            doubled = true;
            p += 2;
            continue;
        }
        break;
    }
    pos = p + 1;
    const QStringView raw(start, p - start);
    if (!doubled) {
        out = raw;
        return true;
    }
    if (unescaped.capacity() == 0) {
        unescaped.reserve(end - start);
    }
    const qsizetype first = unescaped.size();
    for (qsizetype i = 0; i < raw.size(); ++i) {
        unescaped.append(raw[i]);
        if (raw[i] == u'|') {
            ++i; // the second of the pair
        }
    }
    out = QStringView(unescaped).mid(first);
    return true;
}

[[gnu::always_inline]] inline bool readFlags(const char16_t*& p, const char16_t* end, quint8& out) {
    if (end - p < 3) {
        return false;
    }
    // Each character's distance from "0" is its flag, and none may be above 1: no branch per
    // flag, whose outcome the processor could not guess.
    const unsigned bold = unsigned(p[0]) - u'0';
    const unsigned underlined = unsigned(p[1]) - u'0';
    const unsigned italic = unsigned(p[2]) - u'0';
    if ((bold | underlined | italic) > 1) {
        return false;
    }
    out = quint8(bold * RowBlock::BoldFlag | underlined * RowBlock::UnderlinedFlag |
                 italic * RowBlock::ItalicFlag);
    p += 3;
    return true;
}

// text + "|" + flags + "|" + colour into the row's slot.
template <typename Row>
[[gnu::always_inline]] inline bool readCell(const char16_t*& p, const char16_t* end,
                                            QString& unescaped, Row& row, int slot) {
    QStringView text;
    quint8 flags = 0;
    qint32 color = 0;
    if (!readEscaped(p, end, unescaped, text) || !readFlags(p, end, flags) ||
        !skipChar(p, end, u'|') || !readNumber(p, end, color)) {
        return false;
    }
    row.setCell(slot, text, flags, color);
    return true;
}

// Four units as one word, the first in the low bits.
[[gnu::always_inline]] inline quint64 load4(const char16_t* p) {
    quint64 word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

constexpr quint64 units4(char16_t a, char16_t b, char16_t c, char16_t d) {
    return quint64(a) | quint64(b) << 16 | quint64(c) << 32 | quint64(d) << 48;
}

// One part "|#|" + column + "|" + text + "|" + flags + "|" + colour of the common form (a text
// without "|", a column of one or two digits) read with a few word loads and no loop but the
// searches for the text's end and through a colour of several digits. False, having consumed
// nothing, for every other part, which the general reader then takes.
template <typename Row>
[[gnu::always_inline]] inline bool readPlainPart(const char16_t*& pos, const char16_t* end,
                                                 Row& row) {
    const char16_t* p = pos;
    if (end - p < 8 ||
        (load4(p) & units4(0xFFFF, 0xFFFF, 0xFFFF, 0)) != units4(u'|', u'#', u'|', 0)) {
        return false;
    }
    const unsigned tens = unsigned(p[3]) - u'0';
    const unsigned ones = unsigned(p[4]) - u'0';
    unsigned column = tens;
    const char16_t* text = p + 5;
    if (p[4] != u'|') {
        if (ones > 9 || p[5] != u'|') {
            return false;
        }
        column = tens * 10 + ones;
        text = p + 6;
    }
    if (tens > 9 || column - 1 >= 32) {
        return false;
    }
    const char16_t* bar = CharRuns::findNear(text, end, u'|');
    // The text's "|", three flags, "|" and at least one digit of the colour.
    if (end - bar < 6 || bar[1] == u'|') {
        return false;
    }
    // Each flag's distance from "0" is its value, and the fourth unit must be the "|".
    const quint64 flags = load4(bar + 1) ^ units4(u'0', u'0', u'0', u'|');
    if (flags & ~units4(1, 1, 1, 0)) {
        return false;
    }
    const char16_t* next = bar + 5;
    qint32 color = qint32(unsigned(*next) - u'0');
    if (unsigned(color) <= 9 && (next + 1 == end || next[1] == u'|')) {
        ++next;
    } else if (!readNumber(next, end, color) || (next != end && *next != u'|')) {
        return false;
    }
    // The three flags side by side (bold, underline, italic, as the record has them) pick the
    // flag bits.
    constexpr quint8 FlagBits[8] = {
        0,
        RowBlock::BoldFlag,
        RowBlock::UnderlinedFlag,
        RowBlock::BoldFlag | RowBlock::UnderlinedFlag,
        RowBlock::ItalicFlag,
        RowBlock::BoldFlag | RowBlock::ItalicFlag,
        RowBlock::UnderlinedFlag | RowBlock::ItalicFlag,
        RowBlock::BoldFlag | RowBlock::UnderlinedFlag | RowBlock::ItalicFlag,
    };
    row.setCell(int(column), QStringView(text, bar - text),
                FlagBits[(flags | flags >> 15 | flags >> 30) & 7], color);
    pos = next;
    return true;
}

} // namespace

RecordReader::RecordReader(QStringView text)
    : m_pos(reinterpret_cast<const char16_t*>(text.utf16())), m_end(m_pos + text.size()) {}

bool RecordReader::skip(QStringView literal) {
    return skipLiteral(m_pos, m_end, literal);
}

bool RecordReader::number(qint32& out) {
    return readNumber(m_pos, m_end, out);
}

bool RecordReader::rowHead(qint32& row) {
    return readNumber(m_pos, m_end, row) && skipChar(m_pos, m_end, u'|');
}

bool RecordReader::numbers(qint32* out, int count) {
    for (int i = 0; i < count; ++i) {
        if ((i > 0 && !skipChar(m_pos, m_end, u'|')) || !readNumber(m_pos, m_end, out[i])) {
            return false;
        }
    }
    return true;
}

bool RecordReader::escapedText(QStringView& out) {
    return readEscaped(m_pos, m_end, m_unescaped, out);
}

bool RecordReader::columnHead(qint32& column, QStringView& caption, qint32& width) {
    return number(column) && skip(u"|") && escapedText(caption) && number(width);
}

bool RecordReader::cell(RowBuilder& row, int slot) {
    return readCell(m_pos, m_end, m_unescaped, row, slot);
}

bool RecordReader::cellParts(RowDraft& row) {
    const char16_t* p = m_pos;
    bool ok = true;
    while (p != m_end) {
        if (readPlainPart(p, m_end, row)) {
            continue;
        }
        qint32 column = 0;
        if (!skipLiteral(p, m_end, u"|#|") || !readNumber(p, m_end, column) || column < 1 ||
            column > 32 || !skipChar(p, m_end, u'|') ||
            !readCell(p, m_end, m_unescaped, row, column)) {
            ok = false;
            break;
        }
    }
    m_pos = p;
    return ok;
}
