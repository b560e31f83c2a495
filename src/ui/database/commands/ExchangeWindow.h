#pragma once

#include <QString>

/// The database window as its spreadsheet export and import see it: the progress frame, the
/// grid's visibility and the dirty flag. The window implements it; tests give a plain
/// stand-in.
class ExchangeWindow {
public:
    virtual ~ExchangeWindow() = default;

    /// The progress frame PleaseWait shown with `caption`, its bar ProgressBar1 at `value` of
    /// `maximum`.
    virtual void showExchangeProgress(const QString& caption, int maximum, int value) = 0;
    /// The progress frame hidden; its caption stays as it was.
    virtual void hideExchangeProgress() = 0;
    /// The grid List1 shown or hidden.
    virtual void showGrid(bool shown) = 0;
    /// Sets the dirty flag lblChangeStatus to "1".
    virtual void markDirty() = 0;
};
