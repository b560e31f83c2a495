#pragma once

#include "exchange/ExchangeMessage.h"

#include <QStringView>

#include <optional>

/// The checks and the time estimate the window runs before a spreadsheet import: what the
/// typed row count means, and which warning (if any) to show for it. The processor speed comes
/// from the Platform (processorMHz()).
namespace ImportEstimate {

/// The most rows one import accepts.
inline constexpr int MaxRows = 50000;
/// From this many rows on, the user is warned before the import starts.
inline constexpr int WarningFromRows = 499;
/// Above this estimate the warning is the long one ...
inline constexpr int ShortWarningSeconds = 120;
/// ... and above this many minutes the very long one.
inline constexpr int LongWarningMinutes = 10;

/// rows × 115 / MHz seconds, rounded (halves to even); 0 when the speed is 0.
int estimateSeconds(double rows, int mhz);
/// seconds / 60, rounded the same way.
int estimateMinutes(int seconds);

/// What a row count typed into the input box means.
struct RowAnswer {
    enum class Kind {
        Stop,    // no number, or less than 1: the command stops without a word
        TooMany, // above MaxRows: refused with ExchangeCommandMessages::rowLimitExceeded()
        Import,
    };
    Kind kind = Kind::Stop;
    double value = 0; // the number typed
    int rows = 0;     // the whole number the import reads (halves to even)
};
RowAnswer evaluateAnswer(QStringView typed);

/// The question to ask (Yes and No, No the default) before importing the answer's rows at
/// the processor speed `mhz`; nothing below WarningFromRows rows. The answer appears in the
/// text as typed.
std::optional<ExchangeMessage> warning(QStringView typed, const RowAnswer& answer, int mhz);

} // namespace ImportEstimate
