#pragma once

#include <QString>

/// A message box the exchange asks its window to show: text, title, icon and buttons, exactly
/// as the user is to see them.
struct ExchangeMessage {
    enum class Icon { Error, Question, Information };
    enum class Buttons { Ok, YesNoDefaultNo };

    QString text;
    QString title;
    Icon icon = Icon::Error;
    Buttons buttons = Buttons::Ok;

    friend bool operator==(const ExchangeMessage&, const ExchangeMessage&) = default;
};
