#include "QelChunkWriter.h"

#include "QelScrambler.h"

#include <QIODevice>

QelChunkWriter::QelChunkWriter(QIODevice& device, bool scrambled)
    : m_device(device), m_scrambled(scrambled) {
    m_buffer.reserve(QelScrambler::ChunkSize + 64 * 1024);
}

bool QelChunkWriter::flushFullChunks() {
    const qint64 size = m_buffer.size();
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
    m_buffer.remove(0, start);
    return !m_failed;
}

bool QelChunkWriter::finish() {
    if (!flushFullChunks()) {
        return false;
    }
    const qint64 size = m_buffer.size();
    if (size == 0) {
        return true;
    }
    // A lone byte after full chunks is the extra byte of the last chunk, numbered on from it.
    const qint64 firstPosition = size == 1 && m_chunksWritten > 0 ? QelScrambler::ChunkSize + 1 : 1;
    const bool ok = write(m_buffer.data(), size, firstPosition);
    m_buffer.clear();
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
