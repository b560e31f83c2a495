#include "exchange/sheets/XlsxEscapes.h"

namespace XlsxEscapes {
namespace {

constexpr qsizetype kEscapeLength = 7; // "_x" + four hex digits + "_"

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

// True when text[at..] is an escape "_xHHHH_" (hex digits in either case).
bool isEscapeAt(QStringView text, qsizetype at) {
    if (at < 0 || text.size() - at < kEscapeLength || text[at] != u'_' ||
        (text[at + 1] != u'x' && text[at + 1] != u'X') || text[at + 6] != u'_') {
        return false;
    }
    for (qsizetype i = at + 2; i < at + 6; ++i) {
        if (hexValue(text[i]) < 0) {
            return false;
        }
    }
    return true;
}

} // namespace

QString decode(QStringView text) {
    qsizetype at = text.indexOf(u'_');
    if (at < 0) {
        return text.toString();
    }
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    while (at >= 0) {
        if (isEscapeAt(text, at)) {
            out.append(text.sliced(from, at - from));
            int code = 0;
            for (qsizetype i = at + 2; i < at + 6; ++i) {
                code = code * 16 + hexValue(text[i]);
            }
            out.append(QChar(char16_t(code)));
            from = at + kEscapeLength;
            at = text.indexOf(u'_', from);
        } else {
            at = text.indexOf(u'_', at + 1);
        }
    }
    out.append(text.sliced(from));
    return out;
}

QString protectLiteralEscapes(QStringView text) {
    qsizetype at = text.indexOf(u'_');
    if (at < 0) {
        return text.toString();
    }
    QString out;
    out.reserve(text.size() + 6);
    qsizetype from = 0;
    while (at >= 0) {
        if (isEscapeAt(text, at)) {
            out.append(text.sliced(from, at - from));
            out.append(u"_x005F");
            from = at; // the escape itself follows, its underscore now escaped
        }
        at = text.indexOf(u'_', at + 1);
    }
    out.append(text.sliced(from));
    return out;
}

} // namespace XlsxEscapes
