#pragma once

#include <QString>

class AppFolder;
class Platform;

/// The one sound the application asks for: System/Sound/2.wav, a file the user may place
/// there, at the start of a spreadsheet export or import.
namespace SoundRequest {

/// The path of the sound under `folder`.
QString soundFile(const AppFolder& folder);
/// Hands the sound to the Platform when the file is there; nothing otherwise. Whatever
/// happens to it is silent, and the caller goes on.
void make(const AppFolder& folder, Platform& platform);

} // namespace SoundRequest
