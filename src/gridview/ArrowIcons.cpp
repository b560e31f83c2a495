#include "gridview/ArrowIcons.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <array>

namespace ArrowIcons {

namespace {

QImage drawIcon(int index) {
    QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
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
    QPainter painter(&image);
    const QColor colour = enabled ? QColor(0, 0, 0) : QColor(160, 160, 160);
    painter.setPen(colour);
    painter.setBrush(colour);
    painter.drawPolygon(triangle);
    return image;
}

} // namespace

QPixmap icon(int index) {
    // Drawn once per process: every grid shows the same eight. Images, unlike pixmaps, may
    // outlive the application object.
    static const std::array<QImage, 8> images = [] {
        std::array<QImage, 8> drawn;
        for (int k = 0; k < 8; ++k) {
            drawn[std::size_t(k)] = drawIcon(k);
        }
        return drawn;
    }();
    return QPixmap::fromImage(images[std::size_t(index)]);
}

} // namespace ArrowIcons
