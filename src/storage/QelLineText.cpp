#include "QelLineText.h"

#include "TextEncoding.h"

namespace QelLineText {
char* writeUtf8(char* out, QStringView text) {
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    while (p < end) {
        const char16_t c = *p++;
        if (c < 0x80) {
            if (c != u'\r') {
                *out++ = char(c);
            } else if (p == end || *p != u'\n') {
                *out++ = '\n';
            }
        } else if (c < 0x800) {
            *out++ = char(0xC0 | (c >> 6));
            *out++ = char(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p)) {
            const char32_t u = QChar::surrogateToUcs4(c, *p++);
            *out++ = char(0xF0 | (u >> 18));
            *out++ = char(0x80 | ((u >> 12) & 0x3F));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        } else {
            const char16_t u = QChar::isSurrogate(c) ? char16_t(0xFFFD) : c;
            *out++ = char(0xE0 | (u >> 12));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        }
    }
    return out;
}

void appendUtf8(QByteArray& out, QStringView text) {
    const qsizetype start = out.size();
    out.resize(start + maxUtf8Size(text));
    out.resize(writeUtf8(out.data() + start, text) - out.constData());
}

QStringView decodeInto(std::u16string& buffer, QByteArrayView bytes) {
    if (buffer.size() < size_t(bytes.size())) {
        buffer.resize(size_t(bytes.size()));
    }
    // Widened as ASCII while checking that it is ASCII; the rare other line is decoded again.
    char16_t* dst = buffer.data();
    unsigned high = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        high |= b;
        *dst++ = b;
    }
    if (high < 0x80) {
        return QStringView(buffer.data(), bytes.size());
    }
    const QString text = TextEncoding::decodeUtf8OrWindows1250(bytes);
    buffer.assign(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()));
    return QStringView(buffer.data(), text.size());
}

QString decode(QByteArrayView bytes) {
    return TextEncoding::decodeUtf8OrWindows1250(bytes);
}

} // namespace QelLineText
