#include "gridview/cmdButton.h"

#include "gridview/ColorBlend.h"
#include "gridview/Rounding.h"
#include "gridview/WindowsInput.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace {

constexpr qint32 DefaultBackColor = windowsRgb(212, 212, 212);
constexpr qint32 White = windowsRgb(255, 255, 255);
constexpr qint32 Black = windowsRgb(0, 0, 0);
constexpr int EdgeAlpha = 60;

void fillWith(QWidget* widget, qint32 windowsColor) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colorFromWindows(windowsColor));
    widget->setPalette(palette);
}

QFont captionFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    return font;
}

} // namespace

cmdButton::cmdButton(const QString& name, QWidget* parent)
    : QWidget(parent), m_backColor(DefaultBackColor) {
    setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAutoFillBackground(true);
    fillWith(this, m_backColor);

    m_text = new QLabel(name, this);
    m_text->setObjectName(QStringLiteral("lblText"));
    m_text->setFont(captionFont());
    m_text->setContentsMargins(0, 0, 0, 0);
    m_text->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Element 0 is the hidden template of the four edges.
    auto* edgeTemplate = new QWidget(this);
    edgeTemplate->setObjectName(QStringLiteral("EdgeLine0"));
    edgeTemplate->hide();
    for (std::size_t i = 0; i < m_edges.size(); ++i) {
        QWidget* edge = new QWidget(this);
        edge->setObjectName(QStringLiteral("EdgeLine%1").arg(i + 1));
        edge->setAutoFillBackground(true);
        edge->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_edges[i] = edge;
    }

    m_polje = new QLabel(this);
    m_polje->setObjectName(QStringLiteral("lblPolje"));
    m_polje->setMouseTracking(true);
    m_polje->installEventFilter(this);

    placeEdges();
    showLook(false);
    centreCaption(0);
}

cmdButton::~cmdButton() = default;

QString cmdButton::Caption() const {
    return m_text->text();
}

void cmdButton::setCaption(const QString& caption) {
    m_text->setText(caption);
    centreCaption(0);
}

void cmdButton::setButtonEnabled(bool newValue) {
    setEnabled(newValue);
    m_text->setEnabled(newValue);
    // A disabled button hears no release; do not leave it sunk.
    if (!newValue && (m_pressedShown || m_raisedShown)) {
        m_pressedShown = m_raisedShown = false;
        showLook(false);
        centreCaption(0);
    }
    emit EnabledIsChanged(newValue);
}

void cmdButton::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_polje->setGeometry(0, 0, width(), height());
    placeEdges();
    showLook(false);
    centreCaption(0);
}

void cmdButton::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    QFont font = m_text->font();
    if (!font.bold()) {
        font.setBold(true);
        m_text->setFont(font);
    }
    centreCaption(0);
}

void cmdButton::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    QFont font = m_text->font();
    font.setBold(false);
    m_text->setFont(font);
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
    // lblPolje stays on top of whatever the host places inside the button, so it keeps
    // receiving all mouse input.
    if (event->added() && m_polje != nullptr && event->child() != m_polje &&
        event->child()->isWidgetType()) {
        m_polje->raise();
    }
}

bool cmdButton::eventFilter(QObject* watched, QEvent* event) {
    // Disabled, the event goes on to the container like any input to a disabled widget.
    if (watched != m_polje || !isEnabled()) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        pressed(*static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseMove:
        moved(*static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonRelease:
        released(*static_cast<QMouseEvent*>(event));
        return true;
    default:
        return QWidget::eventFilter(watched, event);
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

void cmdButton::placeEdges() {
    const int w = width();
    const int h = height();
    // Each edge covers its pixels from its start up to, not including, its end point; the
    // bottom edge runs to w, so it owns both bottom corners and the right edge the top one.
    m_edges[0]->setGeometry(0, 0, w - 1, 1);
    m_edges[1]->setGeometry(0, 0, 1, h - 1);
    m_edges[2]->setGeometry(0, h - 1, w, 1);
    m_edges[3]->setGeometry(w - 1, 0, 1, h - 1);
}

void cmdButton::showLook(bool sunken) {
    const qint32 light = pvAlphaBlend(White, m_backColor, EdgeAlpha);
    const qint32 dark = pvAlphaBlend(Black, m_backColor, EdgeAlpha);
    fillWith(m_edges[0], sunken ? dark : light);
    fillWith(m_edges[1], sunken ? dark : light);
    fillWith(m_edges[2], sunken ? light : dark);
    fillWith(m_edges[3], sunken ? light : dark);
}

void cmdButton::centreCaption(int offset) {
    const QFontMetrics metrics(m_text->font());
    const int captionWidth = metrics.horizontalAdvance(m_text->text());
    const int captionHeight = metrics.height();
    m_text->resize(captionWidth, captionHeight);
    m_captionTop = roundHalfEven((height() - captionHeight) / 2.0);
    m_captionLeft = roundHalfEven((width() - captionWidth) / 2.0);
    m_text->move(m_captionLeft + offset, m_captionTop + offset);
}
