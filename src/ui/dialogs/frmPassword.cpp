#include "ui/dialogs/frmPassword.h"

#include "platform/Platform.h"
#include "qelfile/PasswordPrompts.h"
#include "ui/dialogs/ClickableLabel.h"
#include "ui/dialogs/PasswordDialogHost.h"
#include "ui/dialogs/PasswordDialogLook.h"

#include <QLabel>
#include <QLineEdit>

frmPassword::frmPassword(QWidget* parent) : QDialog(parent) {
    using namespace PasswordDialogLook;
    setUp(*this, QStringLiteral("frmPassword"), QStringLiteral("Database Security"), 3750, 840);
    label(*this, QStringLiteral("Label1"), QStringLiteral("Enter Database Password:"), 1080, 0,
          2175, 255);
    m_entry = passwordBox(*this, QStringLiteral("Text1"), 840, 240, 2775, 210);
    QPalette white = m_entry->palette();
    white.setColor(QPalette::Base, Qt::white);
    m_entry->setPalette(white);
    m_open =
        action(*this, QStringLiteral("lblSaveSetup"), QStringLiteral("Open"), 1080, 480, 975, 255);
    m_cancel = action(*this, QStringLiteral("lblCancelSetup"), QStringLiteral(" Cancel"), 2280, 480,
                      855, 255);
    connect(m_open, &ClickableLabel::clicked, this, &frmPassword::open);
    connect(m_cancel, &ClickableLabel::clicked, this, &frmPassword::cancel);
}

bool frmPassword::ShowForm(const QString& iPassword, PasswordDialogHost& host) {
    m_host = &host;
    m_entry->clear();
    m_expected = iPassword;
    m_accepted = false;
    m_cancelled = false;
    // The marker and an empty password let the user in before the dialog is seen.
    if (iPassword == NoPasswordMarker || iPassword.isEmpty()) {
        return true;
    }
    m_entry->setFocus();
    Platform::current().runDialog(*this);
    return m_accepted;
}

void frmPassword::open() {
    Platform& platform = Platform::current();
    if (m_wrongEntries > 3) {
        platform.messageBox({.text = QStringLiteral("Your password was incorrect several times!")});
        m_host->closeDatabaseWindow();
    }
    if (m_entry->text() != m_expected) {
        platform.messageBox(
            {.text = QStringLiteral("Your password is incorrect. Please try again!")});
        m_entry->clear();
        ++m_wrongEntries;
        return;
    }
    m_accepted = true;
    accept();
}

void frmPassword::cancel() {
    m_accepted = false;
    m_cancelled = true;
    reject();
    m_host->closeDatabaseWindow();
}

void frmPassword::mouseMoveEvent(QMouseEvent* event) {
    QDialog::mouseMoveEvent(event);
    m_open->showNormal();
    m_cancel->showNormal();
}
