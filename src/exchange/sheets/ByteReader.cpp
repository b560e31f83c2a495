#include "exchange/sheets/ByteReader.h"

#include <QIODevice>

namespace {
constexpr qsizetype kChunk = 64 * 1024;
}

ByteReader::ByteReader(QIODevice& device) : m_device(device) {}

bool ByteReader::fill(qsizetype wanted) {
    // Keeps the unread bytes and appends until `wanted` of them are buffered or input ends.
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    while (m_buffer.size() < wanted && !m_atEnd) {
        const qsizetype old = m_buffer.size();
        const qsizetype want = qMax(kChunk, wanted - old);
        m_buffer.resize(old + want);
        const qint64 got = m_device.read(m_buffer.data() + old, want);
        m_buffer.resize(old + qMax<qint64>(got, 0));
        if (got <= 0) {
            m_atEnd = true;
        }
    }
    return m_buffer.size() > 0;
}

int ByteReader::refillAndGet() {
    return fill(1) ? quint8(m_buffer[m_pos++]) : EndOfInput;
}

int ByteReader::refillAndPeek() {
    return fill(1) ? quint8(m_buffer[m_pos]) : EndOfInput;
}

QByteArrayView ByteReader::lookAhead(qsizetype count) {
    if (m_buffer.size() - m_pos < count) {
        fill(count);
    }
    return QByteArrayView(m_buffer).sliced(m_pos, qMin(count, m_buffer.size() - m_pos));
}

void ByteReader::skip(qsizetype count) {
    m_pos = qMin(m_buffer.size(), m_pos + qMax<qsizetype>(count, 0));
}
