#include "QelLineText.h"

#include "TextEncoding.h"

namespace QelLineText {
namespace {

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
