#include "ui/search/FileNamePattern.h"

namespace {

char folded(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The end of the character that starts at `at`: "?" takes a whole UTF-8 sequence.
std::size_t nextCharacter(std::string_view text, std::size_t at) {
    ++at;
    while (at < text.size() && isContinuationByte(text[at])) {
        ++at;
    }
    return at;
}

} // namespace

FileNamePattern::FileNamePattern(const QString& pattern) : m_pattern(pattern.toUtf8()) {}

bool FileNamePattern::matches(std::string_view name) const {
    const std::string_view pattern(m_pattern.constData(), std::size_t(m_pattern.size()));
    std::size_t p = 0;
    std::size_t n = 0;
    // Where the last "*" was and which name position it is taking up to: on a mismatch the
    // star takes one more character and matching resumes after it.
    std::size_t starPattern = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n = nextCharacter(name, n);
        } else if (p < pattern.size() && folded(pattern[p]) == folded(name[n])) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            starName = nextCharacter(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}
