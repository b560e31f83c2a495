#include "FolderTree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

FolderTree::FolderTree(const QStringList& entries) {
    add(entries);
}

void FolderTree::add(const QStringList& entries) const {
    for (const QString& entry : entries) {
        const qsizetype arrow = entry.indexOf(QStringLiteral(" -> "));
        const QString relative = arrow >= 0 ? entry.left(arrow) : entry;
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).path());
        if (arrow >= 0) {
            QVERIFY(QFile::link(entry.mid(arrow + 4), full.chopped(full.endsWith(u'/') ? 1 : 0)));
        } else if (relative.endsWith(u'/')) {
            QVERIFY(QDir().mkpath(full));
        } else if (relative.endsWith(u'|')) {
            QCOMPARE(::mkfifo(QFile::encodeName(full.chopped(1)).constData(), 0600), 0);
        } else {
            QFile file(full);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
}

QStringList listingOrder(const QString& folder) {
    QStringList names;
    QDirIterator entries(folder,
                         QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        names.append(entries.fileName());
    }
    return names;
}

namespace {

// The two powers that let a process past file permissions.
constexpr unsigned OverrideCapabilities = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

bool effectiveCapabilities(__user_cap_data_struct (&data)[2]) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capget, &header, data) == 0;
}

bool setCapabilities(__user_cap_data_struct (&data)[2]) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

NoPermissionOverride::NoPermissionOverride() {
    __user_cap_data_struct data[2] = {};
    if (effectiveCapabilities(data) && (data[0].effective & OverrideCapabilities) != 0) {
        data[0].effective &= ~OverrideCapabilities;
        m_dropped = setCapabilities(data);
    }
}

NoPermissionOverride::~NoPermissionOverride() {
    __user_cap_data_struct data[2] = {};
    if (m_dropped && effectiveCapabilities(data)) {
        data[0].effective |= OverrideCapabilities & data[0].permitted;
        setCapabilities(data);
    }
}
