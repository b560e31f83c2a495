#include "gridview/lblTxt.h"

#include "gridview/CellTextValidator.h"
#include "gridview/GridFont.h"
#include "gridview/WindowsInput.h"
#include "platform/WindowsColor.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>
#include <limits>

namespace {

constexpr int KeyLeft = 37;
constexpr int KeyRight = 39;

// Focus that only comes back with the window or after a popup (the edit box's own context
// menu) is no new visit to the cell.
bool isCellVisit(const QFocusEvent& event) {
    return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

} // namespace

lblTxt::lblTxt(QWidget* parent) : QWidget(parent) {
    m_txt = new QLineEdit(this);
    m_txt->setObjectName(QStringLiteral("TXT"));
    m_txt->setFrame(false);
    m_txt->setFont(GridFont::cells());
    // The length limit applies to the user only (the validator); QLineEdit's own limit would
    // cut texts the program sets.
    m_txt->setMaxLength(std::numeric_limits<int>::max());
    m_validator = new CellTextValidator(MaxTypedLength, this);
    m_txt->setValidator(m_validator);
    m_txt->setMouseTracking(true);
    m_txt->installEventFilter(this);
    m_txt->move(0, -1);
    setFocusProxy(m_txt);
    connect(m_txt, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_validator->setAcceptedText(text);
        emit Change();
    });
}

lblTxt::~lblTxt() = default;

void lblTxt::setForeColor(qint32 color) {
    if (color == m_foreColor && m_txt->palette().isBrushSet(QPalette::Active, QPalette::Text)) {
        return;
    }
    m_foreColor = color;
    QPalette palette = m_txt->palette();
    palette.setColor(QPalette::Text, colorFromWindows(color));
    m_txt->setPalette(palette);
}

void lblTxt::setBackColor(qint32 color) {
    QPalette palette = m_txt->palette();
    palette.setColor(QPalette::Base, colorFromWindows(color));
    m_txt->setPalette(palette);
}

void lblTxt::setBold(bool bold) {
    setFontFlag(&QFont::setBold, bold);
}
void lblTxt::setItallic(bool italic) {
    setFontFlag(&QFont::setItalic, italic);
}
void lblTxt::setUnderlined(bool underlined) {
    setFontFlag(&QFont::setUnderline, underlined);
}

void lblTxt::setFontFlag(void (QFont::*setter)(bool), bool on) {
    QFont font = m_txt->font();
    (font.*setter)(on);
    // Setting an equal font would still lay the edit box out again.
    if (font != m_txt->font()) {
        m_txt->setFont(font);
    }
}

QString lblTxt::Text() const {
    return m_txt->text();
}

void lblTxt::setText(const QString& text) {
    m_validator->setProgramEdit(true);
    m_txt->setText(text);
    m_validator->setProgramEdit(false);
}

void lblTxt::Selected() {
    m_txt->setSelection(0, int(m_txt->text().size()));
}

void lblTxt::SelectText(int Start, int Lenght) {
    const int size = int(m_txt->text().size());
    const int start = std::clamp(Start, 0, size);
    m_txt->setSelection(start, std::clamp(Lenght, 0, size - start));
}

void lblTxt::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The edit box's top pixel row is hidden above the control.
    m_txt->setGeometry(0, -1, width(), height() + 1);
}

void lblTxt::keyPressEvent(QKeyEvent* event) {
    // Keys the edit box leaves alone (Up, Down, Enter ...) end here: the grid has already
    // seen them through KeyDown and must not receive them a second time as its own.
    event->accept();
}

bool lblTxt::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_txt) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPressed(*static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
        if (isCellVisit(*static_cast<QFocusEvent*>(event))) {
            focusEntered();
        }
        break;
    case QEvent::FocusOut:
        if (isCellVisit(*static_cast<QFocusEvent*>(event))) {
            emit ExitFocus();
        }
        break;
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        emit MouseMove(windowsButtons(mouse->buttons()), windowsShiftMask(mouse->modifiers()),
                       float(mouse->position().x()), float(mouse->position().y()));
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// Returns true when the edit box must not handle the key.
bool lblTxt::keyPressed(QKeyEvent& event) {
    const bool hadFocus = m_txt->hasFocus();
    const bool wasVisible = m_txt->isVisible();
    const int pressedCode = windowsKeyCode(event);
    int keyCode = pressedCode;
    int shift = windowsShiftMask(event.modifiers());
    emit KeyDown(keyCode, shift);
    if (pressedCode != 0 && keyCode == 0) {
        return true;
    }
    // A sideways exit is all the key does: at that caret the edit box has nothing to do with
    // it, and where the grid reused this editor for the next or previous row it would undo the
    // selection made there.
    const bool nothingSelected = !m_txt->hasSelectedText();
    if (keyCode == KeyRight && nothingSelected && m_txt->cursorPosition() == m_txt->text().size()) {
        emit Right();
        return true;
    }
    if (keyCode == KeyLeft && nothingSelected && m_txt->cursorPosition() == 0) {
        emit Left();
        return true;
    }
    // A key that took the editing elsewhere (another row, a removed record) must not change
    // the text this editor still holds.
    return (hadFocus && !m_txt->hasFocus()) || (wasVisible && !m_txt->isVisible());
}

void lblTxt::focusEntered() {
    emit GotFocus(m_txt->text(), m_txt->font().bold(), m_txt->font().italic(),
                  m_txt->font().underline(), m_foreColor);
    if (m_disableSelectAll) {
        m_disableSelectAll = false;
        return;
    }
    Selected();
    m_onFocus = m_txt->text();
}
