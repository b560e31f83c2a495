#include "platform/QtPlatform.h"

#include "platform/CpuInfo.h"
#include "platform/LocalDrives.h"
#include "platform/QtDialogs.h"
#include "platform/WindowsColor.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QThread>

#include <pwd.h>
#include <unistd.h>

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

MessageButton QtPlatform::showMessageBox(const MessageBoxRequest& request) {
    const auto box = QtDialogs::buildMessageBox(request, QApplication::activeWindow());
    box->exec();
    return QtDialogs::messageBoxAnswer(*box, request.buttons);
}

std::optional<QString> QtPlatform::showInputBox(const InputBoxRequest& request) {
    const auto dialog = QtDialogs::buildInputBox(request, QApplication::activeWindow());
    if (dialog->exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog->textValue();
}

std::optional<FileChoice> QtPlatform::showOpenFileDialog(const FileDialogRequest& request) {
    const auto dialog = QtDialogs::buildOpenDialog(request, QApplication::activeWindow());
    if (dialog->exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return QtDialogs::fileDialogChoice(*dialog);
}

std::optional<FileChoice> QtPlatform::showSaveFileDialog(const FileDialogRequest& request) {
    const auto dialog = QtDialogs::buildSaveDialog(request, QApplication::activeWindow());
    if (dialog->exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return QtDialogs::fileDialogChoice(*dialog);
}

std::optional<qint32> QtPlatform::colorDialog(qint32 initialColor) {
    QColorDialog dialog(colorFromWindows(initialColor), QApplication::activeWindow());
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return windowsFromColor(dialog.currentColor());
}

int QtPlatform::runDialog(QDialog& dialog) {
    return dialog.exec();
}

void QtPlatform::setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QString QtPlatform::clipboardText() {
    return QGuiApplication::clipboard()->text();
}

void QtPlatform::clearClipboard() {
    QGuiApplication::clipboard()->clear();
}

bool QtPlatform::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void QtPlatform::playSound(const QString& wavPath) {
    if (!m_sound) {
        m_sound = std::make_unique<QSoundEffect>();
    }
    m_sound->stop();
    m_sound->setSource(QUrl::fromLocalFile(wavPath));
    m_sound->setLoopCount(1);
    m_sound->play();
}

void QtPlatform::endProcess() {
    // exit() leaves every running event loop, nested modal ones included, without sending
    // close events (quit() would close every window first); before the main loop has
    // started, exit as soon as it runs.
    if (QThread::currentThread()->loopLevel() > 0) {
        QCoreApplication::exit(0);
    } else {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }
}

int QtPlatform::processorMHz() {
    QFile cpuInfo(QStringLiteral("/proc/cpuinfo"));
    if (!cpuInfo.open(QIODevice::ReadOnly)) {
        return 0;
    }
    // /proc files report size 0; read a bounded amount, the first entry is near the top.
    return processorMHzFromCpuInfo(cpuInfo.read(64 * 1024));
}

qint64 QtPlatform::physicalMemory() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? qint64(pages) * qint64(pageSize) : 0;
}

QString QtPlatform::userName() {
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_name) {
        return QString::fromLocal8Bit(entry->pw_name);
    }
    const QString fromEnvironment = qEnvironmentVariable("USER");
    return fromEnvironment.isEmpty() ? qEnvironmentVariable("LOGNAME") : fromEnvironment;
}

QString QtPlatform::documentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QStringList QtPlatform::drives() {
    return localDriveRoots();
}
