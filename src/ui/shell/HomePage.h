#pragma once

#include <QString>

class Platform;

/// "Home Page": the application's own about page, a local HTML file installed with it.
namespace HomePage {

/// The about page's place as installed: share/qel2005/about/index.html beside the bin folder
/// that holds the executable.
QString installedPage(const QString& executableFolder);
/// The about page for an executable in `executableFolder`: the installed one when it is there,
/// otherwise the copy in the source tree the build was made from (a build run in place), and
/// the installed place when neither exists.
QString aboutPage(const QString& executableFolder);
/// Hands the about page of the running executable to the desktop. A failure is ignored and
/// nothing is said.
void open(Platform& platform);

} // namespace HomePage
