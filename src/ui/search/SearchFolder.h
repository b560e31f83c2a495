#pragma once

#include "ui/search/FileNamePattern.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <sys/types.h>

#include <atomic>
#include <unordered_set>

class SearchListener;

/// The recursive search for database files, free of widgets so a test runs it directly and
/// the search window runs it on a worker thread.
///
/// A folder is searched in two passes over its listing, in the order the file system lists
/// it: every entry is counted and its subfolders are remembered; then its regular files that
/// match the pattern are reported (except names ending in "KWPD"), and then each remembered
/// subfolder is searched the same way, depth first. The search stays on the root's file
/// system and never follows a symbolic link (the root itself may be one); a folder it cannot
/// read is skipped.
///
/// stop() is the search window's Stop: the folders still pending are listed and counted but
/// no longer searched. cancel() is the window going away: the search ends at the next entry.
/// Both may be called from any thread. Each object runs one search.
class SearchFolder final {
public:
    enum class Outcome {
        /// Every folder was searched, or the search was stopped.
        Done,
        /// The root itself could not be listed; nothing was searched.
        RootUnreadable,
        /// cancel() ended the search.
        Cancelled,
    };

    explicit SearchFolder(SearchListener& listener);
    Q_DISABLE_COPY_MOVE(SearchFolder)

    /// Searches `root` and the folders below it for files matching `pattern`. `status` is
    /// the search window's Status line as the search starts; the search empties it after
    /// each folder and shows "Searching..." while it passes folders without matches.
    Outcome run(const QString& root, const QString& pattern, const QString& status);

    void stop() { m_stopped.store(true, std::memory_order_relaxed); }
    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }

private:
    /// `path` ends with "/" and is kept as the file system's bytes.
    void searchFolder(const QByteArray& path, bool isRoot);
    void setStatus(const QString& status);
    /// Hands the entries counted so far to the listener.
    void reportExamined();
    bool cancelled() const { return m_cancelled.load(std::memory_order_relaxed); }

    SearchListener& m_listener;
    FileNamePattern m_pattern{QString()};
    QString m_status;
    dev_t m_device = 0;
    // Folders already searched: a bind mount can show a folder inside itself.
    std::unordered_set<ino_t> m_visited;
    qint64 m_unreported = 0;
    bool m_rootUnreadable = false;
    std::atomic<bool> m_stopped{false};
    std::atomic<bool> m_cancelled{false};
};
