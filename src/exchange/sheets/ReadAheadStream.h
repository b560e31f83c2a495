#pragma once

#include <QByteArrayView>
#include <QIODevice>
#include <QtGlobal>

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

class ReadAheadStream;

/// A thread that reads devices ahead for the streams that share it, a chunk at a time: the
/// chunk a taker waits for first, otherwise that of the stream with the fewest ready. Two parts
/// of one package are inflated side by side on it, rather than on two threads that would
/// compete with the one that takes their chunks for the processor. A taker that would wait
/// while the thread reads another stream reads a chunk itself instead, of a stream the thread
/// is not on: the work falls to whichever thread has time for it.
class ReadAheadThread final {
public:
    ReadAheadThread();
    /// Every stream read by it is gone by then.
    ~ReadAheadThread();
    Q_DISABLE_COPY_MOVE(ReadAheadThread)

private:
    friend class ReadAheadStream;
    void run() noexcept;
    // The stream that can be filled and is needed most; nullptr when none can.
    ReadAheadStream* choose() const;
    // Reads the next chunk of `stream`, which choose() gave, with `lock` released meanwhile.
    void fill(ReadAheadStream& stream, std::unique_lock<std::mutex>& lock);

    std::mutex m_mutex;               // guards the streams' hand-over too
    std::condition_variable m_work;   // the thread waits on it
    std::condition_variable m_filled; // a stream's chunk has been read
    std::vector<ReadAheadStream*> m_streams;
    bool m_stopping = false;
    bool m_started = false;
    bool m_busy = false;  // the thread reads a chunk
    std::thread m_thread; // started last, when everything above is ready
};

/// Reads a device to its end on a thread of its own (or one it shares), a few chunks ahead of
/// the thread that takes them, so inflating a zip entry and parsing it run side by side. Only
/// a fixed number of chunks exists: the reading thread passes the stream over while all of
/// them are full, so a part that inflates into gigabytes never takes more than those chunks of
/// memory. The device is no longer read once the stream is destroyed, however the reading
/// ended.
///
/// A side that had to wait is woken only once half the chunks are ready for it (or the
/// reading has ended): waking a thread costs the other side a system call, and then both run
/// undisturbed for half the chunks.
class ReadAheadStream final {
public:
    static constexpr qsizetype DefaultChunkBytes = 256 * 1024;
    static constexpr int DefaultChunks = 8;
    /// Bytes free in front of every chunk for its taker (nextInPlace()).
    static constexpr qsizetype HeadRoom = 4096;

    enum class Reading {
        Ahead,    // on a reading thread: its own, or one it shares
        OnDemand, // on the thread that takes the chunks, as they are asked for
    };

    /// Starts reading `device` (open for reading). Each read of the device becomes a chunk of
    /// its own, however short. Read ahead, the device is read by `thread` when given (which
    /// outlives the stream), otherwise on a thread of its own; without a thread to spare, it is
    /// read on demand.
    explicit ReadAheadStream(std::unique_ptr<QIODevice> device,
                             qsizetype chunkBytes = DefaultChunkBytes, int chunks = DefaultChunks,
                             Reading reading = Reading::Ahead, ReadAheadThread* thread = nullptr);
    ~ReadAheadStream();
    Q_DISABLE_COPY_MOVE(ReadAheadStream)

    /// The next bytes of the device, in order; empty once it has ended (or failed to read).
    /// Valid until the next call. What reading threw on the other thread (memory running out)
    /// is thrown here, after the chunks read before it.
    QByteArrayView next();
    /// The same as the chunk's own bytes, with HeadRoom bytes in front of them that the caller
    /// may fill: a scanner puts the unread end of the chunk before there, and reads on in place.
    std::span<char> nextInPlace();

private:
    friend class ReadAheadThread;
    struct Chunk {
        std::unique_ptr<char[]> bytes;
        qsizetype size = 0;
    };

    // Reads one chunk of the device into `chunk`; false at its end.
    bool fill(Chunk& chunk);
    // How many chunks the reading side could fill now.
    size_t emptyChunks() const { return m_empty.size() + size_t(m_chunks - m_allocated); }
    // Whether the reading thread may fill a chunk of it now.
    bool fillable() const { return !m_ended && !m_passedOver && !m_reading && emptyChunks() > 0; }

    std::unique_ptr<QIODevice> m_device;
    const qsizetype m_chunkBytes;
    const int m_chunks;
    const size_t m_wakeAt; // how many chunks a waiting side waits for
    std::unique_ptr<ReadAheadThread> m_ownThread;
    ReadAheadThread* m_thread = nullptr; // nullptr: read on demand
    // The hand-over, guarded by the reading thread's mutex.
    std::deque<Chunk> m_full;
    std::vector<std::unique_ptr<char[]>> m_empty;
    int m_allocated = 0;       // chunks made so far, at most m_chunks
    Chunk m_taken;             // the chunk the last next() returned
    bool m_ended = false;      // the reading side has passed on its last chunk
    bool m_passedOver = false; // all chunks were full: not filled until half are empty again
    bool m_takerWaits = false; // the taking side waits for full chunks
    bool m_reading = false;    // a chunk is being read, outside the lock
    bool m_leaving = false;    // the stream is being destroyed
    std::exception_ptr m_failure;
};
