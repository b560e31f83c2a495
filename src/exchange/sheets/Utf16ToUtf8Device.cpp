#include "exchange/sheets/Utf16ToUtf8Device.h"

#include <cstring>

Utf16ToUtf8Device::Utf16ToUtf8Device(QIODevice& source, bool bigEndian)
    : m_source(source), m_decoder(bigEndian ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool Utf16ToUtf8Device::atEnd() const {
    return m_sourceDone && m_pendingPos >= m_pending.size();
}

qint64 Utf16ToUtf8Device::readData(char* data, qint64 maxSize) {
    while (m_pendingPos >= m_pending.size() && !m_sourceDone) {
        const QByteArray chunk = m_source.read(64 * 1024);
        if (chunk.isEmpty()) {
            m_sourceDone = true;
        }
        // The decoder keeps a code unit or surrogate pair split between chunks; an odd byte
        // at the very end is dropped.
        const QString text = chunk.isEmpty() ? QString() : QString(m_decoder.decode(chunk));
        m_pending = text.toUtf8();
        m_pendingPos = 0;
    }
    const qint64 n = qMin<qint64>(maxSize, m_pending.size() - m_pendingPos);
    if (n <= 0) {
        return m_sourceDone ? -1 : 0;
    }
    std::memcpy(data, m_pending.constData() + m_pendingPos, size_t(n));
    m_pendingPos += n;
    return n;
}
