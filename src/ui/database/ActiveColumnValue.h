#pragma once

#include <QString>

/// The rule of the database window's current-column holder ActiveColumn: it holds numbers
/// only, and none below 1.
namespace ActiveColumnValue {

/// What the holder keeps when `text` is written to it: a number of at least 1 as written,
/// "1" for a smaller number, and "1" with `rejected` set for a text that is no number (the
/// window then says "YOU CAN ENTER ONLY NUMBERS!").
struct Kept {
    QString value;
    bool rejected = false;

    friend bool operator==(const Kept&, const Kept&) = default;
};
Kept keep(const QString& text);

/// The column a kept value names.
int number(const QString& value);

} // namespace ActiveColumnValue
