#include "qelfile/format/QelChunkWriter.h"

#include "qelfile/format/QelScrambler.h"

#include <QIODevice>

#include <cstring>

namespace {

// A chunk and room for the line that completes it.
constexpr qsizetype kBufferBytes = QelScrambler::ChunkSize + 64 * 1024;

} // namespace

QelChunkWriter::QelChunkWriter(QIODevice& device, bool scrambled)
    : m_device(device), m_scrambled(scrambled), m_buffer(kBufferBytes, Qt::Uninitialized) {}

char* QelChunkWriter::reserve(qsizetype bytes) {
    if (bytes > m_buffer.size() - m_used) {
        m_buffer.resize(m_used + bytes);
    }
    return m_buffer.data() + m_used;
}

void QelChunkWriter::append(QByteArrayView bytes) {
    char* out = reserve(bytes.size());
    std::memcpy(out, bytes.data(), size_t(bytes.size()));
    commit(out + bytes.size());
}

bool QelChunkWriter::flushFullChunks() {
    const qint64 size = m_used;
    if (size < QelScrambler::ChunkSize) {
        return !m_failed;
    }
    qint64 start = 0;
    for (; size - start >= QelScrambler::ChunkSize; start += QelScrambler::ChunkSize) {
        // A full chunk is numbered 1 to ChunkSize whatever follows it.
        if (!write(m_buffer.data() + start, QelScrambler::ChunkSize, 1)) {
            break;
        }
        ++m_chunksWritten;
    }
    // The rest of the last line moves to the front; a buffer grown for a huge line shrinks back.
    std::memmove(m_buffer.data(), m_buffer.constData() + start, size_t(size - start));
    m_used = size - start;
    if (m_buffer.size() > 2 * kBufferBytes) {
        m_buffer.resize(qMax(m_used, kBufferBytes));
        m_buffer.squeeze();
    }
    return !m_failed;
}

bool QelChunkWriter::finish() {
    if (!flushFullChunks()) {
        return false;
    }
    const qint64 size = m_used;
    if (size == 0) {
        return true;
    }
    // A lone byte after full chunks is the extra byte of the last chunk, numbered on from it.
    const qint64 firstPosition = size == 1 && m_chunksWritten > 0 ? QelScrambler::ChunkSize + 1 : 1;
    const bool ok = write(m_buffer.data(), size, firstPosition);
    m_used = 0;
    return ok;
}

bool QelChunkWriter::write(char* data, qint64 size, qint64 firstPosition) {
    if (m_failed) {
        return false;
    }
    if (m_scrambled) {
        QelScrambler::scramble(data, size, firstPosition);
    }
    if (m_device.write(data, size) != size) {
        m_failed = true;
        m_error = m_device.errorString();
    }
    return !m_failed;
}
