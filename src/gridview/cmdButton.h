#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QMouseEvent;

/// The grid's flat drawn push button: a raised 3-D look from four edge lines, sunk while the
/// left button holds it, with a centred caption that turns bold while the button has the
/// focus. The grid builds its scroll arrows and thumbs from it. Everything it shows is a
/// child widget (edge lines, caption), so showing it costs no drawing of its own.
///
/// The transparent label lblPolje covers the button and receives its mouse input. A disabled
/// button receives none: presses and moves over it reach its container (the grid's thumbs
/// rely on that).
class cmdButton final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setButtonEnabled)

public:
    /// `name` becomes the object name and the first caption.
    explicit cmdButton(const QString& name = QString(), QWidget* parent = nullptr);
    ~cmdButton() override;
    Q_DISABLE_COPY_MOVE(cmdButton)

    QString Caption() const;
    /// Sets the caption and centres it again.
    void setCaption(const QString& caption);

    bool Enabled() const { return isEnabled(); }
    /// Enables or disables the button and its caption, then raises EnabledIsChanged with the
    /// new value, also when the value did not change.
    void setButtonEnabled(bool newValue);

    /// The caption's centred position: (height - caption height) / 2 and (width - caption
    /// width) / 2, halves to even. The sunken look shows it one pixel right and down.
    int CaptionTop() const { return m_captionTop; }
    int CaptionLeft() const { return m_captionLeft; }
    /// The sunken look is shown during a left-button drag.
    bool PressedShown() const { return m_pressedShown; }
    /// The raised look came back because the pointer left the button during a drag.
    bool RaisedShown() const { return m_raisedShown; }

signals:
    /// The left button was released over the button, or Enter pressed while it has the focus.
    void Click();
    /// A key went down while the button has the focus (after Click for Enter).
    void KeyDown(int KeyCode, int Shift);
    /// Enabled was assigned.
    void EnabledIsChanged(bool newValue);
    /// The left button went down (other buttons raise nothing).
    void MouseDown(int Button, int Shift, float X, float Y);
    /// Any button was released.
    void MouseUp(int Button, int Shift, float X, float Y);
    /// The pointer moved over the button; Button holds the buttons held.
    void MouseMove(int Button, int Shift, float X, float Y);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Mouse input that reaches the button itself rather than lblPolje: through a child the
    // host placed inside it (an arrow icon).
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void childEvent(QChildEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pressed(const QMouseEvent& event);
    void moved(const QMouseEvent& event);
    void released(const QMouseEvent& event);
    bool isInside(const QPointF& position) const;
    void placeEdges();
    void showLook(bool sunken);
    void centreCaption(int offset);

    QLabel* m_text = nullptr;
    QLabel* m_polje = nullptr;
    std::array<QWidget*, 4> m_edges{};
    qint32 m_backColor;
    int m_captionTop = 0;
    int m_captionLeft = 0;
    bool m_pressedShown = false;
    bool m_raisedShown = false;
};
