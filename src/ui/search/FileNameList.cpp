#include "ui/search/FileNameList.h"

#include <QFileInfo>

FileNameList::FileNameList(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("FileNameList"));
}

void FileNameList::setPath(const QString& folder) {
    m_path = folder;
    m_fileName.clear();
}

void FileNameList::setFileName(const QString& fullPath) {
    const QFileInfo file(fullPath);
    m_path = file.path();
    m_fileName = file.fileName();
}
