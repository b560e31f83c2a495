#include "gridview/ColorBlend.h"

#include <algorithm>

namespace {

// (255 - alpha) * second + alpha * first over 255, to the nearest integer. The numerator is a
// whole number and 255 is odd, so the quotient never ends in exactly .5: nearest is exact and
// "ties to even" never has to choose.
quint32 blendChannel(quint32 first, quint32 second, quint32 alpha) {
    const quint32 numerator = (255 - alpha) * second + alpha * first;
    const quint32 quotient = numerator / 255;
    const quint32 remainder = numerator % 255;
    return remainder * 2 > 255 ? quotient + 1 : quotient;
}

} // namespace

qint32 pvAlphaBlend(qint32 clrFirst, qint32 clrSecond, int lAlpha) {
    const auto first = quint32(plainWindowsColor(clrFirst));
    const auto second = quint32(plainWindowsColor(clrSecond));
    const auto alpha = quint32(std::clamp(lAlpha, 0, 255));
    quint32 blended = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const quint32 channel =
            blendChannel((first >> shift) & 0xFFu, (second >> shift) & 0xFFu, alpha);
        blended |= channel << shift;
    }
    return qint32(blended);
}
