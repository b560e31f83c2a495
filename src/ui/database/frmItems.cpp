#include "ui/database/frmItems.h"

#include "gridview/List.h"
#include "platform/Platform.h"
#include "settings/SettingsRecord.h"
#include "ui/database/ActiveColumnValue.h"
#include "ui/database/ApplicationStyle.h"
#include "ui/database/ClientAreaStyle.h"
#include "ui/database/DatabaseMenus.h"
#include "ui/database/DatabaseSession.h"
#include "ui/database/EditBar.h"
#include "ui/database/FindPanel.h"
#include "ui/database/MainBar.h"
#include "ui/database/PleaseWaitPanel.h"
#include "ui/database/ValueHolder.h"
#include "ui/database/WindowLayout.h"
#include "ui/database/commands/ColumnCommands.h"
#include "ui/database/commands/DefaultTable.h"
#include "ui/database/commands/DocumentCommands.h"
#include "ui/database/commands/ExchangeCommands.h"
#include "ui/database/commands/FindCommands.h"
#include "ui/database/commands/FormatCommands.h"
#include "ui/database/commands/JournalCommands.h"
#include "ui/database/commands/RecordCommands.h"
#include "ui/search/frmFileSearch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QScreen>
#include <QToolButton>

namespace {

const QColor kBackground(209, 167, 120);
const QString kPasswordEnabled = QStringLiteral("Database Password is Enabled");
const QString kPasswordDisabled = QStringLiteral("Database Password is Disabled");

} // namespace

frmItems::frmItems(DatabaseSession& session, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_platform(Platform::current()) {
    setObjectName(QStringLiteral("frmItems"));
    pinScreen();
    m_session.folder.EnsureFolders();
    setWindowTitle(QStringLiteral("Database [ Unsaved ]"));
    m_items = DatabaseMenus::build(*menuBar());
    buildControls();
    wireCommands();
}

frmItems::~frmItems() {
    qApp->removeEventFilter(this);
    // The grid goes before the window's members; nothing it does on the way may reach them.
    m_list->setHost(nullptr);
    m_list->setPasswordPrompts(nullptr);
}

void frmItems::buildControls() {
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->setStyle(applicationStyle<ClientAreaStyle>());
    m_client->setAutoFillBackground(true);
    QPalette palette = m_client->palette();
    palette.setColor(QPalette::Window, kBackground);
    m_client->setPalette(palette);
    setCentralWidget(m_client);

    m_list = new List(m_client);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setGeometry(WindowLayout::toPixels(0, 360, 4575, 5055));
    m_list->setHost(this);
    m_list->setPasswordPrompts(this);
    connect(m_list, &List::KeyDown, this, [this] { setChangeStatus(QStringLiteral("1")); });

    m_mainbar = new MainBar(m_client);
    m_editBar = new EditBar(m_client);
    m_editBar->setGeometry(WindowLayout::toPixels(4560, 0, 4095, 340));
    connect(m_editBar, &EditBar::edited, this, &frmItems::editBarEdited);

    m_activeColumn = new ValueHolder(QStringLiteral("ActiveColumn"), QStringLiteral("1"), m_client);
    m_changeStatus =
        new ValueHolder(QStringLiteral("lblChangeStatus"), QStringLiteral("0"), m_client);

    resize(WindowLayout::toPixels(3645), WindowLayout::toPixels(5745));
}

void frmItems::pinScreen() {
    QScreen* under = QGuiApplication::screenAt(geometry().center());
    setScreen(under ? under : QGuiApplication::primaryScreen());
}

void frmItems::setVisible(bool visible) {
    if (visible && !windowHandle()) {
        pinScreen();
    }
    QMainWindow::setVisible(visible);
}

QAction* frmItems::menuItem(const QString& name) const {
    return m_items.value(name, nullptr);
}

// --- layout ----------------------------------------------------------------------------------

void frmItems::Reposition() {
    using WindowLayout::toPixels;
    WindowLayout::Input input;
    input.clientWidth = WindowLayout::toTwips(m_client->width());
    input.clientHeight = WindowLayout::toTwips(m_client->height());
    input.outerWidth = WindowLayout::toTwips(frameGeometry().width());
    input.toolbarVisible = !m_mainbar->isHidden();
    input.editBarVisible = !m_editBar->isHidden();
    input.findPanelVisible = findPanelShown();
    const WindowLayout::Placement place = WindowLayout::reposition(input);

    QRect grid = m_list->geometry();
    grid.moveTop(toPixels(place.gridTop));
    if (place.gridWidth) {
        grid.setWidth(toPixels(*place.gridWidth));
    }
    if (place.gridHeight) {
        grid.setHeight(toPixels(*place.gridHeight));
    }
    m_list->setGeometry(grid);
    if (place.toolbarWidth) {
        m_mainbar->resize(toPixels(*place.toolbarWidth), m_mainbar->height());
    }
    m_editBar->move(toPixels(place.editBarLeft), m_editBar->y());
    if (place.editBarWidth) {
        m_editBar->resize(toPixels(*place.editBarWidth), m_editBar->height());
    }
    if (findPanelShown()) {
        m_find->move(m_find->x(), toPixels(place.findPanelTop));
    }
}

void frmItems::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Reposition();
}

void frmItems::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange) {
        return;
    }
    // The menu shortcuts must reach the window while the edit bar or a cell editor, which
    // claim Ctrl+C and the like for themselves, has the focus. Keys reach only the active
    // window, so only the active window looks at every event for them.
    if (isActiveWindow()) {
        qApp->installEventFilter(this);
        activated();
    } else {
        qApp->removeEventFilter(this);
    }
}

void frmItems::activated() {
    {
        const QScopedValueRollback keep(m_keepChangeStatus, true);
        DefaultTable::apply(*m_list, m_platform);
    }
    Reposition();
    showDatabasePasswordOption();
}

void frmItems::toggleBar(QWidget* bar, QAction* item) {
    // The item has already flipped its check mark.
    bar->setVisible(item->isChecked());
    Reposition();
}

PleaseWaitPanel& frmItems::pleaseWait() {
    if (!m_pleaseWait) {
        m_pleaseWait = new PleaseWaitPanel(m_client);
    }
    return *m_pleaseWait;
}

FindPanel& frmItems::findPanel() {
    // Made when first opened: most sessions never search, and a window opens faster without it.
    if (!m_find) {
        m_find = new FindPanel(m_client);
        m_find->move(WindowLayout::toPixels(120), WindowLayout::toPixels(360));
        connect(m_find, &FindPanel::findClicked, this,
                [this] { m_findCommands->find(m_find->searchText(), m_find->exactMatch()); });
        connect(m_find, &FindPanel::replaceClicked, this, [this] {
            m_findCommands->replace(m_find->searchText(), m_find->replacementText(),
                                    m_find->replaceAll(), m_find->exactMatch());
        });
        connect(m_find, &FindPanel::closeClicked, this, [this] { closeFindPanel(); });
    }
    return *m_find;
}

bool frmItems::findPanelShown() const {
    return m_find && !m_find->isHidden();
}

void frmItems::toggleFindPanel() {
    // The panel keeps the top the last layout gave it; only the grid moves.
    if (findPanelShown()) {
        m_find->hide();
    } else {
        FindPanel& panel = findPanel();
        panel.show();
        panel.raise();
        panel.focusSearch();
    }
    Reposition();
}

void frmItems::closeFindPanel() {
    if (m_find) {
        m_find->hide();
    }
    Reposition();
}

// --- database password option -----------------------------------------------------------------

void frmItems::toggleDatabasePassword() {
    m_session.settings.DatabasePassword = menuItem(QStringLiteral("password"))->isChecked()
                                              ? QStringLiteral("Enabled")
                                              : QStringLiteral("Disabled");
    showDatabasePasswordOption();
}

void frmItems::showDatabasePasswordOption() {
    QAction* item = menuItem(QStringLiteral("password"));
    const bool enabled = m_session.settings.databasePasswordEnabled();
    item->setChecked(enabled);
    item->setText(enabled ? kPasswordEnabled : kPasswordDisabled);
}

// --- the value holders ---------------------------------------------------------------------------

QString frmItems::lblChangeStatus() const {
    return m_changeStatus->text();
}

void frmItems::setChangeStatus(const QString& status) {
    m_changeStatus->setText(status);
}

void frmItems::setActiveColumn(const QString& column) {
    const ActiveColumnValue::Kept kept = ActiveColumnValue::keep(column);
    m_activeColumn->setText(kept.value);
    if (kept.rejected) {
        m_platform.messageBox({.text = QStringLiteral("YOU CAN ENTER ONLY NUMBERS!")});
    }
}

QString frmItems::activeColumn() const {
    return m_activeColumn->text();
}

int frmItems::activeColumnNumber() const {
    return ActiveColumnValue::number(m_activeColumn->text());
}

void frmItems::markDirty() {
    setChangeStatus(QStringLiteral("1"));
}

void frmItems::tableChanged() {
    if (!m_keepChangeStatus) {
        markDirty();
    }
}

// --- the grid's seam ----------------------------------------------------------------------------

bool frmItems::exactMatchTicked() const {
    return m_find && m_find->exactMatch();
}

QString frmItems::searchText() const {
    return m_find ? m_find->searchText() : QString();
}

void frmItems::setEditBarText(const QString& text) {
    m_editBar->showText(text);
}

void frmItems::showCellFormat(bool bold, bool italic, bool underlined, qint32 color) {
    m_mainbar->showFormat(
        {.bold = bold, .italic = italic, .underlined = underlined, .color = color});
}

void frmItems::setProgressMaximum(int maximum) {
    pleaseWait().bar().setMaximum(maximum);
}

void frmItems::setProgressValue(int value) {
    QProgressBar& bar = pleaseWait().bar();
    bar.setValue(std::clamp(value, bar.minimum(), bar.maximum()));
    // An export or import runs on this thread: the bar is shown moving, the user's input
    // waits until it is done.
    if (!m_sinceRepaint.isValid() || m_sinceRepaint.elapsed() >= 30) {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_sinceRepaint.start();
    }
}

QString frmItems::excelStatus() const {
    return m_session.settings.lblEXCELSTATUS;
}

QString frmItems::exchangeTempFolder() const {
    return m_session.folder.tempFolder();
}

void frmItems::editBarEdited(const QString& text) {
    m_list->COLUMNUMBER();
    m_list->ChangeItem(m_list->iSelected(), activeColumnNumber(), text);
}

// --- what commands ask of the window ----------------------------------------------------------

ShownFormat frmItems::shownFormat() const {
    return m_mainbar->shownFormat();
}

void frmItems::showFormat(const ShownFormat& format) {
    m_mainbar->showFormat(format);
}

void frmItems::clearEditBar() {
    m_editBar->showText(QString());
}

void frmItems::focusUndoThenGrid() {
    m_mainbar->button(QStringLiteral("cmdUndo"))->setFocus(Qt::OtherFocusReason);
    m_list->setFocus(Qt::OtherFocusReason);
}

// --- shortcuts ----------------------------------------------------------------------------------

bool frmItems::isMenuShortcut(QObject* target, const QKeyEvent& key) const {
    auto* widget = qobject_cast<QWidget*>(target);
    if (!widget || !(widget == m_editBar || m_list->isAncestorOf(widget))) {
        return false;
    }
    const QKeySequence pressed(key.keyCombination());
    for (const char* name : {"undo", "redo", "Copy", "paste", "AddRow", "deleterow"}) {
        const QAction* item = menuItem(QString::fromLatin1(name));
        if (item->isEnabled() && item->shortcut() == pressed) {
            return true;
        }
    }
    return false;
}

bool frmItems::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        isMenuShortcut(watched, *static_cast<QKeyEvent*>(event))) {
        // Left unaccepted, the key goes to the window's shortcut instead of the edit box.
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
