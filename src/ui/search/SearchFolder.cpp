#include "ui/search/SearchFolder.h"

#include "ui/search/SearchListener.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

// The counter moves while a huge folder is listed, not only at its end.
constexpr qint64 ReportEvery = 4096;

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The entry's type without following a link: the listing's own when it gives one.
unsigned char entryType(DIR* folder, const dirent& entry) {
    if (entry.d_type != DT_UNKNOWN) {
        return entry.d_type;
    }
    struct stat status {};
    if (::fstatat(::dirfd(folder), entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return DT_UNKNOWN;
    }
    if (S_ISDIR(status.st_mode)) {
        return DT_DIR;
    }
    return S_ISREG(status.st_mode) ? DT_REG : DT_UNKNOWN;
}

} // namespace

SearchFolder::SearchFolder(SearchListener& listener) : m_listener(listener) {}

SearchFolder::Outcome SearchFolder::run(const QString& root, const QString& pattern,
                                        const QString& status) {
    m_pattern = FileNamePattern(pattern);
    m_status = status;
    if (root.isEmpty()) {
        return Outcome::RootUnreadable;
    }
    QByteArray path = QFile::encodeName(root);
    if (!path.endsWith('/')) {
        path.append('/');
    }
    searchFolder(path, true);
    reportExamined();
    if (cancelled()) {
        return Outcome::Cancelled;
    }
    return m_rootUnreadable ? Outcome::RootUnreadable : Outcome::Done;
}

void SearchFolder::searchFolder(const QByteArray& path, bool isRoot) {
    if (cancelled()) {
        return;
    }
    // Below the root a link is never entered: O_NOFOLLOW refuses it even if the folder was
    // replaced by one since it was listed.
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (isRoot ? 0 : O_NOFOLLOW);
    const int descriptor = ::open(path.constData(), flags);
    struct stat folderStatus {};
    if (descriptor < 0 || ::fstat(descriptor, &folderStatus) != 0) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        m_rootUnreadable = m_rootUnreadable || isRoot;
        return;
    }
    if (isRoot) {
        m_device = folderStatus.st_dev;
    }
    // Another file system mounted below the root is not searched.
    if (folderStatus.st_dev != m_device || !m_visited.insert(folderStatus.st_ino).second) {
        ::close(descriptor);
        return;
    }
    DIR* folder = ::fdopendir(descriptor);
    if (folder == nullptr) {
        ::close(descriptor);
        m_rootUnreadable = m_rootUnreadable || isRoot;
        return;
    }

    std::vector<QByteArray> subfolders;
    QStringList matches;
    bool failed = false;
    for (;;) {
        if (cancelled()) {
            ::closedir(folder);
            return;
        }
        errno = 0;
        const dirent* entry = ::readdir(folder);
        if (entry == nullptr) {
            failed = errno != 0;
            break;
        }
        if (++m_unreported >= ReportEvery) {
            reportExamined();
        }
        if (isDotOrDotDot(entry->d_name)) {
            continue;
        }
        const unsigned char type = entryType(folder, *entry);
        if (type == DT_DIR) {
            subfolders.push_back(path + entry->d_name + '/');
        } else if (type == DT_REG && m_pattern.matches(entry->d_name)) {
            matches.append(QFile::decodeName(entry->d_name));
        }
    }
    ::closedir(folder);
    reportExamined();
    // A listing that broke off is a folder that cannot be read.
    if (failed || m_stopped.load(std::memory_order_relaxed)) {
        return;
    }

    if (m_status.isEmpty() && matches.isEmpty()) {
        setStatus(QStringLiteral("Searching..."));
    }
    const QString folderName = QFile::decodeName(path);
    for (const QString& name : std::as_const(matches)) {
        if (!name.endsWith(u"KWPD")) {
            m_listener.found(folderName + name, folderName);
        }
    }
    for (const QByteArray& subfolder : subfolders) {
        searchFolder(subfolder, false);
    }
    setStatus(QString());
}

void SearchFolder::setStatus(const QString& status) {
    if (status != m_status) {
        m_status = status;
        m_listener.statusChanged(status);
    }
}

void SearchFolder::reportExamined() {
    if (m_unreported > 0) {
        m_listener.examined(m_unreported);
        m_unreported = 0;
    }
}
