#pragma once

#include "qelfile/read/QelChunkReader.h"

#include <QtGlobal>

#include <functional>
#include <memory>

class QIODevice;
class QelTableReader;
class Table;

/// Reads a database file into a table on two threads when enough of it is left once only cell
/// lines follow: the calling thread reads on from where it is to about half of what is left,
/// while a thread of its own reads the rest of the file from a device of its own into a
/// RowBatch, which the table installs after the calling thread's rows. Neither thread touches
/// the bytes or the rows of the other, so nothing travels between the processors' caches but
/// the finished rows' handles. Smaller files, devices that cannot be opened again and machines
/// of one processor are read on the calling thread alone.
namespace QelSplitReading {

/// Opens the file being read once more, for the second thread; nullptr when it cannot.
using OpenAgain = std::function<std::unique_ptr<QIODevice>()>;

/// Reads `size` bytes of `device` into `reader`, which fills `table`, and finishes the reader
/// (see QelChunkReader::read). The second thread is given at least `leastSplit` bytes. `progress`,
/// when given, hears the bytes read so far, on the calling thread. A read that fails in the first
/// part keeps only the rows read before the failure; one that fails in the second keeps every row
/// before the failure too. What the reading threw is thrown once both threads have stopped.
QelChunkReader::Outcome read(QIODevice& device, qint64 size, QelTableReader& reader, Table& table,
                             const OpenAgain& openAgain,
                             const std::function<void(qint64 bytesRead)>& progress,
                             qint64 leastSplit);

} // namespace QelSplitReading
