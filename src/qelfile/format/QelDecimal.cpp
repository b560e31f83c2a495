#include "qelfile/format/QelDecimal.h"

#include <algorithm>
#include <array>

namespace QelDecimal {
namespace {

// "00" to "99", so that the digits of a number are written two at a time.
constexpr auto kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[2 * i] = char('0' + i / 10);
        pairs[2 * i + 1] = char('0' + i % 10);
    }
    return pairs;
}();

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

char* write(char* out, qint64 value) {
    // The digits go straight to their places, right to left, once their count is known: three
    // numbers of every cell line pass through here when a table is saved.
    quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    if (value < 0) {
        *out++ = '-';
    }
    int digits = 1;
    for (quint64 bound = 10; digits < 20 && magnitude >= bound; bound *= 10) {
        ++digits;
    }
    char* const end = out + digits;
    char* p = end;
    if (magnitude <= 0xFFFFFFFFu) {
        auto small = quint32(magnitude);
        while (small >= 100) {
            const quint32 pair = small % 100;
            small /= 100;
            p -= 2;
            p[0] = kDigitPairs[2 * pair];
            p[1] = kDigitPairs[2 * pair + 1];
        }
        if (small >= 10) {
            p -= 2;
            p[0] = kDigitPairs[2 * small];
            p[1] = kDigitPairs[2 * small + 1];
        } else {
            *--p = char('0' + small);
        }
    } else {
        do {
            *--p = char('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
    }
    return end;
}

void append(QByteArray& out, qint64 value) {
    const qsizetype start = out.size();
    out.resize(start + MaxBytes);
    out.resize(write(out.data() + start, value) - out.constData());
}

} // namespace QelDecimal
