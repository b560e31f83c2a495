#pragma once

#include "settings/AppFolder.h"

#include <QtGlobal>

class Platform;
class SecurityWindow;
struct SettingsRecord;

/// Save and Disable of the security window: the general password changed, set or removed
/// after the old one was given, and written to the settings file at once.
class SecurityCommands final {
public:
    SecurityCommands(SettingsRecord& settings, const AppFolder& folder, Platform& platform,
                     SecurityWindow& window);
    Q_DISABLE_COPY_MOVE(SecurityCommands)

    /// "Save": the old password must match and the new one be confirmed; an empty new one
    /// removes the password after a question.
    void save();
    /// cmdPasswordON: after the old password and a question, the password is removed.
    void disable();
    /// Takes the new password box's text as the general password and writes the settings;
    /// says so, shows the state and empties the boxes. A settings file that cannot be written
    /// is said instead, and the password stays as it was.
    void SaveGeneralPassword();
    /// The button's caption for the password state; a removed password is also said.
    void ShowSecurityState();
    /// The caption the window loads with: "Security ON" with a password, its design caption
    /// otherwise.
    void showLoadedState();

private:
    bool oldPasswordMatches();

    SettingsRecord& m_settings;
    AppFolder m_folder;
    Platform& m_platform;
    SecurityWindow& m_window;
};
