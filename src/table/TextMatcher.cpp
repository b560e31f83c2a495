#include "table/TextMatcher.h"

#include <array>

namespace {

constexpr std::array<char16_t, 128> asciiFold() {
    std::array<char16_t, 128> table{};
    for (int c = 0; c < 128; ++c) {
        table[c] = char16_t(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
    }
    return table;
}

constexpr std::array<char16_t, 128> AsciiFold = asciiFold();

// U+0400..U+045F; only the eight letters of the folding table change.
constexpr std::array<char16_t, 96> cyrillicFold() {
    std::array<char16_t, 96> table{};
    for (int i = 0; i < 96; ++i) {
        table[i] = char16_t(0x400 + i);
    }
    const char16_t pairs[][2] = {{0x438, 0x418}, {0x436, 0x416}, {0x459, 0x409}, {0x45B, 0x40B},
                                 {0x440, 0x420}, {0x446, 0x426}, {0x434, 0x414}, {0x43B, 0x41B}};
    for (const auto& pair : pairs) {
        table[pair[0] - 0x400] = pair[1];
    }
    return table;
}

constexpr std::array<char16_t, 96> CyrillicFold = cyrillicFold();

} // namespace

char16_t TextMatcher::fold(char16_t c) {
    if (c < 128) {
        return AsciiFold[c];
    }
    if (c >= 0x400 && c < 0x460) {
        return CyrillicFold[c - 0x400];
    }
    return c;
}

TextMatcher::TextMatcher(QStringView needle, bool exact)
    : m_needle(needle.toString()), m_exact(exact) {
    if (!exact) {
        for (QChar& c : m_needle) {
            c = QChar(fold(c.unicode()));
        }
    }
}

qsizetype TextMatcher::indexIn(QStringView text, qsizetype from) const {
    const qsizetype m = m_needle.size();
    const qsizetype n = text.size();
    if (m == 0 || n - from < m) {
        return -1;
    }
    if (m_exact) {
        return text.indexOf(m_needle, from, Qt::CaseSensitive);
    }
    const char16_t* s = text.utf16();
    const auto* needle = reinterpret_cast<const char16_t*>(m_needle.utf16());
    const char16_t first = needle[0];
    const qsizetype last = n - m;
    for (qsizetype i = from; i <= last; ++i) {
        if (fold(s[i]) != first) {
            continue;
        }
        qsizetype j = 1;
        while (j < m && fold(s[i + j]) == needle[j]) {
            ++j;
        }
        if (j == m) {
            return i;
        }
    }
    return -1;
}
