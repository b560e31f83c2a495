#pragma once

#include "gridview/ColorBlend.h"

#include <QtGlobal>

/// The grid's fixed colours as Windows colour values (0x00BBGGRR); the public colour members
/// of List are derived from the first ones at start-up.
namespace GridColours {

/// The control's own background as designed; column surfaces normally show it.
inline constexpr qint32 ControlBackground = windowsRgb(231, 215, 201);
inline constexpr qint32 DefaultBorder = 14926250;
inline constexpr qint32 DefaultScrollFore = 13948116;
inline constexpr qint32 DefaultHeaderBack = 13948116;
inline constexpr qint32 NumberTextBase = windowsRgb(15, 40, 62);
inline constexpr qint32 HeaderLabelText = windowsRgb(64, 64, 64);
inline constexpr qint32 HeaderLabelBack = windowsRgb(224, 224, 224);
inline constexpr qint32 SplitterColour = windowsRgb(31, 81, 126);

} // namespace GridColours
