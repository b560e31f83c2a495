#pragma once

#include "ui/search/SearchFolder.h"
#include "ui/search/SearchListener.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <mutex>
#include <optional>
#include <thread>

/// Runs a SearchFolder on a worker thread and hands what it reports to the thread the runner
/// lives in (the window's), in order: the first report at once, and while the search keeps
/// reporting, in batches a few times a frame apart, so the window stays responsive and shows
/// results as they are found.
class SearchRunner final : public QObject, private SearchListener {
    Q_OBJECT

public:
    explicit SearchRunner(QObject* parent = nullptr);
    /// Cancels a running search and waits for its thread.
    ~SearchRunner() override;
    Q_DISABLE_COPY_MOVE(SearchRunner)

    /// Starts a search (cancelling one that runs); see SearchFolder::run.
    void start(const QString& root, const QString& pattern, const QString& status);
    /// The window's Stop: the search ends between folders and reports finished().
    void stop();
    /// Ends a running search at once and waits for its thread; what it had not yet handed
    /// over is dropped and it reports nothing more.
    void cancel();
    /// From start() until finished() or cancel().
    bool isRunning() const { return m_search != nullptr; }

signals:
    void entriesExamined(qint64 count);
    /// Files found since the last report, in order, and the folder of the last one.
    void filesFound(const QStringList& paths, const QString& lastFolder);
    void statusUpdated(const QString& status);
    void finished(SearchFolder::Outcome outcome);

private:
    /// What the worker reported and the runner's thread has not taken yet.
    struct Pending {
        qint64 examined = 0;
        QStringList found;
        QString lastFolder;
        std::optional<QString> status;
        std::optional<SearchFolder::Outcome> outcome;
        /// A delivery is on its way to the runner's thread, or due on its timer.
        bool posted = false;
    };

    // SearchListener, on the worker thread
    void examined(qint64 count) override;
    void found(const QString& path, const QString& folder) override;
    void statusChanged(const QString& status) override;

    /// Under the lock: asks the runner's thread to take what is pending, unless it will.
    void postLocked();
    /// On the runner's thread: takes what is pending and reports it; while there was
    /// something, it comes back for more after a pause.
    void deliver();

    std::unique_ptr<SearchFolder> m_search;
    std::thread m_thread;
    std::mutex m_mutex;
    Pending m_pending;
};
