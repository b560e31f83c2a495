#pragma once

#include <QLabel>

/// A label that acts as a button: a click with the left button raises clicked(). With
/// setBoldOnHover it shows its caption bold while the mouse is over it.
class ClickableLabel final : public QLabel {
    Q_OBJECT

public:
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ClickableLabel)

    void setBoldOnHover(bool on) { m_boldOnHover = on; }
    /// The caption in its normal weight again (the mouse went over the background).
    void showNormal();

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setBold(bool bold);

    bool m_boldOnHover = false;
};
