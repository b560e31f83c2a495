#include "gridview/RetainedSurface.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

RetainedSurface::RetainedSurface(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RetainedSurface::setBackground(const QColor& colour) {
    m_background = colour;
    clear();
}

QPixmap& RetainedSurface::canvas() {
    matchSize();
    return m_pixmap;
}

const QPixmap& RetainedSurface::canvas() const {
    matchSize();
    return m_pixmap;
}

void RetainedSurface::clear() {
    // Erased anyway: a surface of another size drops its pixmap, and gets a new one filled
    // with the background when it is next needed.
    if (m_pixmap.size() == pixmapSize()) {
        m_pixmap.fill(m_background);
    } else {
        m_pixmap = QPixmap();
    }
    update();
}

void RetainedSurface::paintEvent(QPaintEvent* event) {
    matchSize();
    QPainter painter(this);
    painter.drawPixmap(event->rect(), m_pixmap, event->rect());
}

void RetainedSurface::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    matchSize();
}

void RetainedSurface::matchSize() const {
    const QSize wanted = pixmapSize();
    if (m_pixmap.size() == wanted) {
        return;
    }
    QPixmap grown(wanted);
    grown.fill(m_background);
    if (!m_pixmap.isNull()) {
        QPainter painter(&grown);
        painter.drawPixmap(0, 0, m_pixmap);
    }
    m_pixmap = grown;
}
