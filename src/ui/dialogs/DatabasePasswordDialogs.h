#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>

class PasswordDialogHost;
class frmPassword;
class frmSetPassword;

/// The two database password dialogs as the application keeps them for a whole run: each is
/// made when first needed and kept, so the open dialog's count of wrong entries carries over
/// from one protected file to the next; a cancelled open dialog is discarded with its count.
class DatabasePasswordDialogs final {
public:
    DatabasePasswordDialogs();
    ~DatabasePasswordDialogs();
    Q_DISABLE_COPY_MOVE(DatabasePasswordDialogs)

    /// frmSetPassword.ShowForm: the accepted new password, or nothing when cancelled.
    std::optional<QString> askNewPassword(PasswordDialogHost& host);
    /// frmPassword.ShowForm: true when the user may open a file holding `stored`.
    bool checkPassword(const QString& stored, PasswordDialogHost& host);
    /// The wrong entries counted so far in this run; 0 before any and after a Cancel.
    int wrongEntries() const;

private:
    std::unique_ptr<frmSetPassword> m_set;
    std::unique_ptr<frmPassword> m_open;
};
