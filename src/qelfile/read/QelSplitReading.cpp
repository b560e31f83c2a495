#include "qelfile/read/QelSplitReading.h"

#include "qelfile/read/LineSink.h"
#include "qelfile/read/LineSplitter.h"
#include "qelfile/read/QelCellRows.h"
#include "qelfile/read/QelTableReader.h"
#include "table/RowBatch.h"
#include "table/Table.h"

#include <QIODevice>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// The lines of the second part: its first line began in the first part, which reads it whole;
// every other line is a cell line, as only cell lines followed where the parts were divided.
class TailLines final : public LineSink {
public:
    TailLines(RowBatch& batch, int rowCount) : m_cells(batch) { m_cells.setRowCount(rowCount); }

    bool takeLine(QByteArrayView line) override {
        if (!m_pastFirst) {
            m_pastFirst = true;
        } else if (!line.isEmpty()) {
            m_cells.take(line);
        }
        return true;
    }
    bool takeOverlongLine() override {
        m_pastFirst = true;
        return true;
    }
    void finish() { m_cells.finish(); }

private:
    QelCellRows<RowBatch> m_cells;
    bool m_pastFirst = false;
};

// The second part and the thread that reads it.
class Tail final {
public:
    Tail(std::unique_ptr<QIODevice> device, qint64 size, qint64 from, bool scrambled, int rowCount)
        : m_device(std::move(device)), m_size(size), m_from(from), m_scrambled(scrambled),
          m_rowCount(rowCount) {}
    Q_DISABLE_COPY_MOVE(Tail)
    // Before the second part ended only when the first failed or threw: it is abandoned.
    ~Tail() {
        m_stopping = true;
        waitForEnd();
    }

    void start() { m_thread = std::thread(&Tail::run, this); }
    /// Waits for the second part to end; `meanwhile` is called every few milliseconds until
    /// then, so a window can show the progress and repaint.
    void waitForEnd(const std::function<void()>& meanwhile = {}) {
        if (!m_thread.joinable()) {
            return;
        }
        if (meanwhile) {
            std::unique_lock lock(m_mutex);
            while (!m_ended) {
                m_endedChanged.wait_for(lock, std::chrono::milliseconds(15));
                lock.unlock();
                meanwhile();
                lock.lock();
            }
        }
        m_thread.join();
    }

    qint64 bytesRead() const { return m_bytesRead.load(std::memory_order_relaxed); }
    RowBatch& batch() { return m_batch; }
    // After waitForEnd().
    const QelChunkReader::Outcome& outcome() const { return m_outcome; }
    void rethrow() {
        if (m_failure) {
            std::rethrow_exception(std::exchange(m_failure, nullptr));
        }
    }

private:
    void run() noexcept {
        try {
            TailLines lines(m_batch, m_rowCount);
            LineSplitter splitter(lines);
            QelChunkReader chunks(*m_device, m_size, m_from, m_scrambled);
            while (!m_stopping.load(std::memory_order_relaxed) && chunks.readPiece(splitter)) {
                m_bytesRead.store(chunks.position() - m_from, std::memory_order_relaxed);
            }
            m_bytesRead.store(chunks.position() - m_from, std::memory_order_relaxed);
            lines.finish();
            m_outcome = chunks.outcome();
        } catch (...) {
            m_failure = std::current_exception();
        }
        const std::lock_guard lock(m_mutex);
        m_ended = true;
        m_endedChanged.notify_one();
    }

    std::unique_ptr<QIODevice> m_device;
    const qint64 m_size;
    const qint64 m_from;
    const bool m_scrambled;
    const int m_rowCount;
    RowBatch m_batch;
    std::atomic<bool> m_stopping = false;
    std::atomic<qint64> m_bytesRead = 0;
    QelChunkReader::Outcome m_outcome;
    std::exception_ptr m_failure;
    std::mutex m_mutex;
    std::condition_variable m_endedChanged;
    bool m_ended = false;
    std::thread m_thread;
};

// The second part, from byte `from` to the end, read on a thread of its own; nullptr when it
// is better read on this one.
std::unique_ptr<Tail> startTail(const QelSplitReading::OpenAgain& openAgain, qint64 size,
                                qint64 from, bool scrambled, int rowCount, Table& table,
                                qint64 leastSplit) {
    if (size - from < leastSplit || std::thread::hardware_concurrency() < 2) {
        return nullptr;
    }
    std::unique_ptr<QIODevice> device = openAgain();
    if (!device || !device->seek(from)) {
        return nullptr;
    }
    auto tail = std::make_unique<Tail>(std::move(device), size, from, scrambled, rowCount);
    // The rows of a file take about its size in memory, a little more for short cells.
    table.lendRowMemory(tail->batch(), from + from / 4);
    try {
        tail->start();
    } catch (const std::system_error&) {
        return nullptr; // no thread to be had: the file is read on this one
    }
    return tail;
}

} // namespace

QelChunkReader::Outcome QelSplitReading::read(QIODevice& device, qint64 size,
                                              QelTableReader& reader, Table& table,
                                              const OpenAgain& openAgain,
                                              const std::function<void(qint64)>& progress,
                                              qint64 leastSplit) {
    QelChunkReader head(device, size);
    LineSplitter splitter(reader);
    std::unique_ptr<Tail> tail;
    const auto bytesRead = [&] { return head.position() + (tail ? tail->bytesRead() : 0); };
    bool tried = !openAgain;
    while (head.readPiece(splitter)) {
        if (!tried && reader.onlyCellLinesFollow()) {
            tried = true;
            // Halfway through what is left.
            const qint64 from = head.position() + (size - head.position()) / 2;
            tail = startTail(openAgain, size, from, head.outcome().scrambled, reader.rowCount(),
                             table, leastSplit);
            if (tail) {
                head.endAtLineEndFrom(from);
            }
        }
        if (progress) {
            progress(bytesRead());
        }
    }
    // Stored before the second part's rows, which may continue the last of them.
    reader.finish();
    QelChunkReader::Outcome outcome = head.outcome();
    if (tail) {
        if (!outcome.error.isEmpty()) {
            tail.reset(); // the rows after a failure are not kept
        } else {
            std::function<void()> meanwhile;
            if (progress) {
                meanwhile = [&] { progress(bytesRead()); };
            }
            tail->waitForEnd(meanwhile);
            tail->rethrow();
            table.installRows(tail->batch());
            outcome.error = tail->outcome().error;
        }
    }
    if (progress && outcome.error.isEmpty()) {
        progress(bytesRead());
    }
    return outcome;
}
