#include "ui/shell/frmBalance.h"

#include "platform/Platform.h"
#include "platform/Twips.h"
#include "settings/AppFolder.h"
#include "settings/SettingsFile.h"
#include "ui/shell/SecurityCommands.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace {

const QColor kBackground(209, 167, 120);
const QColor kButtonFace(255, 192, 128);
const QColor kOldPasswordText(128, 64, 0);
constexpr int kMaxPasswordLength = 10;
// The captions stand one above each box: a line every 480 twips.
constexpr int kCaptionPitch = 32;

void paint(QWidget& widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

} // namespace

frmBalance::frmBalance(SettingsRecord& settings, const AppFolder& folder,
                       const SpreadsheetProbe::Probe& probe, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmBalance"));
    buildControls();
    Platform& platform = Platform::current();
    SecurityWindow& window = *this;
    m_commands = std::make_unique<SecurityCommands>(settings, folder, platform, window);
    connect(m_save, &QPushButton::clicked, this, [this] { m_commands->save(); });
    connect(m_state, &QPushButton::clicked, this, [this] { m_commands->disable(); });
    connect(m_close, &QPushButton::clicked, this, &QWidget::hide);

    (void)SettingsFile::ReadSettings(folder, settings); // an unreadable file keeps the defaults
    m_commands->showLoadedState();
    SpreadsheetProbe::startUp(settings, folder, platform,
                              probe ? probe : SpreadsheetProbe::forApplication(folder, platform));
}

frmBalance::~frmBalance() = default;

void frmBalance::buildControls() {
    setFixedSize(Twips::toPixels(3720), Twips::toPixels(2925));
    setAutoFillBackground(true);
    paint(*this, QPalette::Window, kBackground);

    m_captions = new QLabel(this);
    m_captions->setObjectName(QStringLiteral("Label7"));
    m_captions->setTextFormat(Qt::RichText);
    m_captions->setText(QStringLiteral("<div style=\"line-height:%1px\">Old General Password<br>"
                                       "<br>New General Password<br><br>Confirm Password</div>")
                            .arg(kCaptionPitch / 2));
    m_captions->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_captions->setGeometry(Twips::toPixels(960, 120, 2175, 1815));

    const auto passwordBox = [this](const char* name, int top) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setEchoMode(QLineEdit::Password);
        box->setFrame(false);
        box->setGeometry(Twips::toPixels(840, top, 2280, 195));
        return box;
    };
    m_old = passwordBox("OldPassword", 360);
    paint(*m_old, QPalette::Base, Qt::white);
    paint(*m_old, QPalette::Text, kOldPasswordText);
    m_new = passwordBox("NewPassword", 840);
    m_new->setMaxLength(kMaxPasswordLength);
    m_confirm = passwordBox("ConfirmNewPassword", 1320);
    m_confirm->setMaxLength(kMaxPasswordLength);

    const auto button = [this](const char* name, const QString& caption, int left, int top,
                               int width, int height) {
        auto* shown = new QPushButton(caption, this);
        shown->setObjectName(QString::fromLatin1(name));
        shown->setGeometry(Twips::toPixels(left, top, width, height));
        shown->setAutoDefault(false);
        return shown;
    };
    m_save = button("cmdSavePassword", QStringLiteral("Save"), 840, 1680, 2295, 255);
    paint(*m_save, QPalette::Button, kButtonFace);
    m_state = button("cmdPasswordON", QStringLiteral("Security is OFF"), 840, 2040, 2295, 255);
    paint(*m_state, QPalette::Button, kButtonFace);
    m_close = button("Close", QStringLiteral("X"), 3480, 0, 255, 255);
    m_close->setToolTip(QStringLiteral("Close"));
}

void frmBalance::SaveGeneralPassword() {
    m_commands->SaveGeneralPassword();
}

void frmBalance::ShowSecurityState() {
    m_commands->ShowSecurityState();
}

QLineEdit* frmBalance::box(Box which) const {
    switch (which) {
    case Box::OldPassword:
        return m_old;
    case Box::NewPassword:
        return m_new;
    case Box::ConfirmNewPassword:
        break;
    }
    return m_confirm;
}

QString frmBalance::boxText(Box which) const {
    return box(which)->text();
}

void frmBalance::emptyBox(Box which) {
    box(which)->clear();
}

void frmBalance::focusBox(Box which) {
    box(which)->setFocus(Qt::OtherFocusReason);
}

void frmBalance::showStateCaption(const QString& caption) {
    m_state->setText(caption);
}

void frmBalance::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    m_grab = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void frmBalance::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    if (event->buttons() & Qt::LeftButton) {
        move(event->globalPosition().toPoint() - m_grab);
    }
}
