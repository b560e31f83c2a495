#pragma once

#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QMouseEvent;

/// The grid's flat drawn push button: a raised 3-D look from four edge lines, sunk while the
/// left button holds it, with a centred caption that turns bold while the button has the
/// focus. The grid builds its scroll arrows and thumbs from it.
///
/// The button is one widget that draws its edges, caption and picture and takes all mouse input
/// over its area itself, also over children a host places inside it: the grid holds six
/// buttons, and every child widget adds to the cost of opening a window.
/// A disabled button receives no mouse input: presses and moves over it reach its container
/// (the grid's thumbs rely on that).
class cmdButton final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setButtonEnabled)

public:
    /// `name` becomes the object name and the first caption.
    explicit cmdButton(const QString& name = QString(), QWidget* parent = nullptr);
    ~cmdButton() override;
    Q_DISABLE_COPY_MOVE(cmdButton)

    QString Caption() const { return m_caption; }
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
    /// Where the caption is drawn now: centred, or one pixel right and down while sunk.
    QPoint captionPosition() const;
    /// A picture drawn inside the button with its top left corner at `at` (the grid's arrows).
    void setPicture(const QPixmap& picture, QPoint at);
    /// Moves the picture (the arrows show it one pixel right and down while held).
    void movePicture(QPoint at);
    QPixmap picture() const { return m_picture; }
    QPoint picturePosition() const { return m_pictureAt; }
    /// Arial 8.25 pt, bold while the button has the focus.
    QFont captionFont() const { return m_font; }
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
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    void pressed(const QMouseEvent& event);
    void moved(const QMouseEvent& event);
    void released(const QMouseEvent& event);
    bool isInside(const QPointF& position) const;
    void showLook(bool sunken);
    void setCaptionFont(const QFont& font);
    void centreCaption(int offset);

    QString m_caption;
    QPixmap m_picture;
    QPoint m_pictureAt;
    QFont m_font;
    bool m_measured = false; // m_captionWidth and m_captionHeight fit the caption and font
    int m_captionWidth = 0;
    int m_captionHeight = 0;
    qint32 m_backColor;
    int m_captionTop = 0;
    int m_captionLeft = 0;
    int m_captionOffset = 0;
    bool m_sunken = false;
    bool m_pressedShown = false;
    bool m_raisedShown = false;
};
