#pragma once

#include <QRect>

/// Window geometry is kept in twips, as the settings store it: 15 twips to a pixel of a
/// 96-dpi screen.
namespace Twips {

inline constexpr int PerPixel = 15;

/// Twips to pixels, halves to the even pixel.
int toPixels(int twips);
/// A rectangle given in twips (left, top, width, height), in pixels.
QRect toPixels(int left, int top, int width, int height);
/// Pixels to twips.
inline int fromPixels(int pixels) {
    return pixels * PerPixel;
}

} // namespace Twips
