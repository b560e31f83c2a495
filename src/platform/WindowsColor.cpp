#include "platform/WindowsColor.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace {

constexpr quint32 SystemColorFlag = 0x80000000u;

// The palette role standing in for each Windows system colour index (COLOR_SCROLLBAR = 0 up
// to COLOR_INFOBK = 24).
constexpr std::array<QPalette::ColorRole, 25> SystemColorRoles = {
    QPalette::Button,
    QPalette::Dark,
    QPalette::Highlight,
    QPalette::Mid,
    QPalette::Window,
    QPalette::Base,
    QPalette::Shadow,
    QPalette::WindowText,
    QPalette::Text,
    QPalette::HighlightedText,
    QPalette::Button,
    QPalette::Button,
    QPalette::Dark,
    QPalette::Highlight,
    QPalette::HighlightedText,
    QPalette::Button,
    QPalette::Dark,
    QPalette::PlaceholderText,
    QPalette::ButtonText,
    QPalette::WindowText,
    QPalette::Light,
    QPalette::Shadow,
    QPalette::Midlight,
    QPalette::ToolTipText,
    QPalette::ToolTipBase,
};

QColor systemColor(quint32 index) {
    const QPalette::ColorRole role =
        index < SystemColorRoles.size() ? SystemColorRoles[index] : QPalette::WindowText;
    return QGuiApplication::palette().color(QPalette::Active, role);
}

} // namespace

qint32 plainWindowsColor(qint32 windowsColor) {
    const auto value = static_cast<quint32>(windowsColor);
    if (value & SystemColorFlag) {
        return windowsFromColor(systemColor(value & 0xFFFFu));
    }
    return static_cast<qint32>(value & 0x00FFFFFFu);
}

QColor colorFromWindows(qint32 windowsColor) {
    const auto plain = static_cast<quint32>(plainWindowsColor(windowsColor));
    return QColor(int(plain & 0xFFu), int((plain >> 8) & 0xFFu), int((plain >> 16) & 0xFFu));
}

qint32 windowsFromColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<qint32>(quint32(rgb.red()) | (quint32(rgb.green()) << 8) |
                               (quint32(rgb.blue()) << 16));
}
