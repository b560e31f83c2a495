#include "ui/database/EditBar.h"

#include "gridview/CellTextValidator.h"
#include "ui/database/ApplicationStyle.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

#include <limits>

namespace {

const QColor kIdle(224, 224, 224);
const QColor kFocused(213, 225, 241);

// The edit bar is a plain sunken box: its face and a two-pixel edge, filled rather than
// stroked. A style's own panel (rounded and smoothed) costs more to draw than the rest of
// the box, and the bar is drawn again on every keystroke.
class SunkenBoxStyle final : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_PanelLineEdit) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QRect r = option->rect;
        const QPalette& palette = option->palette;
        painter->fillRect(r, palette.base());
        if (r.width() < 4 || r.height() < 4) {
            return;
        }
        const auto edge = [painter](int x, int y, int w, int h, const QColor& colour) {
            painter->fillRect(QRect(x, y, w, h), colour);
        };
        const int right = r.right();
        const int bottom = r.bottom();
        // Outer edge: shadow above and left, light below and right; the inner one deeper.
        edge(r.left(), r.top(), r.width() - 1, 1, palette.color(QPalette::Mid));
        edge(r.left(), r.top(), 1, r.height() - 1, palette.color(QPalette::Mid));
        edge(r.left(), bottom, r.width(), 1, palette.color(QPalette::Light));
        edge(right, r.top(), 1, r.height(), palette.color(QPalette::Light));
        edge(r.left() + 1, r.top() + 1, r.width() - 3, 1, palette.color(QPalette::Dark));
        edge(r.left() + 1, r.top() + 1, 1, r.height() - 3, palette.color(QPalette::Dark));
        edge(r.left() + 1, bottom - 1, r.width() - 2, 1, palette.color(QPalette::Midlight));
        edge(right - 1, r.top() + 1, 1, r.height() - 2, palette.color(QPalette::Midlight));
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_DefaultFrameWidth) {
            return 2;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

EditBar::EditBar(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("TextText"));
    setToolTip(QStringLiteral("Edit"));
    setStyle(applicationStyle<SunkenBoxStyle>());
    // The limit binds the user only (the validator): QLineEdit's own would cut what the
    // program shows.
    setMaxLength(std::numeric_limits<int>::max());
    m_validator = new CellTextValidator(MaxTypedLength, this);
    setValidator(m_validator);
    setBackground(kIdle);
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_validator->setAcceptedText(text); });
    connect(this, &QLineEdit::textEdited, this, &EditBar::edited);
}

void EditBar::showText(const QString& text) {
    m_validator->setProgramEdit(true);
    setText(text);
    m_validator->setProgramEdit(false);
}

void EditBar::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    setBackground(kFocused);
    selectAll();
    m_selectAfterPress = event->reason() == Qt::MouseFocusReason;
}

void EditBar::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    if (m_selectAfterPress) {
        m_selectAfterPress = false;
        selectAll();
    }
}

void EditBar::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    setBackground(kIdle);
}

void EditBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        clear();
        emit edited(QString());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EditBar::setBackground(const QColor& color) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, color);
    setPalette(palette);
}
