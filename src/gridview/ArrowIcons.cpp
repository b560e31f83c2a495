#include "gridview/ArrowIcons.h"

#include <QPainter>
#include <QPolygon>

namespace ArrowIcons {

QPixmap icon(int index) {
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    const bool enabled = index < 4;
    const int direction = index % 4;
    // A solid triangle pointing the way the button scrolls, 7 pixels across its base.
    QPolygon triangle;
    switch (direction) {
    case 0:
        triangle << QPoint(4, 2) << QPoint(1, 5) << QPoint(7, 5);
        break;
    case 1:
        triangle << QPoint(1, 3) << QPoint(7, 3) << QPoint(4, 6);
        break;
    case 2:
        triangle << QPoint(2, 4) << QPoint(5, 1) << QPoint(5, 7);
        break;
    default:
        triangle << QPoint(3, 1) << QPoint(6, 4) << QPoint(3, 7);
        break;
    }
    QPainter painter(&pixmap);
    const QColor colour = enabled ? QColor(0, 0, 0) : QColor(160, 160, 160);
    painter.setPen(colour);
    painter.setBrush(colour);
    painter.drawPolygon(triangle);
    return pixmap;
}

} // namespace ArrowIcons
