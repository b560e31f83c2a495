#include "qelfile/format/QelLineText.h"

#include "text/TextEncoding.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace QelLineText {
namespace {

quint64 load8(const char* in) {
    quint64 word;
    std::memcpy(&word, in, 8);
    return word;
}

quint32 load4(const char* in) {
    quint32 word;
    std::memcpy(&word, in, 4);
    return word;
}

// Widens the bytes of a word to UTF-16 units at `out`.
template <typename Word> void widen(char16_t* out, Word word) {
#if defined(__SSE2__)
    const __m128i units = _mm_unpacklo_epi8(_mm_cvtsi64_si128(qint64(word)), _mm_setzero_si128());
    if constexpr (sizeof(Word) == 8) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), units);
    } else {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), units);
    }
#else
    char bytes[sizeof(Word)];
    std::memcpy(bytes, &word, sizeof(Word));
    for (size_t i = 0; i < sizeof(Word); ++i) {
        out[i] = static_cast<unsigned char>(bytes[i]);
    }
#endif
}

// Widens n bytes to UTF-16 units at `out` while checking that they are ASCII; false when one is
// not (what was written is then of no use). Texts of a few bytes are widened as two words that
// may overlap, so no loop runs per byte and nothing is read or written beyond the n bytes.
bool widenAscii(char16_t* out, const char* in, qsizetype n) {
    if (n >= 8) {
        quint64 high = 0;
        for (qsizetype i = 0; i + 8 < n; i += 8) {
            const quint64 word = load8(in + i);
            high |= word;
            widen(out + i, word);
        }
        const quint64 last = load8(in + n - 8);
        widen(out + n - 8, last);
        return !((high | last) & 0x8080808080808080);
    }
    if (n >= 4) {
        const quint32 first = load4(in);
        const quint32 last = load4(in + n - 4);
        widen(out, first);
        widen(out + n - 4, last);
        return !((first | last) & 0x80808080);
    }
    unsigned high = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(in[i]);
        high |= b;
        out[i] = b;
    }
    return high < 0x80;
}

} // namespace

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

qsizetype decodeTo(char16_t* out, QByteArrayView bytes) {
    if (widenAscii(out, bytes.data(), bytes.size())) {
        return bytes.size();
    }
    // The rare line that is not ASCII is decoded again by the full rule.
    const QString text = TextEncoding::decodeUtf8OrWindows1250(bytes);
    Q_ASSERT(text.size() <= bytes.size());
    std::copy_n(text.utf16(), text.size(), out);
    return text.size();
}

QString decode(QByteArrayView bytes) {
    return TextEncoding::decodeUtf8OrWindows1250(bytes);
}

} // namespace QelLineText
