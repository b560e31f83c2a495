#pragma once

#include <QLabel>
#include <QStringList>

#include <functional>

/// A label that wraps its text at blanks the way the windows were first drawn: a line may
/// hold nothing but blanks, so a run of leading blanks pushes the first word onto the next
/// line (Qt's own wrapping keeps a word on a line that holds only blanks). Lines are drawn a
/// fixed step apart, so they can match the rows of labels beside them.
class WrappingLabel final : public QLabel {
    Q_OBJECT

public:
    WrappingLabel(int lineStep, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(WrappingLabel)

    /// The lines of `text` in `width`, measured by `advance`: a word goes on the next line
    /// when it does not fit on a line that already holds something, blanks included; blanks
    /// never start a line of their own.
    static QStringList lines(const QString& text, int width,
                             const std::function<int(const QString&)>& advance);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_lineStep;
};
