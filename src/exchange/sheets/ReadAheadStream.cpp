#include "exchange/sheets/ReadAheadStream.h"

#include <system_error>

ReadAheadStream::ReadAheadStream(std::unique_ptr<QIODevice> device, qsizetype chunkBytes,
                                 int chunks, Reading reading)
    : m_device(std::move(device)), m_chunkBytes(qMax<qsizetype>(chunkBytes, 1)),
      m_chunks(qMax(chunks, 2)), m_wakeAt(size_t(m_chunks / 2)) {
    if (!m_device) {
        m_ended = true;
        return;
    }
    if (reading == Reading::OnDemand) {
        return;
    }
    try {
        m_thread = std::thread(&ReadAheadStream::run, this);
        m_threaded = true;
    } catch (const std::system_error&) {
        // No thread to be had: next() reads the device itself.
    }
}

ReadAheadStream::~ReadAheadStream() {
    if (m_threaded) {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_emptied.notify_one();
        m_thread.join();
    }
}

bool ReadAheadStream::fill(Chunk& chunk) {
    if (!chunk.bytes) {
        chunk.bytes = std::make_unique_for_overwrite<char[]>(size_t(HeadRoom + m_chunkBytes));
    }
    const qint64 got = m_device->read(chunk.bytes.get() + HeadRoom, m_chunkBytes);
    chunk.size = qsizetype(qMax<qint64>(got, 0));
    return got > 0;
}

void ReadAheadStream::run() noexcept {
    try {
        for (;;) {
            Chunk chunk;
            {
                std::unique_lock lock(m_mutex);
                if (emptyChunks() == 0) {
                    m_readerWaits = true;
                    m_emptied.wait(lock,
                                   [this] { return m_stopping || emptyChunks() >= m_wakeAt; });
                    m_readerWaits = false;
                }
                if (m_stopping) {
                    return;
                }
                if (!m_empty.empty()) {
                    chunk.bytes = std::move(m_empty.back());
                    m_empty.pop_back();
                } else {
                    ++m_allocated;
                }
            }
            const bool more = fill(chunk);
            bool wake = false;
            {
                const std::lock_guard lock(m_mutex);
                if (more) {
                    m_full.push_back(std::move(chunk));
                } else {
                    m_ended = true;
                }
                wake = m_takerWaits && (!more || m_full.size() >= m_wakeAt);
            }
            if (wake) {
                m_filled.notify_one();
            }
            if (!more) {
                return;
            }
        }
    } catch (...) {
        {
            const std::lock_guard lock(m_mutex);
            m_failure = std::current_exception();
            m_ended = true;
        }
        m_filled.notify_one();
    }
}

QByteArrayView ReadAheadStream::next() {
    const std::span<char> chunk = nextInPlace();
    return QByteArrayView(chunk.data(), qsizetype(chunk.size()));
}

std::span<char> ReadAheadStream::nextInPlace() {
    if (!m_threaded) {
        if (m_ended || !fill(m_taken)) {
            m_ended = true;
            return {};
        }
        return std::span<char>(m_taken.bytes.get() + HeadRoom, size_t(m_taken.size));
    }
    std::unique_lock lock(m_mutex);
    if (m_taken.bytes) {
        m_empty.push_back(std::move(m_taken.bytes));
        if (m_readerWaits && emptyChunks() >= m_wakeAt) {
            m_emptied.notify_one();
        }
    }
    if (m_full.empty() && !m_ended) {
        m_takerWaits = true;
        m_filled.wait(lock, [this] { return m_full.size() >= m_wakeAt || m_ended; });
        m_takerWaits = false;
    }
    if (m_full.empty()) {
        if (m_failure) {
            std::rethrow_exception(std::exchange(m_failure, nullptr));
        }
        return {};
    }
    m_taken = std::move(m_full.front());
    m_full.pop_front();
    return std::span<char>(m_taken.bytes.get() + HeadRoom, size_t(m_taken.size));
}
