#include "ui/database/commands/ImportEstimate.h"

#include <QString>

#include <cmath>

namespace ImportEstimate {
namespace {

// Rounds to a whole number, halves to the even neighbour.
double roundHalfEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5) {
        return floor + 1.0;
    }
    if (fraction < 0.5) {
        return floor;
    }
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

} // namespace

int estimateSeconds(double rows, int mhz) {
    if (mhz <= 0) {
        return 0;
    }
    return int(roundHalfEven(rows * 115.0 / double(mhz)));
}

int estimateMinutes(int seconds) {
    return int(roundHalfEven(double(seconds) / 60.0));
}

RowAnswer evaluateAnswer(QStringView typed) {
    // Plain decimal numbers only: no "inf", "nan" or hexadecimal.
    const QStringView trimmed = typed.trimmed();
    for (QChar c : trimmed) {
        if (!(c.isDigit() || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E') ||
            c.unicode() > 0x7F) {
            return {};
        }
    }
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 1.0) {
        return {};
    }
    if (value > double(MaxRows)) {
        return {RowAnswer::Kind::TooMany, value, 0};
    }
    return {RowAnswer::Kind::Import, value, int(roundHalfEven(value))};
}

std::optional<ExchangeMessage> warning(QStringView typed, const RowAnswer& answer, int mhz) {
    if (answer.kind != RowAnswer::Kind::Import || answer.value < WarningFromRows) {
        return std::nullopt;
    }
    const int seconds = estimateSeconds(answer.value, mhz);
    const int minutes = estimateMinutes(seconds);
    const QString typedText = typed.toString();
    const QString secondsText = QString::number(seconds);
    const QString minutesText = QString::number(minutes);
    const QString mhzText = QString::number(mhz);
    if (seconds <= ShortWarningSeconds) {
        return ExchangeMessage{
            QStringLiteral("With ") + typedText +
                QStringLiteral(" of records you entered, import action will take approximately ") +
                secondsText +
                QStringLiteral(
                    " seconds, during which you will not be able to stop importing process. Start "
                    "data import?"),
            QStringLiteral("Data Import Warning!"), ExchangeMessage::Icon::Question,
            ExchangeMessage::Buttons::YesNoDefaultNo};
    }
    if (minutes <= LongWarningMinutes) {
        return ExchangeMessage{
            QStringLiteral(
                "Because on the the significant difference in the selected data format, with  ") +
                typedText +
                QStringLiteral(
                    " of records you entered and with the current system processor speed at ") +
                mhzText + QStringLiteral(" MHz, this action could take approximately ") +
                secondsText + QStringLiteral(" seconds (") + minutesText +
                QStringLiteral(
                    " ) minutes during which you will not be able to stop importing process. Start "
                    "data import?"),
            QStringLiteral("Long Processing Warning ( ") + minutesText +
                QStringLiteral(" minutes) !!! "),
            ExchangeMessage::Icon::Question, ExchangeMessage::Buttons::YesNoDefaultNo};
    }
    return ExchangeMessage{
        QStringLiteral(
            "You entered very large amount of records to be imported. Because of the the "
            "significant difference in the selected data format and with the current system "
            "processor speed at ") +
            mhzText + QStringLiteral(" MHz, this action could take approximately ") + secondsText +
            QStringLiteral(" seconds (") + minutesText +
            QStringLiteral(
                " ) minutes, during which you will not be able to stop importing process. Start "
                "data import?"),
        QStringLiteral("Attention! Very Long Processing Time Warning ( ") + minutesText +
            QStringLiteral(" minutes) !!! "),
        ExchangeMessage::Icon::Error, ExchangeMessage::Buttons::YesNoDefaultNo};
}

} // namespace ImportEstimate
