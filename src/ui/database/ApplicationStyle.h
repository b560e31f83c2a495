#pragma once

#include <QApplication>
#include <QPointer>
#include <QStyle>

/// One style of kind `S` for every widget that asks for it, owned by the application: gone
/// with it, and made again for a new one.
template <typename S> QStyle* applicationStyle() {
    static QPointer<QStyle> style;
    if (!style) {
        style = new S;
        style->setParent(qApp);
    }
    return style;
}
