#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

/// A drawing surface that keeps what was drawn on it: the grid's render routines paint into
/// its pixmap, and a repaint of the widget only copies that pixmap to the screen. Growing the
/// widget keeps the drawing and fills the new area with the background.
class RetainedSurface final : public QWidget {
    Q_OBJECT
public:
    RetainedSurface(const QString& name, QWidget* parent);

    QColor background() const { return m_background; }
    /// Sets the background and, like a freshly coloured surface, erases the drawing.
    void setBackground(const QColor& colour);
    /// Erases the drawing to the background.
    void clear();
    /// The retained drawing, as large as the widget is now; paint into it, then call update().
    QPixmap& canvas();
    const QPixmap& canvas() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // A hidden widget learns of its new size only when shown; drawing must not wait for that.
    void matchSize() const;
    // The widget's size, never less than one pixel each way.
    QSize pixmapSize() const { return size().expandedTo(QSize(1, 1)); }

    QColor m_background{Qt::white};
    // Made when first drawn on, read or shown, at the size the widget has then: a surface
    // coloured and erased before it is laid out allocates nothing at its passing sizes.
    mutable QPixmap m_pixmap;
};
