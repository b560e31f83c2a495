#pragma once

#include "platform/WindowsColor.h"

#include <QPalette>
#include <QWidget>

/// Fills a control's background (its Window role) with a colour given as a Windows colour
/// number, the form the grid keeps its colours in.
inline void setPanelColour(QWidget* widget, qint32 windowsColour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colorFromWindows(windowsColour));
    widget->setPalette(palette);
}
