#pragma once

#include <QtGlobal>

#include <memory>

struct zip_file;

/// Inflates a deflated zip entry opened raw (ZIP_FL_COMPRESSED) and checks it as libzip
/// would: at its end the deflate stream must be complete, and the inflated bytes must be as
/// many as the directory says, with its CRC-32. Done here rather than by libzip for the
/// checksum, which libzip computes with zlib's table method: a large share of the inflating.
class ZipInflater final {
public:
    /// Reads `raw` (which outlives it) for an entry of `size` bytes whose CRC-32 is `crc`,
    /// deflated into about `compressedSize` bytes (which only sizes the reads).
    ZipInflater(zip_file* raw, quint64 size, quint32 crc, quint64 compressedSize);
    ~ZipInflater();
    Q_DISABLE_COPY_MOVE(ZipInflater)

    /// Inflates at most `maxSize` bytes into `data`: how many; 0 at the end of a sound entry;
    /// -1 once damage is found (malformed or truncated data, a wrong size or checksum). A read
    /// that meets damage delivers nothing, and every read after it fails too.
    qint64 read(char* data, qint64 maxSize);

private:
    struct State;
    // Fails for good.
    qint64 damaged();

    std::unique_ptr<State> m_state;
};
