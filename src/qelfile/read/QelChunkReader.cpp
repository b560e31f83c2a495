#include "qelfile/read/QelChunkReader.h"

#include "qelfile/format/QelScrambler.h"
#include "qelfile/read/LineSplitter.h"

#include <QIODevice>

#include <cstring>

namespace {

// Reads up to `size` bytes, across short reads; -1 on a read error.
qint64 readFully(QIODevice& device, char* data, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const qint64 got = device.read(data + done, size - done);
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

} // namespace

QelChunkReader::QelChunkReader(QIODevice& device, qint64 size, qint64 from,
                               std::optional<bool> scrambled)
    : m_device(device), m_size(size), m_piece(qsizetype(qMin(size, PieceSize)), Qt::Uninitialized),
      m_position(from), m_known(scrambled.has_value()) {
    m_outcome.scrambled = scrambled.value_or(false);
    // Unscrambling needs each byte's position within its chunk, and the chunks are laid out
    // from the start of the file.
    for (qint64 remaining = size; remaining > 0;) {
        m_chunkSize = QelScrambler::nextChunkSize(remaining);
        if (m_chunkStart + m_chunkSize > from) {
            break;
        }
        m_chunkStart += m_chunkSize;
        remaining -= m_chunkSize;
    }
}

bool QelChunkReader::readPiece(LineSplitter& splitter) {
    if (m_ended) {
        return false;
    }
    if (m_position >= m_size) {
        m_ended = true;
        splitter.finish();
        return false;
    }
    if (m_position >= m_chunkStart + m_chunkSize) {
        m_chunkStart += m_chunkSize;
        m_chunkSize = QelScrambler::nextChunkSize(m_size - m_chunkStart);
    }
    const qint64 inChunk = m_position - m_chunkStart;
    const qint64 wanted = qMin(m_position == 0 ? FirstPieceSize : PieceSize, m_chunkSize - inChunk);
    const qint64 got = readFully(m_device, m_piece.data(), wanted);
    if (got < 0) {
        m_outcome.error = m_device.errorString();
        m_ended = true;
        return false;
    }
    if (!m_known) {
        m_outcome.scrambled = QelScrambler::hasScrambledMark(QByteArrayView(m_piece.data(), got));
        m_known = true;
    }
    if (m_outcome.scrambled) {
        QelScrambler::scramble(m_piece.data(), got, inChunk + 1);
    }
    qint64 use = got;
    bool last = got < wanted; // a file that shrank while being read ends where its bytes end
    if (m_endFrom >= 0 && m_position + got > m_endFrom) {
        const qint64 from = qMax<qint64>(m_endFrom - m_position, 0);
        if (const auto* cr = static_cast<const char*>(
                std::memchr(m_piece.constData() + from, '\r', size_t(got - from)))) {
            use = cr - m_piece.constData() + 1;
            last = true;
        }
    }
    m_position += use;
    if (!splitter.feed(QByteArrayView(m_piece.constData(), use))) {
        m_ended = true;
        return false;
    }
    if (last) {
        m_ended = true;
        splitter.finish();
        return false;
    }
    return true;
}

QelChunkReader::Outcome QelChunkReader::read(QIODevice& device, qint64 size, LineSplitter& splitter,
                                             const std::function<void(qint64)>& progress) {
    QelChunkReader reader(device, size);
    while (reader.readPiece(splitter)) {
        if (progress) {
            progress(reader.position());
        }
    }
    if (progress && reader.outcome().error.isEmpty()) {
        progress(reader.position());
    }
    return reader.outcome();
}
