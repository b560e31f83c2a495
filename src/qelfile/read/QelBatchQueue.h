#pragma once

#include "qelfile/read/QelLineBatch.h"

#include <QtGlobal>

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <vector>

/// The hand-over of line batches from the thread that reads a database file to the thread that
/// fills the table. A fixed set of batches goes round: the reading side fills an empty one and
/// passes it on, the filling side applies it and gives it back. The reading side waits while
/// every batch is full, so it runs at most that many batches ahead and the memory between the
/// two sides stays bounded.
///
/// A side that had to wait is woken only once half the batches are ready for it (or the
/// reading has ended), not for every batch: waking a thread costs the other side a system
/// call, and then both run undisturbed for half a queue.
class QelBatchQueue final {
public:
    /// `batches` batches (at least 2), each emptied down to `keptBytes` of buffers when given
    /// back.
    QelBatchQueue(int batches, qsizetype keptBytes);
    Q_DISABLE_COPY_MOVE(QelBatchQueue)

    // The reading side.

    /// An empty batch, once there is one; nullptr once the queue is cancelled.
    QelLineBatch* takeEmpty();
    /// Passes a filled batch on, in order.
    void pushFull(QelLineBatch* batch);
    /// No more batches will come. A set `error` is rethrown on the filling side once it has
    /// taken the batches passed on before it.
    void close(std::exception_ptr error = nullptr);

    // The filling side.

    /// The next filled batch, once there is one; nullptr when the queue is closed and every
    /// batch passed on has been taken.
    QelLineBatch* takeFull();
    /// Returns a batch taken with takeFull(), to be filled again.
    void giveBack(QelLineBatch* batch);
    /// Tells the reading side to stop: from now on it gets no empty batch.
    void cancel();

private:
    const qsizetype m_keptBytes;
    // How many batches a waiting side waits for.
    const size_t m_wakeAt;
    std::vector<std::unique_ptr<QelLineBatch>> m_batches;
    std::mutex m_mutex;
    std::condition_variable m_emptyReady;
    std::condition_variable m_fullReady;
    std::deque<QelLineBatch*> m_empty;
    std::deque<QelLineBatch*> m_full;
    bool m_closed = false;
    bool m_cancelled = false;
    std::exception_ptr m_error;
};
