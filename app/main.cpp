#include "platform/QtPlatform.h"
#include "settings/AppFolder.h"
#include "text/ApplicationTitle.h"
#include "ui/shell/frmMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The per-user data folder is named after the application; no organisation folder.
    QApplication::setApplicationName(QStringLiteral("qel2005"));
    QApplication::setApplicationDisplayName(applicationTitle());
    QtPlatform platform;
    Platform::install(&platform);

    // The start window reads the settings as it starts and writes them when it closes, which
    // ends the application.
    frmMain window(AppFolder::resolve());
    window.show();
    return app.exec();
}
