#pragma once

#include <QDialog>

class ClickableLabel;
class PasswordDialogHost;
class QLineEdit;

/// The dialog that asks for a new database password, twice, when a table is saved protected.
/// While the database password option is off it gives the no-password marker without showing
/// itself. Hidden, not destroyed, after a password was accepted.
class frmSetPassword final : public QDialog {
    Q_OBJECT

public:
    explicit frmSetPassword(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmSetPassword)

    /// Empties both entries and asks; true when a password was accepted, which password()
    /// then holds. False when the user cancelled: the dialog has said that the database was
    /// not saved and marked it changed.
    bool ShowForm(PasswordDialogHost& host);
    /// The accepted password; "" until one is.
    QString password() const { return m_password; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void save();
    void cancel();

    QLineEdit* m_first = nullptr;
    QLineEdit* m_second = nullptr;
    ClickableLabel* m_save = nullptr;
    ClickableLabel* m_cancel = nullptr;
    PasswordDialogHost* m_host = nullptr;
    QString m_password;
    bool m_accepted = false;
};
