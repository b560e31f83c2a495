#include "ui/shell/frmMain.h"

#include "platform/Platform.h"
#include "platform/Twips.h"
#include "settings/SettingsFile.h"
#include "text/ApplicationTitle.h"
#include "ui/database/SvgIcon.h"
#include "ui/database/frmItems.h"
#include "ui/dialogs/ClickableLabel.h"
#include "ui/shell/HomePage.h"
#include "ui/shell/StoredPlaceWatch.h"
#include "ui/shell/frmBalance.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace {

const QColor kLinkBrown(111, 55, 0);
const QColor kLinkYellow(255, 255, 0);
const QColor kPasswordBack(248, 236, 201);
const QString kBackground = QStringLiteral(":/shell/pictures/background.svg");

QFont linkFont(const QString& family = QString()) {
    QFont font = family.isEmpty() ? QFont() : QFont(family);
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

// A label keeps its place and widens where its caption needs more room than that place.
void fitCaption(QLabel& label) {
    label.resize(std::max(label.width(), label.sizeHint().width()), label.height());
}

// A picture of the resources, drawn at its place's size.
QPixmap picture(const char* name, QSize size) {
    return SvgIcon::load(QStringLiteral(":/shell/pictures/") + QString::fromLatin1(name), size)
        .pixmap(size);
}

} // namespace

frmMain::frmMain(const AppFolder& folder, const SpreadsheetProbe::Probe& probe, QWidget* parent)
    : QWidget(parent), m_platform(Platform::current()), m_session{.settings = m_settings,
                                                                  .folder = folder,
                                                                  .shell = this},
      m_check(m_platform) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(applicationTitle());
    buildControls();

    m_session.folder.EnsureFolders();
    m_security = std::make_unique<frmBalance>(m_settings, m_session.folder, probe);
    if (!m_settings.CURRENTPASSWORD.isEmpty()) {
        ShowPasswordMode();
        m_password->clear();
        m_password->setFocus(Qt::OtherFocusReason);
    } else {
        ShowNavigationMode();
    }
}

frmMain::~frmMain() {
    // Both refer to the record and the session, which go with this window.
    m_items.reset();
    m_security.reset();
}

void frmMain::buildControls() {
    setFixedSize(Twips::toPixels(6975), Twips::toPixels(5370));
    setMouseTracking(true);

    m_securityLink = link("lblBalance", QStringLiteral("Security"), 240, 1335);
    m_databaseLink = link("lblItems", QStringLiteral("Database"), 600, 855);
    m_homePage = link("VyxWebpage", QStringLiteral("Home Page"), 960, 1815);
    m_homePage->setFont(linkFont(QStringLiteral("Comic Sans MS")));
    for (QLabel* shown : {m_securityLink, m_databaseLink, m_homePage}) {
        fitCaption(*shown);
    }
    connect(m_securityLink, &ClickableLabel::clicked, this, &frmMain::showSecurityWindow);
    connect(m_databaseLink, &ClickableLabel::clicked, this, &frmMain::openDatabaseWindow);
    connect(m_homePage, &ClickableLabel::clicked, this, [this] { HomePage::open(m_platform); });

    m_please = new QLabel(
        QStringLiteral("Please Enter the Security Password and click on OK button"), this);
    m_please->setObjectName(QStringLiteral("lblPlease"));
    m_please->setGeometry(Twips::toPixels(1320, 2880, 4815, 255));
    QFont prompt = m_please->font();
    prompt.setPixelSize(11);
    m_please->setFont(prompt);
    fitCaption(*m_please);

    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("txtpassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setGeometry(Twips::toPixels(1080, 3120, 4815, 285));
    QPalette palette = m_password->palette();
    palette.setColor(QPalette::Base, kPasswordBack);
    palette.setColor(QPalette::Text, Qt::red);
    m_password->setPalette(palette);
    connect(m_password, &QLineEdit::returnPressed, this, &frmMain::checkPassword);

    const auto pictureButton = [this](const char* name, const char* file, int left) {
        auto* shown = new ClickableLabel(QString(), this);
        shown->setObjectName(QString::fromLatin1(name));
        shown->setGeometry(Twips::toPixels(left, 3480, 1665, 375));
        shown->setPixmap(picture(file, shown->size()));
        return shown;
    };
    m_ok = pictureButton("OKSecurity", "ok.svg", 1320);
    m_cancel = pictureButton("CancelSecurity", "cancel.svg", 3960);
    connect(m_ok, &ClickableLabel::clicked, this, &frmMain::checkPassword);
    connect(m_cancel, &ClickableLabel::clicked, this, &QWidget::close);

    m_key = new QLabel(this);
    m_key->setObjectName(QStringLiteral("ImageKey"));
    m_key->setGeometry(Twips::toPixels(3120, 960, 705, 720));
    m_key->setPixmap(picture("key.svg", m_key->size()));
    m_key->setToolTip(QString::number(m_check.FailedAttempts()));
}

ClickableLabel* frmMain::link(const char* name, const QString& caption, int top, int width) {
    auto* shown = new ClickableLabel(caption, this);
    shown->setObjectName(QString::fromLatin1(name));
    shown->setFont(linkFont());
    shown->setGeometry(Twips::toPixels(240, top, width, 255));
    showLinkColour(*shown, kLinkBrown);
    shown->installEventFilter(this);
    return shown;
}

void frmMain::showLinkColour(QLabel& label, const QColor& colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

// --- the two modes ------------------------------------------------------------------------------

void frmMain::ShowPasswordMode() {
    m_databaseLink->hide();
    m_securityLink->hide();
    for (QWidget* shown : {static_cast<QWidget*>(m_please), static_cast<QWidget*>(m_password),
                           static_cast<QWidget*>(m_ok), static_cast<QWidget*>(m_cancel),
                           static_cast<QWidget*>(m_key)}) {
        shown->show();
    }
}

void frmMain::ShowNavigationMode() {
    m_databaseLink->show();
    m_securityLink->show();
    for (QWidget* hidden : {static_cast<QWidget*>(m_please), static_cast<QWidget*>(m_password),
                            static_cast<QWidget*>(m_ok), static_cast<QWidget*>(m_cancel),
                            static_cast<QWidget*>(m_key)}) {
        hidden->hide();
    }
}

void frmMain::checkPassword() {
    switch (m_check.check(m_password->text(), m_settings.CURRENTPASSWORD)) {
    case GeneralPasswordCheck::Outcome::Accepted:
        ShowNavigationMode();
        if (!m_fileAtStart.isEmpty()) {
            openFileAtStart(std::exchange(m_fileAtStart, QString()));
        }
        return;
    case GeneralPasswordCheck::Outcome::Retry:
        m_password->clear();
        m_password->setFocus(Qt::OtherFocusReason);
        m_key->setToolTip(QString::number(m_check.FailedAttempts()));
        return;
    case GeneralPasswordCheck::Outcome::EndApplication:
        endAtOnce();
        return;
    }
}

// --- the other windows --------------------------------------------------------------------------

frmItems* frmMain::databaseWindow() const {
    return m_itemsClosed ? nullptr : m_items.get();
}

void frmMain::openDatabaseWindow() {
    if (m_itemsClosed) {
        m_items.reset();
        m_itemsClosed = false;
    }
    if (!m_items) {
        m_items = std::make_unique<frmItems>(m_session);
    }
    // Hidden and shown again, so that it comes up with the stored place, in front.
    if (m_items->isVisible()) {
        m_items->hide();
    }
    m_items->applyStoredState();
    m_items->show();
    // The stored size is the outer frame's; the frame's border is known only once the window
    // is shown, at once on some platforms and later on others.
    m_items->applyStoredState();
    StoredPlaceWatch::start(*m_items);
    m_items->raise();
    m_items->activateWindow();
}

void frmMain::openFileAtStart(const QString& path) {
    if (m_password->isVisibleTo(this)) {
        m_fileAtStart = path;
        return;
    }
    openDatabaseWindow();
    m_items->openFile(QFileInfo(path).absoluteFilePath());
}

void frmMain::databaseWindowClosed() {
    m_itemsClosed = true;
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void frmMain::showSecurityWindow() {
    if (m_security->isVisible()) {
        m_security->hide();
    } else if (!m_security->testAttribute(Qt::WA_Moved)) {
        // The first time, over the start window.
        m_security->move(frameGeometry().center() - m_security->rect().center());
    }
    m_security->show();
    m_security->raise();
    m_security->activateWindow();
}

// --- the end ------------------------------------------------------------------------------------

void frmMain::closeEvent(QCloseEvent* event) {
    if (m_ended) {
        event->accept();
        return;
    }
    // Unsaved changes are not thrown away without a word: Cancel, or a save that did not
    // happen, keeps the application running.
    if (frmItems* items = databaseWindow(); items && !items->mayEndApplication()) {
        event->ignore();
        return;
    }
    // A file that cannot be written keeps the one there; the application ends all the same.
    (void)SettingsFile::WriteSettings(m_session.folder, m_settings);
    event->accept();
    endAtOnce();
}

void frmMain::endAtOnce() {
    m_ended = true;
    // Hidden, not closed: no window runs its closing steps.
    if (m_items) {
        m_items->hide();
    }
    m_security->hide();
    hide();
    m_platform.endProcess();
}

// --- drawing and the links under the mouse
// -----------------------------------------------------------

void frmMain::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.drawPixmap(rect(), SvgIcon::load(kBackground, size()).pixmap(size()));
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        for (ClickableLabel* shown : {m_securityLink, m_databaseLink, m_homePage}) {
            if (watched == shown) {
                showLinkColour(*shown, kLinkYellow);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    // Moves over a link reach here too, passed on by the link.
    const QWidget* under = childAt(event->position().toPoint());
    for (ClickableLabel* shown : {m_securityLink, m_databaseLink, m_homePage}) {
        if (under == shown) {
            return;
        }
    }
    for (ClickableLabel* shown : {m_securityLink, m_databaseLink, m_homePage}) {
        showLinkColour(*shown, kLinkBrown);
    }
}
