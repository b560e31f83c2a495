#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>
#include <algorithm>

/// The grid's one-pixel rules, filled as rectangles: the same pixels an aliased one-pixel
/// pen draws from the first point to the last, at a fraction of a stroked line's cost, which
/// counts on every scroll, where a surface has a rule under each of its rows.
namespace PixelLines {

/// Row `y` from `x1` to `x2`, both included.
inline void horizontal(QPainter& painter, int x1, int x2, int y, const QColor& colour) {
    painter.fillRect(QRect(QPoint(std::min(x1, x2), y), QPoint(std::max(x1, x2), y)), colour);
}

/// Column `x` from `y1` to `y2`, both included.
inline void vertical(QPainter& painter, int x, int y1, int y2, const QColor& colour) {
    painter.fillRect(QRect(QPoint(x, std::min(y1, y2)), QPoint(x, std::max(y1, y2))), colour);
}

} // namespace PixelLines
