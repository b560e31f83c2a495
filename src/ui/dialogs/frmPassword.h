#pragma once

#include <QDialog>

class ClickableLabel;
class PasswordDialogHost;
class QLineEdit;

/// The dialog that asks for the password of a protected file being opened. It counts wrong
/// entries for as long as it lives: hidden after a correct entry, it keeps the count for the
/// next protected file; after more than three, "Open" closes the database window.
class frmPassword final : public QDialog {
    Q_OBJECT

public:
    explicit frmPassword(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(frmPassword)

    /// True when the user may open a file whose stored password is `iPassword`: at once for
    /// the no-password marker and for an empty password, otherwise once the same text was
    /// typed. False when the user cancelled: the database window has been closed, and the
    /// dialog is to be discarded (cancelled()).
    bool ShowForm(const QString& iPassword, PasswordDialogHost& host);
    int WrongEntries() const { return m_wrongEntries; }
    /// The last ShowForm ended with Cancel.
    bool cancelled() const { return m_cancelled; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void open();
    void cancel();

    QLineEdit* m_entry = nullptr;
    ClickableLabel* m_open = nullptr;
    ClickableLabel* m_cancel = nullptr;
    PasswordDialogHost* m_host = nullptr;
    QString m_expected;
    int m_wrongEntries = 0;
    bool m_accepted = false;
    bool m_cancelled = false;
};
