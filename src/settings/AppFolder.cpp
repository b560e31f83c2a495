#include "settings/AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

AppFolder::AppFolder(QString root) : m_root(std::move(root)) {}

AppFolder AppFolder::resolve() {
    // ~/.local/share/qel2005 whatever organisation name the application gives itself (which
    // QStandardPaths would put in between).
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return AppFolder(chooseRoot(QCoreApplication::applicationDirPath(),
                                data.isEmpty() ? QString() : data + QStringLiteral("/qel2005")));
}

QString AppFolder::chooseRoot(const QString& executableFolder, const QString& fallback) {
    const QFileInfo folder(executableFolder);
    if (fallback.isEmpty() ||
        (!executableFolder.isEmpty() && folder.isDir() && folder.isWritable())) {
        return executableFolder;
    }
    return fallback;
}

QString AppFolder::systemFolder() const {
    return m_root + QStringLiteral("/System");
}

QString AppFolder::tempFolder() const {
    return m_root + QStringLiteral("/System/Temp");
}

QString AppFolder::soundFolder() const {
    return m_root + QStringLiteral("/System/Sound");
}

QString AppFolder::qelFolder() const {
    return m_root + QStringLiteral("/System/Qel");
}

QString AppFolder::settingsFile() const {
    return m_root + QStringLiteral("/System/0.dat");
}

void AppFolder::EnsureFolders() const {
    QDir dir;
    if (!QFileInfo(m_root).isDir()) {
        dir.mkpath(m_root);
    }
    for (const QString& folder : {systemFolder(), tempFolder(), soundFolder(), qelFolder()}) {
        if (!QFileInfo(folder).isDir()) {
            dir.mkdir(folder);
        }
    }
}

void AppFolder::EmptyTempFolder() const {
    // A Temp that is a link points outside the tree; emptying it could delete anything.
    const QFileInfo temp(tempFolder());
    if (temp.isSymLink() || !temp.isDir()) {
        return;
    }
    QDirIterator entries(tempFolder(),
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo entry = entries.fileInfo();
        // Removing a link removes the link itself; its target stays.
        if (entry.isSymLink() || !entry.isDir()) {
            QFile::remove(entry.filePath());
        }
    }
}
