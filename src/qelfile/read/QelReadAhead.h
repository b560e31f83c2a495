#pragma once

#include "qelfile/read/QelChunkReader.h"

#include <QtGlobal>

#include <functional>

class QIODevice;
class QelTableReader;

/// Reads a database file on two threads: a thread of its own reads the file chunk by chunk,
/// unscrambles it, splits it into lines and sorts them by their place in the file
/// (QelLineParser), a few batches ahead of the calling thread, which parses the cell lines and
/// applies the batches to the table (QelTableReader). Everything
/// that touches the table or asks the user stays on the calling thread.
namespace QelReadAhead {

/// Reads `size` bytes of `device` (see QelChunkReader::read) into `reader`, until the lines
/// end or the reader stops the reading. Meanwhile only the reading thread uses the device,
/// and that thread has ended when the call returns, however it returns. What the reading
/// threw (memory running out) is thrown here once the lines read before it are applied.
/// `progress`, when given, hears the bytes read so far on the calling thread, between
/// batches: a window can show it and repaint.
QelChunkReader::Outcome read(QIODevice& device, qint64 size, QelTableReader& reader,
                             const std::function<void(qint64 bytesRead)>& progress = {});

} // namespace QelReadAhead
