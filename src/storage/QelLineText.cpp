#include "QelLineText.h"

#include "TextEncoding.h"

#include <cstdint>
#include <cstring>

namespace QelLineText {
namespace {

bool isAscii(QByteArrayView bytes) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ULL) {
            return false;
        }
    }
    for (; p < end; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80) {
            return false;
        }
    }
    return true;
}

// True when every character can be written as its own single byte.
bool isPlainAscii(QStringView text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x80 || c.unicode() == '\r') {
            return false;
        }
    }
    return true;
}

QString withoutCarriageReturns(QStringView text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r') {
            result.append(text[i]);
        } else if (i + 1 >= text.size() || text[i + 1] != u'\n') {
            result.append(u'\n');
        }
    }
    return result;
}

} // namespace

void appendUtf8(QByteArray& out, QStringView text) {
    if (isPlainAscii(text)) {
        const qsizetype start = out.size();
        out.resize(start + text.size());
        char* dst = out.data() + start;
        for (const QChar c : text) {
            *dst++ = char(c.unicode());
        }
        return;
    }
    if (text.contains(u'\r')) {
        out.append(withoutCarriageReturns(text).toUtf8());
    } else {
        out.append(text.toUtf8());
    }
}

void decodeInto(QString& buffer, QByteArrayView bytes) {
    if (!isAscii(bytes)) {
        buffer = TextEncoding::decodeUtf8OrWindows1250(bytes);
        return;
    }
    buffer.resize(bytes.size());
    QChar* dst = buffer.data();
    for (const char c : bytes) {
        *dst++ = QChar(char16_t(c));
    }
}

QString decode(QByteArrayView bytes) {
    return TextEncoding::decodeUtf8OrWindows1250(bytes);
}

} // namespace QelLineText
