#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

class LineSplitter;
class QIODevice;

/// Reads a database file a chunk at a time into a line splitter. A stored (scrambled) file is
/// recognised by its first bytes and unscrambled on the way, so its plain form exists only a
/// piece of a chunk at a time, in memory.
namespace QelChunkReader {

/// The most bytes read at once: a quarter chunk, which stays in the processor's cache
/// while it is split into lines, and leaves room within one chunk's memory for the reader's
/// other buffers.
inline constexpr qint64 PieceSize = 256 * 1024;

struct Outcome {
    bool scrambled = false;
    /// The device's reason when a read failed; empty otherwise.
    QString error;
};

/// Reads `size` bytes (the file's length when it was opened; the chunking depends on it)
/// or until the splitter's sink asks to stop. `progress`, when given, hears the bytes read so
/// far after each piece is split: a window can show it and repaint.
Outcome read(QIODevice& device, qint64 size, LineSplitter& splitter,
             const std::function<void(qint64 bytesRead)>& progress = {});

} // namespace QelChunkReader
