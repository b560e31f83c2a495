#include "platform/QtPlatform.h"
#include "settings/AppFolder.h"
#include "text/ApplicationTitle.h"
#include "ui/shell/frmMain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The per-user data folder is named after the application; no organisation folder. No
    // display name: on X11 it would be appended to every window's title.
    QApplication::setApplicationName(QStringLiteral("qel2005"));
    QApplication::setApplicationVersion(QStringLiteral(QEL2005_VERSION));
    QApplication::setOrganizationName(applicationTitle());
    QApplication::setOrganizationDomain(QStringLiteral("qel2005.org"));
    // Task bars match the windows to the menu entry, and its icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.qel2005.Qel2005"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/qel2005.svg")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A desktop database manager."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A database file to open at start."),
                                 QStringLiteral("[file]"));
    parser.process(app);

    QtPlatform platform;
    Platform::install(&platform);

    // The start window reads the settings as it starts and writes them when it closes, which
    // ends the application.
    frmMain window(AppFolder::resolve());
    window.show();
    if (const QStringList files = parser.positionalArguments(); !files.isEmpty()) {
        // Opened from the event loop, so that the windows are up while the file is read.
        QTimer::singleShot(0, &window,
                           [&window, file = files.front()] { window.openFileAtStart(file); });
    }
    return app.exec();
}
