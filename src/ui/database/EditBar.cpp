#include "ui/database/EditBar.h"

#include "gridview/CellTextValidator.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <limits>

namespace {

const QColor kIdle(224, 224, 224);
const QColor kFocused(213, 225, 241);

} // namespace

EditBar::EditBar(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("TextText"));
    setToolTip(QStringLiteral("Edit"));
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
