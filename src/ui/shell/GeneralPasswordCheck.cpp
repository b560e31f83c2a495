#include "ui/shell/GeneralPasswordCheck.h"

#include "platform/Platform.h"

GeneralPasswordCheck::GeneralPasswordCheck(Platform& platform) : m_platform(platform) {}

GeneralPasswordCheck::Outcome GeneralPasswordCheck::check(const QString& typed,
                                                          const QString& password) {
    if (typed == password) {
        return Outcome::Accepted;
    }
    if (m_platform.messageBox({.text = QStringLiteral("Your Password is not valid!"),
                               .buttons = MessageButtons::RetryCancel}) != MessageButton::Retry) {
        return Outcome::EndApplication;
    }
    ++m_failedAttempts;
    if (m_failedAttempts > AllowedFailures) {
        m_platform.messageBox(
            {.text = QStringLiteral("Invalid Passwords!"), .icon = MessageIcon::Critical});
        return Outcome::EndApplication;
    }
    return Outcome::Retry;
}
