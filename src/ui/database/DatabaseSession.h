#pragma once

#include "settings/AppFolder.h"
#include "ui/dialogs/DatabasePasswordDialogs.h"

class ShellHost;
struct SettingsRecord;

/// What the database window shares with the application around it, which outlives any one
/// window: the settings record and the folder tree, the password dialogs (with their count of
/// wrong entries), the recent-file slot the next file takes, and the shell.
struct DatabaseSession {
    SettingsRecord& settings;
    AppFolder folder;
    /// The shell that shows the start and security windows; none in tests and tools.
    ShellHost* shell = nullptr;
    DatabasePasswordDialogs passwords{};
    /// The recent-file slot (1..3) the next recorded file takes: slot 1 at every start.
    int nextRecentSlot = 1;
};
