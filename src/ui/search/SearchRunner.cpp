#include "ui/search/SearchRunner.h"

#include <QTimer>

namespace {

// While a search reports faster than this, the window takes its reports at this pace: each
// hand-over wakes the window's thread, and a window redrawn more often shows nothing more.
constexpr int DeliveryPauseMs = 15;

} // namespace

SearchRunner::SearchRunner(QObject* parent) : QObject(parent) {}

SearchRunner::~SearchRunner() {
    cancel();
}

void SearchRunner::start(const QString& root, const QString& pattern, const QString& status) {
    cancel();
    {
        const std::lock_guard lock(m_mutex);
        m_pending = Pending();
    }
    m_search = std::make_unique<SearchFolder>(static_cast<SearchListener&>(*this));
    m_thread = std::thread([this, root, pattern, status] {
        const SearchFolder::Outcome outcome = m_search->run(root, pattern, status);
        const std::lock_guard lock(m_mutex);
        m_pending.outcome = outcome;
        // The end is handed over at once, even while the reports wait for their round.
        m_pending.posted = true;
        QMetaObject::invokeMethod(this, &SearchRunner::deliver, Qt::QueuedConnection);
    });
}

void SearchRunner::stop() {
    if (m_search) {
        m_search->stop();
    }
}

void SearchRunner::cancel() {
    if (!m_search) {
        return;
    }
    m_search->cancel();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_search.reset();
    // A delivery already posted finds nothing to take.
    const std::lock_guard lock(m_mutex);
    m_pending = Pending();
}

void SearchRunner::examined(qint64 count) {
    const std::lock_guard lock(m_mutex);
    m_pending.examined += count;
    postLocked();
}

void SearchRunner::found(const QString& path, const QString& folder) {
    const std::lock_guard lock(m_mutex);
    m_pending.found.append(path);
    m_pending.lastFolder = folder;
    postLocked();
}

void SearchRunner::statusChanged(const QString& status) {
    const std::lock_guard lock(m_mutex);
    m_pending.status = status;
    postLocked();
}

void SearchRunner::postLocked() {
    if (!m_pending.posted) {
        m_pending.posted = true;
        QMetaObject::invokeMethod(this, &SearchRunner::deliver, Qt::QueuedConnection);
    }
}

void SearchRunner::deliver() {
    Pending taken;
    {
        const std::lock_guard lock(m_mutex);
        const bool nothing = m_pending.examined == 0 && m_pending.found.isEmpty() &&
                             !m_pending.status && !m_pending.outcome;
        if (nothing) {
            // Quiet: the next report is handed over at once.
            m_pending.posted = false;
            return;
        }
        std::swap(taken, m_pending);
        // Busy: the reports that follow wait for the next round.
        m_pending.posted = !taken.outcome;
    }
    if (taken.outcome) {
        // The worker posted its outcome last; its thread is ending.
        m_thread.join();
        m_search.reset();
    } else {
        QTimer::singleShot(DeliveryPauseMs, this, &SearchRunner::deliver);
    }
    if (taken.examined > 0) {
        emit entriesExamined(taken.examined);
    }
    if (!taken.found.isEmpty()) {
        emit filesFound(taken.found, taken.lastFolder);
    }
    if (taken.status) {
        emit statusUpdated(*taken.status);
    }
    if (taken.outcome) {
        emit finished(*taken.outcome);
    }
}
