#include "platform/WindowPlacement.h"

#include "platform/Twips.h"

#include <cmath>

namespace {

// A number of twips as pixels; nothing for text that is no number or one no screen holds.
std::optional<int> twipsToPixels(const QString& text) {
    bool isNumber = false;
    const double twips = text.trimmed().toDouble(&isNumber);
    if (!isNumber || !std::isfinite(twips) || std::abs(twips) > 1e8) {
        return std::nullopt;
    }
    return Twips::toPixels(int(std::lround(twips)));
}

} // namespace

WindowPlacement WindowPlacement::fromSettings(const QString& state, const QString& left,
                                              const QString& top, const QString& width,
                                              const QString& height) {
    WindowPlacement placement;
    bool isNumber = false;
    const int stateNumber = state.trimmed().toInt(&isNumber);
    if (isNumber) {
        placement.maximised = stateNumber == 2;
    }
    placement.left = twipsToPixels(left);
    placement.top = twipsToPixels(top);
    placement.width = twipsToPixels(width);
    placement.height = twipsToPixels(height);
    return placement;
}

WindowPlacement::Stored WindowPlacement::toSettings(bool maximised, const QRect& frame) {
    return {maximised ? QStringLiteral("2") : QStringLiteral("0"),
            QString::number(Twips::fromPixels(frame.left())),
            QString::number(Twips::fromPixels(frame.top())),
            QString::number(Twips::fromPixels(frame.width())),
            QString::number(Twips::fromPixels(frame.height()))};
}

std::optional<bool> storedTruth(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.compare(u"True", Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (trimmed.compare(u"False", Qt::CaseInsensitive) == 0) {
        return false;
    }
    bool isNumber = false;
    const double number = trimmed.toDouble(&isNumber);
    if (isNumber) {
        return number != 0;
    }
    return std::nullopt;
}

QString truthText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}
