#pragma once

#include <QString>

#include <functional>

class AppFolder;
class Platform;
struct ExcelEnvironment;
struct SettingsRecord;

/// The start-up probe of the spreadsheet stand-in: whether it can start, which the export and
/// import read from the setting lblEXCELSTATUS for the rest of the run.
namespace SpreadsheetProbe {

/// True when the stand-in could start. Tests give one of their own to reach the failure.
using Probe = std::function<bool()>;

/// Starts the stand-in as the exchange does, hidden and asking nothing, quits it and releases
/// it: true when it started.
bool canStart(const ExcelEnvironment& environment);
/// The probe of the application in `folder`: the stand-in with the exchange's own folders.
Probe forApplication(const AppFolder& folder, Platform& platform);

/// System/Temp/Temp.tmp, which holds "ERROR" after a failed probe.
QString markerFile(const AppFolder& folder);
/// Runs `probe`: lblEXCELSTATUS becomes "RADI" when it succeeds. Otherwise it becomes
/// "NERADI", the user is told that the spreadsheet buttons will not work, and the marker file
/// is written with "ERROR" (a marker that cannot be written is left out).
void startUp(SettingsRecord& settings, const AppFolder& folder, Platform& platform,
             const Probe& probe);

} // namespace SpreadsheetProbe
