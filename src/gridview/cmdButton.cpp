#include "gridview/cmdButton.h"

#include "gridview/ColorBlend.h"
#include "gridview/Rounding.h"
#include "gridview/WindowsInput.h"
#include "platform/WindowsColor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr qint32 DefaultBackColor = windowsRgb(212, 212, 212);
constexpr qint32 White = windowsRgb(255, 255, 255);
constexpr qint32 Black = windowsRgb(0, 0, 0);
constexpr int EdgeAlpha = 60;

QFont arial825() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    return font;
}

} // namespace

cmdButton::cmdButton(const QString& name, QWidget* parent)
    : QWidget(parent), m_caption(name), m_backColor(DefaultBackColor) {
    setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // The face is painted whole in paintEvent: nothing under it needs drawing, and the
    // button needs no palette of its own.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The caption is measured and centred when the button first gets its size.
    setCaptionFont(arial825());
}

cmdButton::~cmdButton() = default;

void cmdButton::setCaption(const QString& caption) {
    if (caption != m_caption) {
        m_caption = caption;
        m_measured = false;
        update();
    }
    centreCaption(0);
}

void cmdButton::setButtonEnabled(bool newValue) {
    setEnabled(newValue);
    // A disabled button hears no release; do not leave it sunk.
    if (!newValue && (m_pressedShown || m_raisedShown)) {
        m_pressedShown = m_raisedShown = false;
        showLook(false);
        centreCaption(0);
    }
    emit EnabledIsChanged(newValue);
}

void cmdButton::setPicture(const QPixmap& picture, QPoint at) {
    m_picture = picture;
    m_pictureAt = at;
    update();
}

void cmdButton::movePicture(QPoint at) {
    if (at != m_pictureAt) {
        m_pictureAt = at;
        update();
    }
}

QPoint cmdButton::captionPosition() const {
    return {m_captionLeft + m_captionOffset, m_captionTop + m_captionOffset};
}

void cmdButton::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    showLook(false);
    centreCaption(0);
}

void cmdButton::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    QFont font = m_font;
    font.setBold(true);
    setCaptionFont(font);
    centreCaption(0);
}

void cmdButton::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    QFont font = m_font;
    font.setBold(false);
    setCaptionFont(font);
    centreCaption(0);
}

void cmdButton::keyPressEvent(QKeyEvent* event) {
    const int keyCode = windowsKeyCode(*event);
    if (keyCode == 13) {
        emit Click();
    }
    emit KeyDown(keyCode, windowsShiftMask(event->modifiers()));
    event->accept();
}

// Mouse input reaches the button itself, or through a child placed inside it that passes
// it on; a disabled button receives none.
void cmdButton::mousePressEvent(QMouseEvent* event) {
    pressed(*event);
}
void cmdButton::mouseDoubleClickEvent(QMouseEvent* event) {
    pressed(*event);
}
void cmdButton::mouseMoveEvent(QMouseEvent* event) {
    moved(*event);
}
void cmdButton::mouseReleaseEvent(QMouseEvent* event) {
    released(*event);
}

void cmdButton::childEvent(QChildEvent* event) {
    QWidget::childEvent(event);
    // Whatever the host places inside the button (an arrow icon) leaves the mouse input to
    // the button, over its whole area.
    if (event->added() && event->child()->isWidgetType()) {
        static_cast<QWidget*>(event->child())->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

void cmdButton::pressed(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) {
        return;
    }
    showLook(true);
    m_pressedShown = true;
    centreCaption(1);
    emit MouseDown(windowsButton(event.button()), windowsShiftMask(event.modifiers()),
                   float(event.position().x()), float(event.position().y()));
}

void cmdButton::moved(const QMouseEvent& event) {
    if (event.buttons().testFlag(Qt::LeftButton)) {
        const bool inside = isInside(event.position());
        if (inside && !m_pressedShown) {
            showLook(true);
            centreCaption(1);
            m_pressedShown = true;
            m_raisedShown = false;
        } else if (!inside && !m_raisedShown) {
            showLook(false);
            centreCaption(0);
            m_raisedShown = true;
            m_pressedShown = false;
        }
    } else {
        centreCaption(0);
    }
    emit MouseMove(windowsButtons(event.buttons()), windowsShiftMask(event.modifiers()),
                   float(event.position().x()), float(event.position().y()));
}

void cmdButton::released(const QMouseEvent& event) {
    if (event.button() == Qt::LeftButton && isInside(event.position())) {
        emit Click();
    }
    showLook(false);
    m_pressedShown = m_raisedShown = false;
    centreCaption(0);
    emit MouseUp(windowsButton(event.button()), windowsShiftMask(event.modifiers()),
                 float(event.position().x()), float(event.position().y()));
}

bool cmdButton::isInside(const QPointF& position) const {
    return position.x() >= 0 && position.x() <= width() && position.y() >= 0 &&
           position.y() <= height();
}

void cmdButton::paintEvent(QPaintEvent* /*event*/) {
    const QColor light = colorFromWindows(pvAlphaBlend(White, m_backColor, EdgeAlpha));
    const QColor dark = colorFromWindows(pvAlphaBlend(Black, m_backColor, EdgeAlpha));
    const QColor& topLeft = m_sunken ? dark : light;
    const QColor& bottomRight = m_sunken ? light : dark;
    const int w = width();
    const int h = height();
    // Back to front: the caption, the edges over it, and the picture over both.
    QPainter painter(this);
    painter.fillRect(rect(), colorFromWindows(m_backColor));
    if (!m_caption.isEmpty()) {
        painter.setFont(m_font);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::WindowText));
        painter.drawText(QRect(captionPosition(), QSize(m_captionWidth, m_captionHeight)),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_caption);
    }
    // Each edge covers its pixels from its start up to, not including, its end point; the
    // bottom edge runs to w, so it owns both bottom corners and the right edge the top one.
    painter.fillRect(0, 0, w - 1, 1, topLeft);
    painter.fillRect(0, 0, 1, h - 1, topLeft);
    painter.fillRect(0, h - 1, w, 1, bottomRight);
    painter.fillRect(w - 1, 0, 1, h - 1, bottomRight);
    if (!m_picture.isNull()) {
        painter.drawPixmap(m_pictureAt, m_picture);
    }
}

void cmdButton::showLook(bool sunken) {
    if (m_sunken != sunken) {
        m_sunken = sunken;
        update();
    }
}

void cmdButton::setCaptionFont(const QFont& font) {
    m_font = font;
    m_measured = false;
    update();
}

void cmdButton::centreCaption(int offset) {
    if (!m_measured) {
        const QFontMetrics metrics(m_font);
        m_captionWidth = m_caption.isEmpty() ? 0 : metrics.horizontalAdvance(m_caption);
        m_captionHeight = metrics.height();
        m_measured = true;
    }
    const int top = roundHalfEven((height() - m_captionHeight) / 2.0);
    const int left = roundHalfEven((width() - m_captionWidth) / 2.0);
    if (top != m_captionTop || left != m_captionLeft || offset != m_captionOffset) {
        m_captionTop = top;
        m_captionLeft = left;
        m_captionOffset = offset;
        update();
    }
}
