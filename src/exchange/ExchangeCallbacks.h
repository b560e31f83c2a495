#pragma once

#include "exchange/ExchangeMessage.h"

#include <functional>

/// How an export or import reaches the window around the grid: its progress bar and its
/// message box. A callback left empty is skipped.
struct ExchangeCallbacks {
    std::function<void(int maximum)> setProgressMaximum;
    std::function<void(int value)> setProgressValue;
    std::function<void(const ExchangeMessage& message)> showMessage;
};
