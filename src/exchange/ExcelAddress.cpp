#include "exchange/ExcelAddress.h"

namespace ExcelAddress {

Text of(int column, int row) {
    Text text;
    if (row < 1 || row > MaxSheetRows || column < 1 || column > MaxColumns) {
        return text;
    }
    if (column > 26) {
        text.chars[size_t(text.size++)] = u'A';
    }
    text.chars[size_t(text.size++)] = char16_t(u'A' + (column - 1) % 26);
    char16_t digits[7];
    int count = 0;
    for (int rest = row; rest > 0; rest /= 10) {
        digits[count++] = char16_t(u'0' + rest % 10);
    }
    while (count > 0) {
        text.chars[size_t(text.size++)] = digits[--count];
    }
    return text;
}

int columnOfLetters(QStringView letters) {
    if (letters.isEmpty() || letters.size() > 3) {
        return 0;
    }
    int column = 0;
    for (QChar c : letters) {
        const char16_t u = c.unicode();
        int digit = 0;
        if (u >= u'A' && u <= u'Z') {
            digit = u - u'A' + 1;
        } else if (u >= u'a' && u <= u'z') {
            digit = u - u'a' + 1;
        } else {
            return 0;
        }
        column = column * 26 + digit;
    }
    return column <= MaxSheetColumns ? column : 0;
}

std::optional<Position> parse(QStringView address) {
    qsizetype split = 0;
    while (split < address.size() && address[split].isLetter()) {
        ++split;
    }
    const int column = columnOfLetters(address.first(split));
    const QStringView digits = address.sliced(split);
    if (column < 1 || column > MaxColumns || digits.isEmpty() || digits.size() > 7 ||
        digits.front() == u'0') {
        return std::nullopt;
    }
    int row = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        row = row * 10 + (c.unicode() - u'0');
    }
    if (row > MaxSheetRows) {
        return std::nullopt;
    }
    return Position{row, column};
}

} // namespace ExcelAddress
