#include "gridview/GridFont.h"

namespace GridFont {

QFont cells() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    return font;
}

} // namespace GridFont
