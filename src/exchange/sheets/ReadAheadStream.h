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

/// Reads a device to its end on a thread of its own, a few chunks ahead of the thread that
/// takes them, so inflating a zip entry and parsing it run side by side. Only a fixed number
/// of chunks exists: the reading thread waits while all of them are full, so a part that
/// inflates into gigabytes never takes more than those chunks of memory. The thread has ended
/// once the stream is destroyed, however the reading ended.
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
        Ahead,    // on a thread of its own
        OnDemand, // on the thread that takes the chunks, as they are asked for
    };

    /// Starts reading `device` (open for reading). Each read of the device becomes a chunk of
    /// its own, however short. Without a thread to spare, the device is read on demand.
    explicit ReadAheadStream(std::unique_ptr<QIODevice> device,
                             qsizetype chunkBytes = DefaultChunkBytes, int chunks = DefaultChunks,
                             Reading reading = Reading::Ahead);
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
    struct Chunk {
        std::unique_ptr<char[]> bytes;
        qsizetype size = 0;
    };

    void run() noexcept;
    // Reads one chunk of the device into `chunk`; false at its end.
    bool fill(Chunk& chunk);
    // How many chunks the reading side could fill now.
    size_t emptyChunks() const { return m_empty.size() + size_t(m_chunks - m_allocated); }

    std::unique_ptr<QIODevice> m_device;
    const qsizetype m_chunkBytes;
    const int m_chunks;
    const size_t m_wakeAt; // how many chunks a waiting side waits for
    std::mutex m_mutex;
    std::condition_variable m_filled;  // the taking side waits on it
    std::condition_variable m_emptied; // the reading side waits on it
    std::deque<Chunk> m_full;
    std::vector<std::unique_ptr<char[]>> m_empty;
    int m_allocated = 0;  // chunks made so far, at most m_chunks
    Chunk m_taken;        // the chunk the last next() returned
    bool m_ended = false; // the reading side has passed on its last chunk
    bool m_stopping = false;
    bool m_readerWaits = false; // the reading side waits for empty chunks
    bool m_takerWaits = false;  // the taking side waits for full ones
    bool m_threaded = false;
    std::exception_ptr m_failure;
    std::thread m_thread; // started last, when everything above is ready
};
