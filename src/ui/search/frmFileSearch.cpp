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

// The blanks of Label1 are where Files and Drives sit.
const QString kLabel1 =
    QStringLiteral("Search for                 files  in                        Drive   ");
const QString kLabel2Search = QStringLiteral("Check File  Matching File ");
const QString kLabel2List = QStringLiteral("                      Total  Databases ");
const QString kPattern = QStringLiteral("*.QEL");
const QString kSearching = QStringLiteral("Searching...");
const QString kDone = QStringLiteral("Done");
const QString kLastFound = QStringLiteral("Last Matching File Found in :  ");
const QString kDoubleClick = QStringLiteral("Double-click to select");
const QString kCancelMark = QStringLiteral("Cancel");
const QString kNotADrive = QStringLiteral("This is not the drive where you can save your files...");

// Where the run of blanks after `word` starts and ends in `text`, in pixels of `metrics`.
std::pair<int, int> blanksAfter(const QFontMetrics& metrics, const QString& text,
                                const QString& word) {
    const qsizetype start = text.indexOf(word) + word.size();
    qsizetype end = start;
    while (end < text.size() && text[end] == u' ') {
        ++end;
    }
    return {metrics.horizontalAdvance(text.left(start)), metrics.horizontalAdvance(text.left(end))};
}

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

void frmFileSearch::buildControls() {
    using Twips::toPixels;
    // Every measure below is laid out for a small sans serif of 11 pixels.
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(11);
    setFont(small);
    const QFontMetrics metrics(small);

    m_label1 = new QLabel(kLabel1, this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    const QPoint label1At(toPixels(120), toPixels(75));
    m_label1->setGeometry(QRect(label1At, QSize(metrics.horizontalAdvance(kLabel1), 17)));

    const auto [filesLeft, filesRight] = blanksAfter(metrics, kLabel1, QStringLiteral("for"));
    m_files = new QLabel(this);
    m_files->setObjectName(QStringLiteral("Files"));
    m_files->setAlignment(Qt::AlignCenter);
    m_files->setGeometry(label1At.x() + filesLeft, label1At.y(), filesRight - filesLeft, 17);

    const auto [drivesLeft, drivesRight] = blanksAfter(metrics, kLabel1, QStringLiteral("in"));
    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("Drives"));
    m_drives->setGeometry(label1At.x() + drivesLeft, toPixels(30), drivesRight - drivesLeft,
                          toPixels(300));
    connect(m_drives, &QComboBox::currentIndexChanged, this, &frmFileSearch::stopSearch);

    // Status takes the room right of Label1's last word, on the drive row.
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Status"));
    const int statusLeft = label1At.x() + metrics.horizontalAdvance(kLabel1.trimmed() + u' ');
    m_status->setGeometry(statusLeft, label1At.y(), toPixels(1200), 17);

    m_fileList = new QListWidget(this);
    m_fileList->setObjectName(QStringLiteral("FileList"));
    m_fileList->setGeometry(
        toPixels(FileSearchLayout::ListLeft, FileSearchLayout::ListTop, 4500, 4410));
    m_fileList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_fileList->setUniformItemSizes(true);
    m_fileList->installEventFilter(this);
    connect(m_fileList, &QListWidget::itemSelectionChanged, this, &frmFileSearch::selectionChanged);
    connect(m_fileList, &QListWidget::itemDoubleClicked, this, &frmFileSearch::openSelected);

    m_fileNameList = new FileNameList(this);

    // Label2 wraps into two lines beside FileNumber and FundFileNumber: "Check File" and
    // "Matching File", or in list mode a line of blanks and "Total  Databases".
    const int rowStep = toPixels(FileSearchLayout::CounterRowStep);
    m_label2 = new WrappingLabel(rowStep, this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    const int label2Width = metrics.horizontalAdvance(QStringLiteral("Total  Databases ")) + 2;
    m_label2->setGeometry(toPixels(120), 0, label2Width, rowStep + metrics.height());

    const int countersLeft = toPixels(120) + label2Width + 4;
    m_fileNumberLabel = new QLabel(this);
    m_fileNumberLabel->setObjectName(QStringLiteral("FileNumber"));
    m_fileNumberLabel->setGeometry(countersLeft, 0, toPixels(1200), metrics.lineSpacing());
    m_fundFileNumberLabel = new QLabel(this);
    m_fundFileNumberLabel->setObjectName(QStringLiteral("FundFileNumber"));
    m_fundFileNumberLabel->setGeometry(countersLeft, 0, toPixels(1200), metrics.lineSpacing());

    m_lastFoundFile = new QLabel(this);
    m_lastFoundFile->setObjectName(QStringLiteral("LastFoundFile"));
    m_lastFoundFile->setGeometry(toPixels(120), 0, toPixels(4500), toPixels(255));

    m_find = new QPushButton(QStringLiteral("Find "), this);
    m_find->setObjectName(QStringLiteral("Find"));
    m_find->resize(toPixels(FileSearchLayout::ButtonWidth),
                   toPixels(FileSearchLayout::ButtonHeight));
    connect(m_find, &QPushButton::clicked, this, &frmFileSearch::find);
    m_stopSearch = new QPushButton(QStringLiteral("Stop"), this);
    m_stopSearch->setObjectName(QStringLiteral("StopSearch"));
    m_stopSearch->resize(m_find->size());
    connect(m_stopSearch, &QPushButton::clicked, this, &frmFileSearch::stopSearch);

    m_runner = new SearchRunner(this);
    connect(m_runner, &SearchRunner::entriesExamined, this, &frmFileSearch::entriesExamined);
    connect(m_runner, &SearchRunner::filesFound, this, &frmFileSearch::filesFound);
    connect(m_runner, &SearchRunner::statusUpdated, m_status, &QLabel::setText);
    connect(m_runner, &SearchRunner::finished, this, &frmFileSearch::searchEnded);

    WindowFrame::setFrame(*this,
                          Twips::toPixels(1275, 1380, FileSearchLayout::MinimumSearchWidth, 6210));
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
