#pragma once

#include <QRect>

class QWidget;

/// Placing a top-level window by its outer frame, border and title bar included, as the
/// settings store windows. The border is taken from how the window is framed now: before a
/// window is first shown it has none.
namespace WindowFrame {

void setFrame(QWidget& window, const QRect& frame);
void setFrameWidth(QWidget& window, int width);

} // namespace WindowFrame
