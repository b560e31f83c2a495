#pragma once

#include <QString>

/// The application's name as its windows and messages show it: the title of every message box
/// that names no other, and the start of the grid's own messages.
inline QString applicationTitle() {
    return QStringLiteral("Qel 2005");
}
