#include "qelfile/read/QelBatchQueue.h"

QelBatchQueue::QelBatchQueue(int batches, qsizetype keptBytes)
    : m_keptBytes(keptBytes), m_wakeAt(size_t(qMax(batches, 2) / 2)) {
    for (int i = 0; i < qMax(batches, 2); ++i) {
        m_batches.push_back(std::make_unique<QelLineBatch>());
        m_empty.push_back(m_batches.back().get());
    }
}

QelLineBatch* QelBatchQueue::takeEmpty() {
    std::unique_lock lock(m_mutex);
    if (m_empty.empty()) {
        m_emptyReady.wait(lock, [this] { return m_cancelled || m_empty.size() >= m_wakeAt; });
    }
    if (m_cancelled) {
        return nullptr;
    }
    QelLineBatch* batch = m_empty.front();
    m_empty.pop_front();
    return batch;
}

void QelBatchQueue::pushFull(QelLineBatch* batch) {
    bool wake = false;
    {
        const std::lock_guard lock(m_mutex);
        m_full.push_back(batch);
        wake = m_full.size() == m_wakeAt;
    }
    if (wake) {
        m_fullReady.notify_one();
    }
}

void QelBatchQueue::close(std::exception_ptr error) {
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
        m_error = std::move(error);
    }
    m_fullReady.notify_one();
}

QelLineBatch* QelBatchQueue::takeFull() {
    std::unique_lock lock(m_mutex);
    if (m_full.empty()) {
        m_fullReady.wait(lock, [this] { return m_closed || m_full.size() >= m_wakeAt; });
    }
    if (!m_full.empty()) {
        QelLineBatch* batch = m_full.front();
        m_full.pop_front();
        return batch;
    }
    if (m_error) {
        std::rethrow_exception(std::exchange(m_error, nullptr));
    }
    return nullptr;
}

void QelBatchQueue::giveBack(QelLineBatch* batch) {
    batch->clear(m_keptBytes);
    bool wake = false;
    {
        const std::lock_guard lock(m_mutex);
        m_empty.push_back(batch);
        wake = m_empty.size() == m_wakeAt;
    }
    if (wake) {
        m_emptyReady.notify_one();
    }
}

void QelBatchQueue::cancel() {
    {
        const std::lock_guard lock(m_mutex);
        m_cancelled = true;
    }
    m_emptyReady.notify_one();
}
