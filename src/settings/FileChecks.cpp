#include "settings/FileChecks.h"

#include <QFileInfo>

namespace General {

bool FileExists(const QString& path) {
    // QFileInfo("") would mean the current folder.
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool FolderExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace General
