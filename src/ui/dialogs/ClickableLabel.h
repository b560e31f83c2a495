#pragma once

#include <QLabel>

/// A label that acts as a button: a click with the left button raises clicked().
class ClickableLabel final : public QLabel {
    Q_OBJECT

public:
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ClickableLabel)

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
