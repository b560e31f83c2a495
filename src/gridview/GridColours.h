#pragma once

#include <QColor>
#include <QtGlobal>

/// Colours cross the grid's interface in the 0x00BBGGRR layout (red in the low byte); these
/// convert them for painting.
namespace GridColours {

inline constexpr qint32 rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}
inline QColor toQColor(qint32 c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
inline qint32 fromQColor(const QColor& c) {
    return rgb(c.red(), c.green(), c.blue());
}

/// The control's own background as designed; column surfaces normally show it.
inline constexpr qint32 ControlBackground = rgb(231, 215, 201);
inline constexpr qint32 DefaultBorder = 14926250;
inline constexpr qint32 DefaultScrollFore = 13948116;
inline constexpr qint32 DefaultHeaderBack = 13948116;
inline constexpr qint32 NumberTextBase = rgb(15, 40, 62);
inline constexpr qint32 HeaderLabelText = rgb(64, 64, 64);
inline constexpr qint32 HeaderLabelBack = rgb(224, 224, 224);
inline constexpr qint32 SplitterColour = rgb(31, 81, 126);

} // namespace GridColours
