#include "qelfile/read/QelChunkReader.h"

#include "qelfile/format/QelScrambler.h"
#include "qelfile/read/LineSplitter.h"

#include <QByteArray>
#include <QIODevice>

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

QelChunkReader::Outcome QelChunkReader::read(QIODevice& device, qint64 size, LineSplitter& splitter,
                                             const std::function<void(qint64)>& progress) {
    Outcome outcome;
    qint64 bytesRead = 0;
    QByteArray piece(qsizetype(qMin(size, PieceSize)), Qt::Uninitialized);
    bool first = true;
    for (qint64 remaining = size; remaining > 0;) {
        const qint64 chunk = QelScrambler::nextChunkSize(remaining);
        // A chunk is read a piece at a time; unscrambling needs only each byte's position
        // within its chunk.
        for (qint64 done = 0; done < chunk;) {
            const qint64 wanted = qMin(PieceSize, chunk - done);
            const qint64 got = readFully(device, piece.data(), wanted);
            if (got < 0) {
                outcome.error = device.errorString();
                return outcome;
            }
            if (first) {
                outcome.scrambled =
                    QelScrambler::hasScrambledMark(QByteArrayView(piece.data(), got));
                first = false;
            }
            if (outcome.scrambled) {
                QelScrambler::scramble(piece.data(), got, done + 1);
            }
            if (!splitter.feed(QByteArrayView(piece.data(), got))) {
                return outcome;
            }
            bytesRead += got;
            if (progress) {
                progress(bytesRead);
            }
            // A file that shrank while being read ends where its bytes end.
            if (got < wanted) {
                splitter.finish();
                return outcome;
            }
            done += wanted;
        }
        remaining -= chunk;
    }
    splitter.finish();
    return outcome;
}
