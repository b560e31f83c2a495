#include "ui/search/WindowFrame.h"

#include <QWidget>

namespace WindowFrame {
namespace {

QSize border(const QWidget& window) {
    return window.frameGeometry().size() - window.geometry().size();
}

} // namespace

void setFrame(QWidget& window, const QRect& frame) {
    // move() places a window's frame, resize() sizes what lies inside it.
    window.move(frame.topLeft());
    window.resize((frame.size() - border(window)).expandedTo(QSize(0, 0)));
}

void setFrameWidth(QWidget& window, int width) {
    window.resize(qMax(0, width - border(window).width()), window.height());
}

} // namespace WindowFrame
