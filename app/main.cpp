#include "platform/QtPlatform.h"
#include "settings/AppFolder.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"
#include "text/ApplicationTitle.h"
#include "ui/database/DatabaseSession.h"
#include "ui/database/frmItems.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The per-user data folder is named after the application; no organisation folder.
    QApplication::setApplicationName(QStringLiteral("qel2005"));
    QApplication::setApplicationDisplayName(applicationTitle());
    QtPlatform platform;
    Platform::install(&platform);

    const AppFolder folder = AppFolder::resolve();
    folder.EnsureFolders();
    SettingsRecord settings;
    (void)SettingsFile::ReadSettings(folder, settings); // an unreadable file keeps the defaults

    DatabaseSession session{settings, folder};
    frmItems window(session);
    window.show();
    const int code = app.exec();
    (void)SettingsFile::WriteSettings(folder, settings);
    return code;
}
