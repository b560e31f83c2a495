#include "qelfile/read/QelReadAhead.h"

#include "qelfile/read/LineSplitter.h"
#include "qelfile/read/QelBatchQueue.h"
#include "qelfile/read/QelLineParser.h"
#include "qelfile/read/QelTableReader.h"

#include <QScopeGuard>

#include <thread>

namespace {

// A batch of about 64 KiB holds some two thousand short cells: enough that handing it over
// costs nothing next to its lines. Sixteen of them let either side run well ahead of the other,
// so a thread that waits is woken for eight batches at once rather than for each, and keep the
// memory the reading needs beyond the table near a megabyte.
constexpr qsizetype kBatchBytes = 64 * 1024;
constexpr int kBatches = 16;
// A batch that one long line made grow gives its memory back beyond this.
constexpr qsizetype kKeptBatchBytes = 4 * kBatchBytes;

// The reading thread's work. Whatever ends it, the queue is closed, so the other side never
// waits for batches that will not come.
void readLines(QIODevice& device, qint64 size, QelBatchQueue& queue,
               QelChunkReader::Outcome& outcome, std::atomic<qint64>& bytesRead) noexcept {
    try {
        QelLineParser parser(queue, kBatchBytes);
        LineSplitter splitter(parser);
        outcome = QelChunkReader::read(device, size, splitter, &bytesRead);
        parser.finish();
        queue.close();
    } catch (...) {
        queue.close(std::current_exception());
    }
}

} // namespace

QelChunkReader::Outcome QelReadAhead::read(QIODevice& device, qint64 size, QelTableReader& reader,
                                           const std::function<void(qint64)>& progress) {
    QelBatchQueue queue(kBatches, kKeptBatchBytes);
    QelChunkReader::Outcome outcome;
    std::atomic<qint64> bytesRead = 0;
    {
        std::thread reading(readLines, std::ref(device), size, std::ref(queue), std::ref(outcome),
                            std::ref(bytesRead));
        const auto stopAndJoin = qScopeGuard([&] {
            queue.cancel();
            reading.join();
        });
        while (QelLineBatch* batch = queue.takeFull()) {
            const bool more = reader.take(*batch);
            queue.giveBack(batch);
            if (!more) {
                break;
            }
            if (progress) {
                progress(bytesRead.load(std::memory_order_relaxed));
            }
        }
    }
    if (progress && outcome.error.isEmpty()) {
        progress(bytesRead.load(std::memory_order_relaxed));
    }
    // The reading thread has ended, so its outcome is complete.
    return outcome;
}
