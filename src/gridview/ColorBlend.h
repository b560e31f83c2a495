#pragma once

#include "platform/WindowsColor.h"

#include <QtGlobal>

/// The blend of two Windows colour values (0x00BBGGRR, system colours translated first): each
/// of red, green and blue is ((255 - lAlpha) * second + lAlpha * first) / 255 rounded to the
/// nearest integer, ties to even. lAlpha 255 gives clrFirst, 0 gives clrSecond; values outside
/// 0..255 are clamped. The grid derives its colours and the drawn button its edges with it.
qint32 pvAlphaBlend(qint32 clrFirst, qint32 clrSecond, int lAlpha);

/// A plain Windows colour value from its red, green and blue parts.
constexpr qint32 windowsRgb(int red, int green, int blue) {
    return qint32(quint32(red & 0xFF) | (quint32(green & 0xFF) << 8) |
                  (quint32(blue & 0xFF) << 16));
}
