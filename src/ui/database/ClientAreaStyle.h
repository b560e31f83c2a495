#pragma once

#include <QProxyStyle>

/// The style of the window's client area. The main window's layout places its central widget
/// through a geometry animation whenever the style animates widgets, and starts one (of no
/// length, ending in a deferred delete) on every layout pass even when nothing moves. With no
/// animation time the layout sets the geometry in one step. Only the client area takes this
/// style: its controls keep the application's.
class ClientAreaStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_Widget_Animation_Duration) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};
