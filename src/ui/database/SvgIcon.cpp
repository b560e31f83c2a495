#include "ui/database/SvgIcon.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace SvgIcon {
namespace {

QIcon render(const QString& path, QSize size) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid() || size.isEmpty()) {
        return QIcon();
    }
    QIcon icon;
    for (const int scale : {1, 2}) {
        QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        // The picture keeps its proportions, centred in the room it is given.
        QSizeF drawn = renderer.defaultSize().scaled(image.size(), Qt::KeepAspectRatio);
        renderer.render(&painter, QRectF(QPointF((image.width() - drawn.width()) / 2,
                                                 (image.height() - drawn.height()) / 2),
                                         drawn));
        painter.end();
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon load(const QString& path, QSize size) {
    // The pictures never change while the application runs: each is drawn once per size, so
    // a window opened again costs no drawing of its pictures.
    static QHash<QPair<QString, QSize>, QIcon> drawn;
    const QPair<QString, QSize> key(path, size);
    auto found = drawn.constFind(key);
    if (found == drawn.constEnd()) {
        found = drawn.insert(key, render(path, size));
    }
    return *found;
}

} // namespace SvgIcon
