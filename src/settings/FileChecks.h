#pragma once

#include <QString>

/// File-system checks shared by the windows' file commands.
namespace General {

/// True when something exists at the path: a file or a folder, through symbolic links (a
/// dangling link is nothing to open, so it counts as absent). The path is taken literally:
/// "*" and "?" are ordinary characters. False for an empty path.
bool FileExists(const QString& path);

/// True when the path names an existing folder, or a symbolic link to one. False for an empty
/// path.
bool FolderExists(const QString& path);

} // namespace General
