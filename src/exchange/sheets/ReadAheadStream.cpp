#include "exchange/sheets/ReadAheadStream.h"

#include <algorithm>
#include <system_error>

ReadAheadThread::ReadAheadThread() {
    try {
        m_thread = std::thread(&ReadAheadThread::run, this);
        m_started = true;
    } catch (const std::system_error&) {
        // No thread to be had: its streams read their devices on demand.
    }
}

ReadAheadThread::~ReadAheadThread() {
    if (m_started) {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_work.notify_one();
        m_thread.join();
    }
}

ReadAheadStream* ReadAheadThread::choose() const {
    ReadAheadStream* chosen = nullptr;
    for (ReadAheadStream* stream : m_streams) {
        if (!stream->fillable()) {
            continue;
        }
        if (stream->m_takerWaits) {
            return stream;
        }
        if (!chosen || stream->m_full.size() < chosen->m_full.size()) {
            chosen = stream;
        }
    }
    return chosen;
}

void ReadAheadThread::fill(ReadAheadStream& stream, std::unique_lock<std::mutex>& lock) {
    ReadAheadStream::Chunk chunk;
    if (!stream.m_empty.empty()) {
        chunk.bytes = std::move(stream.m_empty.back());
        stream.m_empty.pop_back();
    } else {
        ++stream.m_allocated;
    }
    stream.m_reading = true;
    lock.unlock();
    bool more = false;
    std::exception_ptr failure;
    try {
        more = stream.fill(chunk);
    } catch (...) {
        failure = std::current_exception();
    }
    lock.lock();
    stream.m_reading = false;
    if (more) {
        stream.m_full.push_back(std::move(chunk));
        stream.m_passedOver = stream.emptyChunks() == 0;
    } else {
        stream.m_ended = true;
        stream.m_failure = failure;
    }
    if (!more || stream.m_leaving ||
        (stream.m_takerWaits && stream.m_full.size() >= stream.m_wakeAt)) {
        m_filled.notify_all();
    }
}

void ReadAheadThread::run() noexcept {
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        if (ReadAheadStream* const stream = choose()) {
            m_busy = true;
            fill(*stream, lock);
            m_busy = false;
        } else {
            m_work.wait(lock);
        }
    }
}

ReadAheadStream::ReadAheadStream(std::unique_ptr<QIODevice> device, qsizetype chunkBytes,
                                 int chunks, Reading reading, ReadAheadThread* thread)
    : m_device(std::move(device)), m_chunkBytes(qMax<qsizetype>(chunkBytes, 1)),
      m_chunks(qMax(chunks, 2)), m_wakeAt(size_t(m_chunks / 2)) {
    if (!m_device) {
        m_ended = true;
        return;
    }
    if (reading == Reading::OnDemand) {
        return;
    }
    if (!thread) {
        m_ownThread = std::make_unique<ReadAheadThread>();
        thread = m_ownThread.get();
    }
    if (!thread->m_started) {
        return; // next() reads the device itself
    }
    m_thread = thread;
    {
        const std::lock_guard lock(m_thread->m_mutex);
        m_thread->m_streams.push_back(this);
    }
    m_thread->m_work.notify_one();
}

ReadAheadStream::~ReadAheadStream() {
    if (m_thread) {
        std::unique_lock lock(m_thread->m_mutex);
        std::erase(m_thread->m_streams, this);
        // The device may be read this very moment; it goes once that read has ended.
        m_leaving = true;
        m_thread->m_filled.wait(lock, [this] { return !m_reading; });
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

QByteArrayView ReadAheadStream::next() {
    const std::span<char> chunk = nextInPlace();
    return QByteArrayView(chunk.data(), qsizetype(chunk.size()));
}

std::span<char> ReadAheadStream::nextInPlace() {
    if (!m_thread) {
        if (m_ended || !fill(m_taken)) {
            m_ended = true;
            return {};
        }
        return std::span<char>(m_taken.bytes.get() + HeadRoom, size_t(m_taken.size));
    }
    std::unique_lock lock(m_thread->m_mutex);
    if (m_taken.bytes) {
        m_empty.push_back(std::move(m_taken.bytes));
        if (m_passedOver && emptyChunks() >= m_wakeAt) {
            m_passedOver = false;
            m_thread->m_work.notify_one();
        }
    }
    while (m_full.empty() && !m_ended) {
        // Rather than wait while the reading thread is busy, this one reads: this stream, when
        // the other is not on it, or another one. An idle reading thread is on its way here.
        if (m_thread->m_busy) {
            if (ReadAheadStream* const stream = fillable() ? this : m_thread->choose()) {
                m_thread->fill(*stream, lock);
                continue;
            }
        } else {
            m_thread->m_work.notify_one();
        }
        m_takerWaits = true;
        m_thread->m_filled.wait(lock, [this] { return m_full.size() >= m_wakeAt || m_ended; });
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
