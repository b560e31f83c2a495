#include "exchange/sheets/HtmlEntities.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace HtmlEntities {
namespace {

struct Entity {
    std::string_view name;
    char16_t code;
};

// Sorted by name (byte order) for the binary search.
constexpr Entity kEntities[] = {
    {"AElig", 0x00C6},  {"Aacute", 0x00C1}, {"Acirc", 0x00C2},  {"Agrave", 0x00C0},
    {"Alpha", 0x0391},  {"Aring", 0x00C5},  {"Atilde", 0x00C3}, {"Auml", 0x00C4},
    {"Beta", 0x0392},   {"Ccedil", 0x00C7}, {"Dagger", 0x2021}, {"Delta", 0x0394},
    {"ETH", 0x00D0},    {"Eacute", 0x00C9}, {"Ecirc", 0x00CA},  {"Egrave", 0x00C8},
    {"Euml", 0x00CB},   {"Gamma", 0x0393},  {"Iacute", 0x00CD}, {"Icirc", 0x00CE},
    {"Igrave", 0x00CC}, {"Iuml", 0x00CF},   {"Ntilde", 0x00D1}, {"OElig", 0x0152},
    {"Oacute", 0x00D3}, {"Ocirc", 0x00D4},  {"Ograve", 0x00D2}, {"Omega", 0x03A9},
    {"Oslash", 0x00D8}, {"Otilde", 0x00D5}, {"Ouml", 0x00D6},   {"Prime", 0x2033},
    {"Scaron", 0x0160}, {"THORN", 0x00DE},  {"Uacute", 0x00DA}, {"Ucirc", 0x00DB},
    {"Ugrave", 0x00D9}, {"Uuml", 0x00DC},   {"Yacute", 0x00DD}, {"Yuml", 0x0178},
    {"aacute", 0x00E1}, {"acirc", 0x00E2},  {"acute", 0x00B4},  {"aelig", 0x00E6},
    {"agrave", 0x00E0}, {"alpha", 0x03B1},  {"amp", 0x0026},    {"apos", 0x0027},
    {"aring", 0x00E5},  {"asymp", 0x2248},  {"atilde", 0x00E3}, {"auml", 0x00E4},
    {"bdquo", 0x201E},  {"beta", 0x03B2},   {"brvbar", 0x00A6}, {"bull", 0x2022},
    {"ccedil", 0x00E7}, {"cedil", 0x00B8},  {"cent", 0x00A2},   {"circ", 0x02C6},
    {"copy", 0x00A9},   {"curren", 0x00A4}, {"dagger", 0x2020}, {"darr", 0x2193},
    {"deg", 0x00B0},    {"delta", 0x03B4},  {"divide", 0x00F7}, {"eacute", 0x00E9},
    {"ecirc", 0x00EA},  {"egrave", 0x00E8}, {"emsp", 0x2003},   {"ensp", 0x2002},
    {"eth", 0x00F0},    {"euml", 0x00EB},   {"euro", 0x20AC},   {"fnof", 0x0192},
    {"frac12", 0x00BD}, {"frac14", 0x00BC}, {"frac34", 0x00BE}, {"gamma", 0x03B3},
    {"ge", 0x2265},     {"gt", 0x003E},     {"hellip", 0x2026}, {"iacute", 0x00ED},
    {"icirc", 0x00EE},  {"iexcl", 0x00A1},  {"igrave", 0x00EC}, {"infin", 0x221E},
    {"iquest", 0x00BF}, {"iuml", 0x00EF},   {"laquo", 0x00AB},  {"larr", 0x2190},
    {"ldquo", 0x201C},  {"le", 0x2264},     {"lrm", 0x200E},    {"lsaquo", 0x2039},
    {"lsquo", 0x2018},  {"lt", 0x003C},     {"macr", 0x00AF},   {"mdash", 0x2014},
    {"micro", 0x00B5},  {"middot", 0x00B7}, {"minus", 0x2212},  {"mu", 0x03BC},
    {"nbsp", 0x00A0},   {"ndash", 0x2013},  {"ne", 0x2260},     {"not", 0x00AC},
    {"ntilde", 0x00F1}, {"oacute", 0x00F3}, {"ocirc", 0x00F4},  {"oelig", 0x0153},
    {"ograve", 0x00F2}, {"omega", 0x03C9},  {"ordf", 0x00AA},   {"ordm", 0x00BA},
    {"oslash", 0x00F8}, {"otilde", 0x00F5}, {"ouml", 0x00F6},   {"para", 0x00B6},
    {"permil", 0x2030}, {"pi", 0x03C0},     {"plusmn", 0x00B1}, {"pound", 0x00A3},
    {"prime", 0x2032},  {"quot", 0x0022},   {"raquo", 0x00BB},  {"rarr", 0x2192},
    {"rdquo", 0x201D},  {"reg", 0x00AE},    {"rlm", 0x200F},    {"rsaquo", 0x203A},
    {"rsquo", 0x2019},  {"sbquo", 0x201A},  {"scaron", 0x0161}, {"sect", 0x00A7},
    {"shy", 0x00AD},    {"sigma", 0x03C3},  {"sup1", 0x00B9},   {"sup2", 0x00B2},
    {"sup3", 0x00B3},   {"szlig", 0x00DF},  {"thinsp", 0x2009}, {"thorn", 0x00FE},
    {"tilde", 0x02DC},  {"times", 0x00D7},  {"trade", 0x2122},  {"uacute", 0x00FA},
    {"uarr", 0x2191},   {"ucirc", 0x00FB},  {"ugrave", 0x00F9}, {"uml", 0x00A8},
    {"uuml", 0x00FC},   {"yacute", 0x00FD}, {"yen", 0x00A5},    {"yuml", 0x00FF},
    {"zwj", 0x200D},    {"zwnj", 0x200C},
};

static_assert(std::is_sorted(std::begin(kEntities), std::end(kEntities),
                             [](const Entity& a, const Entity& b) { return a.name < b.name; }));

constexpr qsizetype kLongestName = 8;

// Characters a numeric reference may not stand for are shown as the replacement character.
char32_t checked(char32_t code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0xFFFD;
    }
    return code;
}

int digitValue(char16_t u, bool hex) {
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (hex && u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (hex && u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

// Decodes the reference starting at text[at] == '&'; returns its length, 0 when there is none.
qsizetype decodeOne(QStringView text, qsizetype at, QString& out) {
    // The longest reference is "&#x10FFFF;"; look no further for its end.
    const QStringView window = text.sliced(at + 1, qMin<qsizetype>(12, text.size() - at - 1));
    const qsizetype semicolon = window.indexOf(u';');
    if (semicolon <= 0) {
        return 0;
    }
    const qsizetype end = at + 1 + semicolon;
    const QStringView body = text.sliced(at + 1, end - at - 1);
    if (body.front() == u'#') {
        const bool hex = body.size() > 1 && (body[1] == u'x' || body[1] == u'X');
        const QStringView digits = body.sliced(hex ? 2 : 1);
        if (digits.isEmpty()) {
            return 0;
        }
        char32_t code = 0;
        for (QChar d : digits) {
            const int value = digitValue(d.unicode(), hex);
            if (value < 0) {
                return 0;
            }
            code = qMin<char32_t>(code * (hex ? 16 : 10) + char32_t(value), 0x110000);
        }
        const char32_t c = checked(code);
        out.append(QStringView(QChar::fromUcs4(c)));
        return end - at + 1;
    }
    if (body.size() > kLongestName) {
        return 0;
    }
    char name[kLongestName + 1] = {};
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i].unicode() > 0x7F) {
            return 0;
        }
        name[i] = char(body[i].unicode());
    }
    const std::string_view key(name, size_t(body.size()));
    const auto* hit =
        std::lower_bound(std::begin(kEntities), std::end(kEntities), key,
                         [](const Entity& e, std::string_view k) { return e.name < k; });
    if (hit == std::end(kEntities) || hit->name != key) {
        return 0;
    }
    out.append(QChar(hit->code));
    return end - at + 1;
}

} // namespace

QString decode(QStringView text) {
    qsizetype amp = text.indexOf(u'&');
    if (amp < 0) {
        return text.toString();
    }
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    while (amp >= 0) {
        out.append(text.sliced(from, amp - from));
        const qsizetype used = decodeOne(text, amp, out);
        if (used == 0) {
            out.append(u'&');
            from = amp + 1;
        } else {
            from = amp + used;
        }
        amp = text.indexOf(u'&', from);
    }
    out.append(text.sliced(from));
    return out;
}

} // namespace HtmlEntities
