#include "RecordReader.h"

#include "RowBlock.h"

#include <limits>

bool RecordReader::skip(QStringView literal) {
    if (!m_text.mid(m_pos).startsWith(literal)) {
        return false;
    }
    m_pos += literal.size();
    return true;
}

std::optional<qint32> RecordReader::number() {
    qsizetype pos = m_pos;
    const bool negative = pos < m_text.size() && m_text[pos] == u'-';
    if (negative) {
        ++pos;
    }
    const qsizetype digitsStart = pos;
    qint64 value = 0;
    while (pos < m_text.size() && m_text[pos] >= u'0' && m_text[pos] <= u'9') {
        value = value * 10 + (m_text[pos].unicode() - u'0');
        if (value > qint64(1) << 31) {
            return std::nullopt;
        }
        ++pos;
    }
    if (pos == digitsStart) {
        return std::nullopt;
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max()) {
        return std::nullopt;
    }
    m_pos = pos;
    return qint32(value);
}

bool RecordReader::numbers(qint32* out, int count) {
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !skip(u"|")) {
            return false;
        }
        const auto value = number();
        if (!value) {
            return false;
        }
        out[i] = *value;
    }
    return true;
}

std::optional<QStringView> RecordReader::escapedText(QString& scratch) {
    const qsizetype start = m_pos;
    bool doubled = false;
    qsizetype pos = start;
    for (;;) {
        pos = m_text.indexOf(u'|', pos);
        if (pos < 0) {
            return std::nullopt;
        }
        if (pos + 1 < m_text.size() && m_text[pos + 1] == u'|') {
            doubled = true;
            pos += 2;
            continue;
        }
        break;
    }
    m_pos = pos + 1;
    const QStringView raw = m_text.mid(start, pos - start);
    if (!doubled) {
        return raw;
    }
    scratch.clear();
    scratch.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        scratch.append(raw[i]);
        if (raw[i] == u'|') {
            ++i; // the second of the pair
        }
    }
    return QStringView(scratch);
}

std::optional<quint8> RecordReader::flagTriple() {
    if (m_pos + 3 > m_text.size()) {
        return std::nullopt;
    }
    quint8 flags = 0;
    const quint8 order[3] = {RowBlock::BoldFlag, RowBlock::UnderlinedFlag, RowBlock::ItalicFlag};
    for (int i = 0; i < 3; ++i) {
        const QChar c = m_text[m_pos + i];
        if (c == u'1') {
            flags |= order[i];
        } else if (c != u'0') {
            return std::nullopt;
        }
    }
    m_pos += 3;
    return flags;
}
