#pragma once

#include <QColor>
#include <QtGlobal>

// Colours travel through the application as Windows colour values: 0x00BBGGRR for a plain
// colour, or 0x80000000 | index for one of the system's colours (index 15 is the button face).

/// A Windows colour value as a QColor; system colours come from the application's palette.
QColor colorFromWindows(qint32 windowsColor);

/// A QColor as a plain Windows colour value 0x00BBGGRR.
qint32 windowsFromColor(const QColor& color);

/// A plain 0x00BBGGRR value for any Windows colour value: system colours are looked up in the
/// application's palette, plain ones lose any stray bits above blue.
qint32 plainWindowsColor(qint32 windowsColor);
