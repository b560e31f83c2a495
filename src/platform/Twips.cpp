#include "platform/Twips.h"

#include <cmath>

namespace Twips {

int toPixels(int twips) {
    return int(std::nearbyint(double(twips) / PerPixel));
}

QRect toPixels(int left, int top, int width, int height) {
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace Twips
