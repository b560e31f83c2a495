#pragma once

#include "settings/SettingsRecord.h"
#include "ui/database/DatabaseSession.h"
#include "ui/database/ShellHost.h"
#include "ui/shell/GeneralPasswordCheck.h"
#include "ui/shell/SpreadsheetProbe.h"

#include <QWidget>

#include <memory>

class ClickableLabel;
class Platform;
class QLabel;
class QLineEdit;
class frmBalance;
class frmItems;

/// The start window, the application's first window and its anchor: it asks for the general
/// password when one is set, or offers the links "Database", "Security" and "Home Page".
/// Closing it writes the settings and ends the application. It owns what lives for the whole
/// run: the settings record, the security window and the database window's session.
class frmMain final : public QWidget, public ShellHost {
    Q_OBJECT

public:
    /// Starts the application whose folder tree is under `folder`: the missing folders are
    /// made, the security window is loaded hidden (reading the settings, probing the
    /// spreadsheet stand-in through `probe`, the real one when empty), and the window comes
    /// up in password mode when a general password is set, in navigation mode otherwise.
    explicit frmMain(const AppFolder& folder, const SpreadsheetProbe::Probe& probe = {},
                     QWidget* parent = nullptr);
    ~frmMain() override;
    Q_DISABLE_COPY_MOVE(frmMain)

    /// The password prompt with its OK, Cancel and key pictures; "Database" and "Security"
    /// hidden.
    void ShowPasswordMode();
    /// "Database" and "Security"; the prompt and its pictures hidden.
    void ShowNavigationMode();
    /// The wrong general passwords given in this run, as the key picture's tooltip shows them.
    int FailedAttempts() const { return m_check.FailedAttempts(); }

    SettingsRecord& settings() { return m_settings; }
    frmBalance& securityWindow() const { return *m_security; }
    /// The database window while it is open; nullptr before "Database" and once it closed.
    frmItems* databaseWindow() const;
    /// Opens the database window with the file at `path`, as if it were chosen in the Open
    /// dialog, editable; a file that is missing or cannot be read is said so and leaves an
    /// empty table. While the general password is asked for, this waits for the right one.
    void openFileAtStart(const QString& path);

    // ShellHost
    void databaseWindowClosed() override;
    void showSecurityWindow() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    ClickableLabel* link(const char* name, const QString& caption, int top, int width);
    void showLinkColour(QLabel& label, const QColor& colour);
    void checkPassword();
    void openDatabaseWindow();
    /// Ends the application at once: no window runs its closing steps, nothing is written.
    void endAtOnce();

    Platform& m_platform;
    SettingsRecord m_settings;
    DatabaseSession m_session;
    GeneralPasswordCheck m_check;
    std::unique_ptr<frmBalance> m_security;
    // The database window. One that has closed stays until "Database" or the end of the
    // application replaces it: it may close from inside its own work (a refused database
    // password while a file is read), which must not find it gone when it returns.
    std::unique_ptr<frmItems> m_items;
    bool m_itemsClosed = false;
    bool m_ended = false;
    // A file named on the command line, opened once the general password is given.
    QString m_fileAtStart;

    ClickableLabel* m_securityLink = nullptr;
    ClickableLabel* m_databaseLink = nullptr;
    ClickableLabel* m_homePage = nullptr;
    QLabel* m_please = nullptr;
    QLineEdit* m_password = nullptr;
    ClickableLabel* m_ok = nullptr;
    ClickableLabel* m_cancel = nullptr;
    QLabel* m_key = nullptr;
};
