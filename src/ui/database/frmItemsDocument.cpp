#include "ui/database/frmItems.h"

#include "gridview/List.h"
#include "platform/Platform.h"
#include "platform/WindowPlacement.h"
#include "settings/SettingsRecord.h"
#include "ui/database/DatabaseSession.h"
#include "ui/database/EditBar.h"
#include "ui/database/MainBar.h"
#include "ui/database/PleaseWaitPanel.h"
#include "ui/database/ShellHost.h"
#include "ui/database/commands/DocumentCommands.h"
#include "ui/search/frmFileSearch.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QProgressBar>
#include <QToolButton>

#include <limits>

namespace {

// The progress bar's own range is an int: files are counted in bytes scaled to fit it.
constexpr qint64 kProgressSteps = 1000000000;
// While a file is read, the window repaints this often.
constexpr qint64 kRepaintMilliseconds = 30;

} // namespace

// --- what the document commands see --------------------------------------------------------------

QString frmItems::title() const {
    return windowTitle();
}

void frmItems::setTitle(const QString& title) {
    setWindowTitle(title);
}

bool frmItems::isDirty() const {
    return lblChangeStatus().trimmed().toDouble() == 1;
}

void frmItems::setDirty(bool dirty) {
    setChangeStatus(dirty ? QStringLiteral("1") : QStringLiteral("0"));
}

void frmItems::suspendChangeMarks(bool suspended) {
    m_keepChangeStatus = suspended;
}

void frmItems::setEditingLocked(bool locked) {
    m_editBar->setEnabled(!locked);
    m_mainbar->button(QStringLiteral("cmdSave"))->setEnabled(!locked);
    for (const char* name : {"save", "saveas", "paste", "add", "deletemenu", "insert", "import"}) {
        menuItem(QString::fromLatin1(name))->setEnabled(!locked);
    }
}

void frmItems::showRecentEntry(int slot, const QString& caption) {
    QAction* entry = menuItem(QStringLiteral("file%1").arg(slot));
    if (entry) {
        entry->setText(caption);
        entry->setVisible(!caption.isEmpty());
    }
}

void frmItems::showOpenProgress(const QString& caption) {
    m_list->hide();
    PleaseWaitPanel& panel = pleaseWait();
    panel.setCaption(caption);
    panel.show();
    panel.raise();
    m_sinceRepaint.start();
}

void frmItems::setOpenProgress(qint64 value, qint64 maximum) {
    const qint64 scale = std::max<qint64>(1, maximum / kProgressSteps + 1);
    QProgressBar& bar = pleaseWait().bar();
    bar.setMaximum(int(std::max<qint64>(maximum / scale, 1)));
    bar.setValue(int(std::clamp<qint64>(value / scale, 0, bar.maximum())));
    // Between pieces of a file being read: the window repaints, and what the user does
    // waits until the table is in place.
    if (!m_sinceRepaint.isValid() || m_sinceRepaint.elapsed() >= kRepaintMilliseconds) {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_sinceRepaint.start();
    }
}

void frmItems::hideOpenProgress(const QString& caption) {
    m_list->show();
    PleaseWaitPanel& panel = pleaseWait();
    panel.hide();
    panel.setCaption(caption);
    panel.bar().setMaximum(int(kProgressSteps));
    panel.bar().setValue(0);
}

void frmItems::markSearchCancel() {
    if (m_search && m_search->isVisible()) {
        m_search->markCancel();
    }
}

// --- the file search window's seam -------------------------------------------------------------

QRect frmItems::databaseWindowFrame() const {
    return frameGeometry();
}

void frmItems::moveDatabaseWindowTo(int left) {
    if (windowState() != Qt::WindowNoState) {
        showNormal();
    }
    move(left, frameGeometry().top());
}

void frmItems::NEWLIST() {
    m_documents->NEWLIST();
}

void frmItems::openFoundFile(const QString& path, const QString& fileName) {
    m_documents->openFoundFile(path, fileName);
}

frmFileSearch& frmItems::searchWindow() {
    if (!m_search) {
        m_search = std::make_unique<frmFileSearch>(m_session.settings, m_session.folder,
                                                   static_cast<FileSearchHost&>(*this));
    }
    return *m_search;
}

void frmItems::closeWindow() {
    close();
}

// --- the password dialogs' seam -----------------------------------------------------------------

bool frmItems::databasePasswordEnabled() const {
    return menuItem(QStringLiteral("password"))->isChecked();
}

QString frmItems::databaseWindowCaption() const {
    return windowTitle();
}

void frmItems::markDatabaseChanged() {
    setDirty(true);
}

void frmItems::closeDatabaseWindow() {
    close();
}

bool frmItems::checkPassword(const QString& stored) {
    const bool letIn = m_session.passwords.checkPassword(stored, *this);
    // A window the dialog closed (too many wrong entries) takes no file any more.
    return letIn && !m_closed;
}

std::optional<QString> frmItems::askNewPassword() {
    return m_session.passwords.askNewPassword(*this);
}

void frmItems::announceSaved() {
    m_platform.messageBox({.text = QStringLiteral("Saved")});
}

// --- stored state and closing ------------------------------------------------------------------

void frmItems::applyStoredState() {
    const SettingsRecord& settings = m_session.settings;
    const WindowPlacement placement = WindowPlacement::fromSettings(
        settings.frmItemsWindowState, settings.frmItemsLeft, settings.frmItemsTop,
        settings.frmItemsWidth, settings.frmItemsHeight);
    // The stored size is the outer frame's; the frame's own border is what a shown window adds.
    const QSize border = frameGeometry().size() - size();
    QRect frame = frameGeometry();
    frame.moveTo(placement.left.value_or(frame.left()), placement.top.value_or(frame.top()));
    frame.setSize(
        QSize(placement.width.value_or(frame.width()), placement.height.value_or(frame.height())));
    move(frame.topLeft());
    resize(frame.size() - border);
    if (placement.maximised) {
        setWindowState(*placement.maximised ? Qt::WindowMaximized : Qt::WindowNoState);
    }
    const auto applyBar = [this](const char* item, QWidget* bar, const QString& stored) {
        if (const std::optional<bool> shown = storedTruth(stored)) {
            menuItem(QString::fromLatin1(item))->setChecked(*shown);
            bar->setVisible(*shown);
        }
    };
    applyBar("toolbar", m_mainbar, settings.frmItemstoolbarchecked);
    applyBar("textbar", m_editBar, settings.frmItemstextbarchecked);
    Reposition();
    for (int slot = 1; slot <= 3; ++slot) {
        showRecentEntry(slot, settings.frmItemsfile[size_t(slot - 1)].name);
    }
}

void frmItems::storeState() {
    if (isMinimized()) {
        showNormal();
    }
    SettingsRecord& settings = m_session.settings;
    const WindowPlacement::Stored stored = WindowPlacement::toSettings(
        isMaximized(), isMaximized() ? normalGeometry() : frameGeometry());
    settings.frmItemsWindowState = stored.state;
    settings.frmItemsLeft = stored.left;
    settings.frmItemsTop = stored.top;
    settings.frmItemsHeight = stored.height;
    settings.frmItemsWidth = stored.width;
    settings.frmItemstoolbarchecked = truthText(menuItem(QStringLiteral("toolbar"))->isChecked());
    settings.frmItemstextbarchecked = truthText(menuItem(QStringLiteral("textbar"))->isChecked());
}

void frmItems::openFile(const QString& path) {
    m_documents->openPath(path);
}

bool frmItems::mayEndApplication() {
    if (!isDirty()) {
        return true;
    }
    // Yes saves and leaves the decision to the save: the application ends only when the
    // changes are on disk.
    return m_documents->mayClose() || !isDirty();
}

void frmItems::closeEvent(QCloseEvent* event) {
    if (m_closed) {
        event->accept();
        return;
    }
    storeState();
    if (!m_documents->mayClose()) {
        event->ignore();
        return;
    }
    m_closed = true;
    event->accept();
    if (m_search) {
        m_search->unload();
    }
    if (m_session.shell) {
        m_session.shell->databaseWindowClosed();
    }
}
