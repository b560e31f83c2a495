#include "QelDecimal.h"

#include <algorithm>

namespace QelDecimal {
namespace {

template <typename Char>
std::optional<qint64> parseDigits(const Char* p, qsizetype size, qint64 min, qint64 max) {
    const Char* end = p + size;
    const bool negative = p < end && *p == Char('-');
    if (negative) {
        ++p;
    }
    if (p == end) {
        return std::nullopt;
    }
    // Accumulated as a negative magnitude so that the most negative value fits too; any value
    // past the range stops the scan, so long runs of digits cannot overflow.
    const qint64 limit = negative ? std::min<qint64>(min, 0) : -std::max<qint64>(max, 0);
    qint64 value = 0;
    for (; p < end; ++p) {
        const auto c = static_cast<unsigned>(*p);
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        const qint64 digit = c - '0';
        if (value < (limit + digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 - digit;
    }
    const qint64 result = negative ? value : -value;
    if (result < min || result > max) {
        return std::nullopt;
    }
    return result;
}

} // namespace

std::optional<qint64> parse(QByteArrayView text, qint64 min, qint64 max) {
    return parseDigits(text.data(), text.size(), min, max);
}

std::optional<qint64> parse(QStringView text, qint64 min, qint64 max) {
    return parseDigits(text.utf16(), text.size(), min, max);
}

void append(QByteArray& out, qint64 value) {
    char digits[24];
    char* end = digits + sizeof digits;
    char* p = end;
    // Negative magnitudes again, so the most negative value needs no special case.
    qint64 rest = value < 0 ? value : -value;
    do {
        *--p = char('0' - rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (value < 0) {
        *--p = '-';
    }
    out.append(p, end - p);
}

} // namespace QelDecimal
