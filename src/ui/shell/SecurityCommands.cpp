#include "ui/shell/SecurityCommands.h"

#include "platform/Platform.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"
#include "ui/shell/SecurityWindow.h"

namespace {

using Box = SecurityWindow::Box;

const QString kWarningTitle = QStringLiteral("Password Security Warning!");

} // namespace

SecurityCommands::SecurityCommands(SettingsRecord& settings, const AppFolder& folder,
                                   Platform& platform, SecurityWindow& window)
    : m_settings(settings), m_folder(folder), m_platform(platform), m_window(window) {}

void SecurityCommands::showLoadedState() {
    if (!m_settings.CURRENTPASSWORD.isEmpty()) {
        m_window.showStateCaption(QStringLiteral("Security ON"));
    }
}

bool SecurityCommands::oldPasswordMatches() {
    if (m_window.boxText(Box::OldPassword) == m_settings.CURRENTPASSWORD) {
        return true;
    }
    m_platform.messageBox({.text = QStringLiteral("Your Old Password is not correct"),
                           .icon = MessageIcon::Critical});
    m_window.focusBox(Box::OldPassword);
    return false;
}

void SecurityCommands::save() {
    if (!oldPasswordMatches()) {
        return;
    }
    if (m_window.boxText(Box::NewPassword) != m_window.boxText(Box::ConfirmNewPassword)) {
        m_platform.messageBox({.text = QStringLiteral("Your New Password is not confirmed "),
                               .icon = MessageIcon::Critical});
        m_window.focusBox(Box::ConfirmNewPassword);
        return;
    }
    if (m_window.boxText(Box::NewPassword).isEmpty() &&
        m_platform.messageBox(
            {.text = QStringLiteral("Your New Password is empty. Disable general password ?"),
             .title = kWarningTitle,
             .buttons = MessageButtons::YesNo}) != MessageButton::Yes) {
        m_window.focusBox(Box::NewPassword);
        return;
    }
    SaveGeneralPassword();
}

void SecurityCommands::disable() {
    if (!oldPasswordMatches()) {
        return;
    }
    if (m_platform.messageBox({.text = QStringLiteral("Disable general password ?"),
                               .title = kWarningTitle,
                               .buttons = MessageButtons::YesNo}) != MessageButton::Yes) {
        return;
    }
    m_window.emptyBox(Box::NewPassword);
    SaveGeneralPassword();
}

void SecurityCommands::SaveGeneralPassword() {
    const QString previous = m_settings.CURRENTPASSWORD;
    m_settings.CURRENTPASSWORD = m_window.boxText(Box::NewPassword);
    const FileResult written = SettingsFile::WriteSettings(m_folder, m_settings);
    if (!written.ok()) {
        // Not saved is not "successfully saved": the next start would still ask for the old
        // password, so the window keeps showing that one.
        m_settings.CURRENTPASSWORD = previous;
        m_platform.messageBox({.text = written.reason, .icon = MessageIcon::Critical});
        return;
    }
    m_platform.messageBox({.text = QStringLiteral("Changes are successfully saved"),
                           .icon = MessageIcon::Information});
    ShowSecurityState();
    for (const Box box : {Box::OldPassword, Box::NewPassword, Box::ConfirmNewPassword}) {
        m_window.emptyBox(box);
    }
}

void SecurityCommands::ShowSecurityState() {
    if (!m_settings.CURRENTPASSWORD.isEmpty()) {
        m_window.showStateCaption(QStringLiteral("Security ON"));
        return;
    }
    m_window.showStateCaption(QStringLiteral("Security OFF"));
    m_platform.messageBox({.text = QStringLiteral("General Password is disabled."),
                           .icon = MessageIcon::Information});
}
