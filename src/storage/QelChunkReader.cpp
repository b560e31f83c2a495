#include "QelChunkReader.h"

#include "LineSplitter.h"
#include "QelScrambler.h"

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

QelChunkReader::Outcome QelChunkReader::read(QIODevice& device, qint64 size,
                                             LineSplitter& splitter) {
    Outcome outcome;
    QByteArray chunk(qsizetype(qMin(size, QelScrambler::MaxLastChunkSize)), Qt::Uninitialized);
    bool first = true;
    for (qint64 remaining = size; remaining > 0;) {
        const qint64 wanted = QelScrambler::nextChunkSize(remaining);
        const qint64 got = readFully(device, chunk.data(), wanted);
        if (got < 0) {
            outcome.error = device.errorString();
            return outcome;
        }
        if (first) {
            outcome.scrambled = QelScrambler::hasScrambledMark(QByteArrayView(chunk.data(), got));
            first = false;
        }
        if (outcome.scrambled) {
            QelScrambler::scramble(chunk.data(), got, 1);
        }
        if (!splitter.feed(QByteArrayView(chunk.data(), got))) {
            return outcome;
        }
        // A file that shrank while being read ends where its bytes end.
        if (got < wanted) {
            break;
        }
        remaining -= wanted;
    }
    splitter.finish();
    return outcome;
}
