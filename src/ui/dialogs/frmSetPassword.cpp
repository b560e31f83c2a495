#include "ui/dialogs/frmSetPassword.h"

#include "platform/Platform.h"
#include "qelfile/PasswordPrompts.h"
#include "text/ApplicationTitle.h"
#include "ui/dialogs/ClickableLabel.h"
#include "ui/dialogs/PasswordDialogHost.h"
#include "ui/dialogs/PasswordDialogLook.h"

#include <QLineEdit>

frmSetPassword::frmSetPassword(QWidget* parent) : QDialog(parent) {
    using namespace PasswordDialogLook;
    setUp(*this, QStringLiteral("frmSetPassword"), QStringLiteral("Database Security "), 3500,
          1440);
    label(*this, QStringLiteral("Label1"),
          QStringLiteral("Enter Database Password :\n\nVerify Database Password:"), 960, 0, 2295,
          735);
    m_first = passwordBox(*this, QStringLiteral("Text1"), 840, 240, 2415, 225);
    m_second = passwordBox(*this, QStringLiteral("Text2"), 840, 720, 2415, 225);
    m_save =
        action(*this, QStringLiteral("lblSaveSetup"), QStringLiteral("Save"), 840, 960, 975, 255);
    m_cancel = action(*this, QStringLiteral("lblCancelSetup"), QStringLiteral(" Cancel"), 2280, 960,
                      855, 375);
    connect(m_save, &ClickableLabel::clicked, this, &frmSetPassword::save);
    connect(m_cancel, &ClickableLabel::clicked, this, &frmSetPassword::cancel);
}

bool frmSetPassword::ShowForm(PasswordDialogHost& host) {
    m_host = &host;
    m_first->clear();
    m_second->clear();
    m_password.clear();
    m_accepted = false;
    if (!host.databasePasswordEnabled()) {
        // The option is off: the file gets the marker that lets anyone in, and no question.
        m_first->setText(NoPasswordMarker);
        m_second->setText(NoPasswordMarker);
        m_password = NoPasswordMarker;
        m_accepted = true;
        return true;
    }
    m_first->setFocus();
    Platform::current().runDialog(*this);
    return m_accepted;
}

void frmSetPassword::save() {
    Platform& platform = Platform::current();
    if (m_first->text() != m_second->text()) {
        platform.messageBox(
            {.text = QStringLiteral("Passwords are not the same. Please try again!")});
        m_first->setFocus();
        m_first->selectAll();
        return;
    }
    if (m_first->text().isEmpty()) {
        platform.messageBox({.text = QStringLiteral("You must setup database password")});
        return;
    }
    m_accepted = true;
    m_password = m_first->text();
    accept();
}

void frmSetPassword::cancel() {
    reject();
    // Glued to the caption, as the user reads it: "Database [ name ]was not saved".
    Platform::current().messageBox(
        {.text = m_host->databaseWindowCaption() + QStringLiteral("was not saved"),
         .title = applicationTitle(),
         .icon = MessageIcon::Critical});
    m_accepted = false;
    m_host->markDatabaseChanged();
}

void frmSetPassword::mouseMoveEvent(QMouseEvent* event) {
    QDialog::mouseMoveEvent(event);
    m_save->showNormal();
    m_cancel->showNormal();
}
