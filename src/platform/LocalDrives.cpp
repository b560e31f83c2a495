#include "platform/LocalDrives.h"

#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <array>

namespace {

constexpr std::array<const char*, 33> NonLocalTypes = {
    // pseudo and memory file systems
    "proc", "sysfs", "devtmpfs", "devpts", "tmpfs", "ramfs", "cgroup", "cgroup2", "securityfs",
    "pstore", "debugfs", "tracefs", "mqueue", "hugetlbfs", "configfs", "fusectl", "bpf", "autofs",
    "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs", "squashfs", "selinuxfs",
    // network shares
    "nfs", "nfs4", "cifs", "smbfs", "smb3", "sshfs", "fuse.sshfs", "9p", "afs"};

} // namespace

bool isLocalFileSystemType(const QByteArray& type) {
    return std::none_of(NonLocalTypes.begin(), NonLocalTypes.end(),
                        [&type](const char* nonLocal) { return type == nonLocal; });
}

QStringList localDriveRoots() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) {
            continue;
        }
        if (!isLocalFileSystemType(volume.fileSystemType())) {
            continue;
        }
        // Containers bind-mount single files (/etc/hosts); only folders are drives.
        if (!QFileInfo(volume.rootPath()).isDir()) {
            continue;
        }
        if (!roots.contains(volume.rootPath())) {
            roots.append(volume.rootPath());
        }
    }
    std::sort(roots.begin(), roots.end(), [](const QString& a, const QString& b) {
        if (a == QLatin1String("/") || b == QLatin1String("/")) {
            return a == QLatin1String("/") && b != QLatin1String("/");
        }
        return a < b;
    });
    return roots;
}
