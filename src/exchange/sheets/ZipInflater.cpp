#include "exchange/sheets/ZipInflater.h"

#include "exchange/sheets/Crc32.h"

#include <zip.h>
#include <zlib.h>

#include <limits>

namespace {

// Compressed bytes taken from libzip per call: large, so its per-call work stays small, but
// no more than a small part needs.
constexpr quint64 kInputBytes = 128 * 1024;
constexpr quint64 kSmallestInput = 4096;

} // namespace

struct ZipInflater::State {
    zip_file* raw;
    const quint64 size;
    const quint32 crc;
    const quint64 inputBytes;
    std::unique_ptr<unsigned char[]> input;
    z_stream z = {};
    bool ready = false;      // inflateInit2 succeeded
    bool inputEnded = false; // libzip has no more compressed bytes
    bool ended = false;      // the entry was read to its end, sound
    bool failed = false;
    quint64 inflated = 0;
    quint32 runningCrc = 0;

    State(zip_file* file, quint64 entrySize, quint32 entryCrc, quint64 compressedSize)
        : raw(file), size(entrySize), crc(entryCrc),
          inputBytes(qBound(kSmallestInput, compressedSize, kInputBytes)),
          input(std::make_unique_for_overwrite<unsigned char[]>(inputBytes)) {
        // Raw deflate: a zip entry has no zlib header or trailer.
        ready = inflateInit2(&z, -MAX_WBITS) == Z_OK;
    }
    ~State() {
        if (ready) {
            inflateEnd(&z);
        }
    }
    Q_DISABLE_COPY_MOVE(State)
};

ZipInflater::ZipInflater(zip_file* raw, quint64 size, quint32 crc, quint64 compressedSize)
    : m_state(std::make_unique<State>(raw, size, crc, compressedSize)) {
    m_state->failed = !m_state->ready;
}

ZipInflater::~ZipInflater() = default;

qint64 ZipInflater::damaged() {
    m_state->failed = true;
    return -1;
}

qint64 ZipInflater::read(char* data, qint64 maxSize) {
    State& s = *m_state;
    if (s.failed) {
        return -1;
    }
    if (s.ended || maxSize <= 0) {
        return 0;
    }
    s.z.next_out = reinterpret_cast<unsigned char*>(data);
    s.z.avail_out = uInt(qMin<qint64>(maxSize, std::numeric_limits<uInt>::max()));
    const uInt room = s.z.avail_out;
    bool streamEnded = false;
    while (s.z.avail_out > 0) {
        if (s.z.avail_in == 0 && !s.inputEnded) {
            const zip_int64_t got = zip_fread(s.raw, s.input.get(), s.inputBytes);
            if (got < 0) {
                return damaged();
            }
            s.inputEnded = got == 0;
            s.z.next_in = s.input.get();
            s.z.avail_in = uInt(got);
        }
        const int status = inflate(&s.z, Z_NO_FLUSH);
        if (status == Z_STREAM_END) {
            streamEnded = true;
            break;
        }
        // Without progress once the input is spent, the deflate stream was cut short.
        const bool stalled = status == Z_BUF_ERROR && s.z.avail_in == 0 && s.inputEnded;
        if ((status != Z_OK && status != Z_BUF_ERROR) || stalled) {
            return damaged();
        }
    }
    const uInt produced = room - s.z.avail_out;
    s.inflated += produced;
    if (s.inflated > s.size) {
        return damaged();
    }
    s.runningCrc = crc32Update(s.runningCrc, data, produced);
    if (streamEnded) {
        if (s.inflated != s.size || s.runningCrc != s.crc) {
            return damaged();
        }
        s.ended = true;
    }
    return qint64(produced);
}
