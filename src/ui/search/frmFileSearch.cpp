#include "ui/search/frmFileSearch.h"

#include "platform/Platform.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"
#include "settings/SettingsRecord.h"
#include "ui/search/FileNameList.h"
#include "ui/search/FileSearchHost.h"
#include "ui/search/FileSearchLayout.h"
#include "ui/search/SearchRunner.h"
#include "ui/search/WindowFrame.h"
#include "ui/search/WrappingLabel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

namespace {

const QString kLabel2Search = QStringLiteral("Check File  Matching File ");
const QString kLabel2List = QStringLiteral("                      Total  Databases ");
const QString kPattern = QStringLiteral("*.QEL");
const QString kSearching = QStringLiteral("Searching...");
const QString kDone = QStringLiteral("Done");
const QString kLastFound = QStringLiteral("Last Matching File Found in :  ");
const QString kDoubleClick = QStringLiteral("Double-click to select");
const QString kCancelMark = QStringLiteral("Cancel");
const QString kNotADrive = QStringLiteral("This is not the drive where you can save your files...");

QString withSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

frmFileSearch::frmFileSearch(SettingsRecord& settings, AppFolder folder, FileSearchHost& host,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), m_settings(settings), m_folder(std::move(folder)), m_host(host),
      m_platform(Platform::current()) {
    setObjectName(QStringLiteral("frmFileSearch"));
    setWindowTitle(QStringLiteral("Search"));
    buildControls();
    reset();
}

frmFileSearch::~frmFileSearch() {
    m_runner->cancel();
}

void frmFileSearch::reset() {
    m_runner->cancel();
    m_files->clear();
    m_fileList->clear();
    m_fileList->setToolTip(QString());
    m_fileNameList->setPath(QString());
    m_fileNameList->setTag(QString());
    m_fileNumber = 0;
    m_fundFileNumber = 0;
    m_fileNumberLabel->setText(QStringLiteral("0"));
    m_fundFileNumberLabel->setText(QStringLiteral("0"));
    m_status->clear();
    m_status->setToolTip(QString());
    m_lastFoundFile->clear();
}

// --- showing the two modes --------------------------------------------------------------------

void frmFileSearch::showSearchMode() {
    showMode(Mode::Search);
    if (frameGeometry().width() < Twips::toPixels(FileSearchLayout::MinimumSearchWidth)) {
        WindowFrame::setFrameWidth(*this, Twips::toPixels(FileSearchLayout::MinimumSearchWidth));
    }
    m_host.moveDatabaseWindowTo(frameGeometry().width());
}

void frmFileSearch::showListMode() {
    showMode(Mode::List);
    m_files->setText(kPattern);
    startSearch(m_folder.qelFolder(), QString());
    // Docked: the database window's top and height, the default width, the database window
    // beside it.
    const QRect database = m_host.databaseWindowFrame();
    setWindowState(Qt::WindowNoState);
    const int width = Twips::toPixels(FileSearchLayout::DockedWidth);
    WindowFrame::setFrame(*this, QRect(0, database.top(), width, database.height()));
    m_host.moveDatabaseWindowTo(width);
}

void frmFileSearch::showMode(Mode mode) {
    unload();
    reset();
    m_mode = mode;
    const bool search = mode == Mode::Search;
    setWindowTitle(search ? QStringLiteral("Search") : QStringLiteral("Database"));
    for (QWidget* control : {static_cast<QWidget*>(m_label1), static_cast<QWidget*>(m_drives),
                             static_cast<QWidget*>(m_status), static_cast<QWidget*>(m_find),
                             static_cast<QWidget*>(m_stopSearch), static_cast<QWidget*>(m_files),
                             static_cast<QWidget*>(m_fileNumberLabel)}) {
        control->setVisible(search);
    }
    m_label2->setText(search ? kLabel2Search : kLabel2List);
    if (search) {
        fillDrives();
    }
    showAtStoredPlace();
}

void frmFileSearch::fillDrives() {
    // Filling the list is no change of drive by the user.
    const QSignalBlocker quiet(m_drives);
    m_drives->clear();
    m_drives->addItems(m_platform.drives());
}

void frmFileSearch::showAtStoredPlace() {
    const WindowPlacement stored = WindowPlacement::fromSettings(
        m_settings.frmFileSearchWindowState, m_settings.frmFileSearchLeft,
        m_settings.frmFileSearchTop, m_settings.frmFileSearchWidth, m_settings.frmFileSearchHeight);
    const QRect current = frameGeometry();
    const QRect frame(stored.left.value_or(current.left()), stored.top.value_or(current.top()),
                      stored.width.value_or(current.width()),
                      stored.height.value_or(current.height()));
    WindowFrame::setFrame(*this, frame);
    if (stored.maximised.value_or(false)) {
        showMaximized();
        return;
    }
    showNormal();
    // A window shown for the first time learns its border only now.
    WindowFrame::setFrame(*this, frame);
}

// --- closing ----------------------------------------------------------------------------------

void frmFileSearch::unload() {
    if (isVisible()) {
        close();
    }
    m_runner->cancel();
}

void frmFileSearch::closeEvent(QCloseEvent* event) {
    m_runner->cancel();
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    storePlace();
    event->accept();
}

void frmFileSearch::storePlace() {
    const bool maximised = isMaximized();
    QRect frame = frameGeometry();
    if (maximised) {
        // The place the window goes back to when it is restored.
        const QSize border = frame.size() - geometry().size();
        frame = QRect(normalGeometry().topLeft() - (geometry().topLeft() - frame.topLeft()),
                      normalGeometry().size() + border);
    }
    const WindowPlacement::Stored stored = WindowPlacement::toSettings(maximised, frame);
    m_settings.frmFileSearchWindowState = stored.state;
    m_settings.frmFileSearchLeft = stored.left;
    m_settings.frmFileSearchTop = stored.top;
    m_settings.frmFileSearchWidth = stored.width;
    m_settings.frmFileSearchHeight = stored.height;
}

// --- layout -----------------------------------------------------------------------------------

void frmFileSearch::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Reposition();
}

void frmFileSearch::Reposition() {
    using Twips::toPixels;
    const QSize outer = frameGeometry().size();
    const FileSearchLayout::Placement place = FileSearchLayout::reposition(
        Twips::fromPixels(outer.width()), Twips::fromPixels(outer.height()),
        Twips::fromPixels(m_fileList->height()));
    if (place.listWidth) {
        m_fileList->resize(toPixels(*place.listWidth), m_fileList->height());
    }
    if (place.listHeight) {
        m_fileList->resize(m_fileList->width(), toPixels(*place.listHeight));
    }
    const int countersTop = toPixels(place.countersTop);
    m_label2->move(m_label2->x(), countersTop);
    m_fileNumberLabel->move(m_fileNumberLabel->x(), countersTop);
    m_find->move(toPixels(place.findLeft), countersTop);
    m_stopSearch->move(toPixels(place.stopSearchLeft), countersTop);
    m_fundFileNumberLabel->move(m_fundFileNumberLabel->x(), toPixels(place.fundFileNumberTop));
    m_lastFoundFile->move(m_lastFoundFile->x(), toPixels(place.lastFoundFileTop));
    if (place.lastFoundFileWidth) {
        m_lastFoundFile->resize(toPixels(*place.lastFoundFileWidth), m_lastFoundFile->height());
    }
}

// --- searching --------------------------------------------------------------------------------

bool frmFileSearch::isSearching() const {
    return m_runner->isRunning();
}

void frmFileSearch::startSearch(const QString& root, const QString& status) {
    m_files->setText(kPattern);
    m_fileList->clear();
    m_fileNumber = 0;
    m_fundFileNumber = 0;
    m_fileNumberLabel->setText(QStringLiteral("0"));
    m_fundFileNumberLabel->setText(QStringLiteral("0"));
    m_lastFoundFile->clear();
    m_status->setText(status);
    m_runner->start(root, kPattern, status);
}

void frmFileSearch::find() {
    m_fileNameList->setPath(m_folder.qelFolder());
    const QString drive = m_drives->currentText();
    startSearch(drive.isEmpty() ? QString() : withSlash(drive), kSearching);
}

void frmFileSearch::stopSearch() {
    m_files->clear();
    m_runner->stop();
}

void frmFileSearch::entriesExamined(qint64 count) {
    m_fileNumber += count;
    m_fileNumberLabel->setText(QString::number(m_fileNumber));
}

void frmFileSearch::filesFound(const QStringList& paths, const QString& lastFolder) {
    m_fileList->addItems(paths);
    m_fundFileNumber += paths.size();
    m_fundFileNumberLabel->setText(QString::number(m_fundFileNumber));
    m_lastFoundFile->setText(kLastFound + lastFolder);
}

void frmFileSearch::searchEnded(SearchFolder::Outcome outcome) {
    if (outcome == SearchFolder::Outcome::Cancelled) {
        return;
    }
    // In list mode the default folder is no drive: a missing one simply holds no files.
    if (outcome == SearchFolder::Outcome::RootUnreadable && m_mode == Mode::Search) {
        m_platform.messageBox({kNotADrive, QString(), MessageButtons::Ok});
    }
    m_status->setText(kDone);
    if (m_mode == Mode::List) {
        m_lastFoundFile->setText(kDoubleClick);
    }
    emit searchFinished();
}

// --- choosing and opening a file --------------------------------------------------------------

void frmFileSearch::selectionChanged() {
    const QList<QListWidgetItem*> selected = m_fileList->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const QString path = selected.front()->text();
    m_fileNameList->setFileName(path);
    setWindowTitle(m_fileNameList->fileName());
    m_fileList->setToolTip(path);
}

bool frmFileSearch::eventFilter(QObject* watched, QEvent* event) {
    // Any character typed in the list opens the chosen file, instead of the list's own
    // jumping to an entry by its first letter.
    if (watched == m_fileList && event->type() == QEvent::KeyPress &&
        !static_cast<QKeyEvent*>(event)->text().isEmpty()) {
        openSelected();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmFileSearch::markCancel() {
    m_fileNameList->setTag(kCancelMark);
}

void frmFileSearch::openSelected() {
    const QList<QListWidgetItem*> selected = m_fileList->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const QString path = selected.front()->text();
    m_fileNameList->setFileName(path);
    const QString fileName = m_fileNameList->fileName();
    setWindowTitle(fileName);
    stopSearch();

    // A mark left by an earlier New, cancelled while nothing was being opened, is no answer
    // to this one.
    m_fileNameList->setTag(QString());
    // The database window may close this window, or destroy it, while it asks and opens.
    const QPointer<frmFileSearch> alive(this);
    const AppFolder folder = m_folder;
    m_host.NEWLIST();
    if (!alive) {
        return;
    }
    if (m_fileNameList->tag() == kCancelMark) {
        m_fileNameList->setTag(QString());
        return;
    }
    m_status->setToolTip(fileName);
    m_host.openFoundFile(path, fileName);
    folder.EmptyTempFolder();
}
