#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

class LineSplitter;
class QIODevice;

/// Reads a database file a piece at a time into a line splitter. A stored (scrambled) file is
/// recognised by its first bytes and unscrambled on the way, so its plain form exists only a
/// piece at a time, in memory. The reading may begin anywhere in the file, and may be told to
/// end at a line end.
class QelChunkReader final {
public:
    /// The most bytes read at once, which stay in the processor's cache while they are split
    /// into lines.
    static constexpr qint64 PieceSize = 256 * 1024;
    /// The first piece of a file, which holds its leading lines: small, so that what follows
    /// them is known early (QelSplitReading divides the rest once they are read).
    static constexpr qint64 FirstPieceSize = 4 * 1024;

    struct Outcome {
        bool scrambled = false;
        /// The device's reason when a read failed; empty otherwise.
        QString error;
    };

    /// Reads `size` bytes of `device` (the file's length when it was opened; the chunking
    /// depends on it) from the device's current position, which is byte `from` of the file.
    /// Whether the file is scrambled is told by its first bytes when reading from the start,
    /// and must be given otherwise.
    QelChunkReader(QIODevice& device, qint64 size, qint64 from = 0,
                   std::optional<bool> scrambled = std::nullopt);
    Q_DISABLE_COPY_MOVE(QelChunkReader)

    /// Reads and splits the next piece. False once the bytes have ended (the splitter is then
    /// finished), a read failed, or the splitter's sink asked to stop.
    bool readPiece(LineSplitter& splitter);
    /// The reading ends with the first CR at or after byte `offset`, the end of a line, as
    /// long as that is not already behind.
    void endAtLineEndFrom(qint64 offset) { m_endFrom = offset; }

    /// The file's bytes read so far, from the start of the file.
    qint64 position() const { return m_position; }
    const Outcome& outcome() const { return m_outcome; }

    /// Reads every piece from the start: the whole file in one call.
    static Outcome read(QIODevice& device, qint64 size, LineSplitter& splitter,
                        const std::function<void(qint64 bytesRead)>& progress = {});

private:
    QIODevice& m_device;
    const qint64 m_size;
    QByteArray m_piece;
    qint64 m_position;
    // The chunk being read: its first byte's offset in the file and its size.
    qint64 m_chunkStart = 0;
    qint64 m_chunkSize = 0;
    qint64 m_endFrom = -1;
    bool m_known;
    bool m_ended = false;
    Outcome m_outcome;
};
