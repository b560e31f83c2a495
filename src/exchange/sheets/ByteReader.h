#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

class QIODevice;

/// Buffered byte-by-byte input from a device, for the text formats' hand-written parsers.
class ByteReader final {
public:
    static constexpr int EndOfInput = -1;

    explicit ByteReader(QIODevice& device);
    Q_DISABLE_COPY_MOVE(ByteReader)

    /// The next byte (0..255), or EndOfInput.
    int get() { return m_pos < m_buffer.size() ? quint8(m_buffer[m_pos++]) : refillAndGet(); }
    /// The next byte without taking it, or EndOfInput.
    int peek() { return m_pos < m_buffer.size() ? quint8(m_buffer[m_pos]) : refillAndPeek(); }
    /// Up to `count` of the next bytes without taking them (fewer only at the end of input).
    QByteArrayView lookAhead(qsizetype count);
    /// Takes `count` bytes that lookAhead() showed.
    void skip(qsizetype count);

private:
    bool fill(qsizetype wanted);
    int refillAndGet();
    int refillAndPeek();

    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_atEnd = false;
};
