#include "ui/dialogs/ClickableLabel.h"

#include <QMouseEvent>

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::showNormal() {
    setBold(false);
}

void ClickableLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    if (m_boldOnHover) {
        setBold(true);
    }
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void ClickableLabel::setBold(bool bold) {
    QFont shown = font();
    if (shown.bold() != bold) {
        shown.setBold(bold);
        setFont(shown);
    }
}
