#include "ui/search/WrappingLabel.h"

#include <QPainter>

WrappingLabel::WrappingLabel(int lineStep, QWidget* parent)
    : QLabel(parent), m_lineStep(lineStep) {}

QStringList WrappingLabel::lines(const QString& text, int width,
                                 const std::function<int(const QString&)>& advance) {
    QStringList lines;
    QString line;
    qsizetype at = 0;
    while (at < text.size()) {
        const bool blank = text[at] == u' ';
        qsizetype end = at;
        while (end < text.size() && (text[end] == u' ') == blank) {
            ++end;
        }
        const QString run = text.mid(at, end - at);
        if (blank) {
            // Blanks that reach past the edge are dropped at the break.
            line += run;
        } else if (line.isEmpty() || advance(line + run) <= width) {
            line += run;
        } else {
            lines << line;
            line = run;
        }
        at = end;
    }
    if (!line.isEmpty()) {
        lines << line;
    }
    return lines;
}

void WrappingLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics metrics = fontMetrics();
    const QStringList wrapped = lines(text(), width(), [&metrics](const QString& part) {
        return metrics.horizontalAdvance(part);
    });
    for (qsizetype row = 0; row < wrapped.size(); ++row) {
        painter.drawText(0, int(row) * m_lineStep + metrics.ascent(), wrapped[row]);
    }
}
