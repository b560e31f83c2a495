#include "ui/dialogs/DatabasePasswordDialogs.h"

#include "ui/dialogs/frmPassword.h"
#include "ui/dialogs/frmSetPassword.h"

DatabasePasswordDialogs::DatabasePasswordDialogs() = default;
DatabasePasswordDialogs::~DatabasePasswordDialogs() = default;

std::optional<QString> DatabasePasswordDialogs::askNewPassword(PasswordDialogHost& host) {
    if (!m_set) {
        m_set = std::make_unique<frmSetPassword>();
    }
    if (!m_set->ShowForm(host)) {
        return std::nullopt;
    }
    return m_set->password();
}

bool DatabasePasswordDialogs::checkPassword(const QString& stored, PasswordDialogHost& host) {
    if (!m_open) {
        m_open = std::make_unique<frmPassword>();
    }
    const bool accepted = m_open->ShowForm(stored, host);
    if (m_open->cancelled()) {
        m_open.reset();
    }
    return accepted;
}

int DatabasePasswordDialogs::wrongEntries() const {
    return m_open ? m_open->WrongEntries() : 0;
}
