#include "ui/database/ActiveColumnValue.h"

#include "gridview/Rounding.h"

#include <algorithm>
#include <cmath>

namespace ActiveColumnValue {

Kept keep(const QString& text) {
    bool isNumber = false;
    const double value = text.trimmed().toDouble(&isNumber);
    if (!isNumber || !std::isfinite(value)) {
        return {QStringLiteral("1"), true};
    }
    if (value < 1) {
        return {QStringLiteral("1"), false};
    }
    return {text, false};
}

int number(const QString& value) {
    const double number = value.trimmed().toDouble();
    // A column beyond the table's is passed on as it is: the grid ignores it.
    return number >= 1 ? roundHalfEven(std::min(number, 1e9)) : 1;
}

} // namespace ActiveColumnValue
