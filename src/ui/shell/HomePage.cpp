#include "ui/shell/HomePage.h"

#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace HomePage {

QString installedPage(const QString& executableFolder) {
    return QDir::cleanPath(executableFolder + QStringLiteral("/../share/qel2005/about/index.html"));
}

QString aboutPage(const QString& executableFolder) {
    const QString installed = installedPage(executableFolder);
    if (QFileInfo(installed).isFile()) {
        return installed;
    }
    const QString source = QStringLiteral(QEL_SOURCE_ABOUT_PAGE);
    return QFileInfo(source).isFile() ? source : installed;
}

void open(Platform& platform) {
    (void)platform.openLocalFile(aboutPage(QCoreApplication::applicationDirPath()));
}

} // namespace HomePage
