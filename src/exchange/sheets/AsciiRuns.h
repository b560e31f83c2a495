#pragma once

#include <QtGlobal>

#include <bit>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Helpers for the short ASCII runs that most texts of a spreadsheet part are: they run once
// per cell, where a library call or a loop over single bytes costs more than the work.
namespace AsciiRuns {

/// Whether the `n` bytes at `a` and `b` are the same. For the few bytes of a tag, as at most
/// two words per step that may overlap.
inline bool same(const char* a, const char* b, size_t n) {
    const auto words = [&](auto word) {
        constexpr size_t size = sizeof(word);
        decltype(word) x;
        decltype(word) y;
        for (size_t i = 0; i + size < n; i += size) {
            std::memcpy(&x, a + i, size);
            std::memcpy(&y, b + i, size);
            if (x != y) {
                return false;
            }
        }
        std::memcpy(&x, a + n - size, size);
        std::memcpy(&y, b + n - size, size);
        return x == y;
    };
    if (n >= 8) {
        return words(quint64());
    }
    if (n >= 4) {
        return words(quint32());
    }
    for (size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

/// The first '<', '&' or '\r' in [p, end), or end: where character data stops being plain.
/// Sixteen bytes per step, as most texts between tags are short and plain.
inline const char* findSpecial(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i lt = _mm_set1_epi8('<');
    const __m128i amp = _mm_set1_epi8('&');
    const __m128i cr = _mm_set1_epi8('\r');
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(v, lt), _mm_cmpeq_epi8(v, amp)), _mm_cmpeq_epi8(v, cr));
        if (const int mask = _mm_movemask_epi8(hits)) {
            return p + std::countr_zero(unsigned(mask));
        }
    }
#endif
    constexpr quint64 kOnes = 0x0101010101010101ULL;
    constexpr quint64 kHighs = 0x8080808080808080ULL;
    const auto zeroByte = [](quint64 v) { return (v - kOnes) & ~v & kHighs; };
    for (; end - p >= 8; p += 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        const quint64 hits = zeroByte(word ^ (kOnes * '<')) | zeroByte(word ^ (kOnes * '&')) |
                             zeroByte(word ^ (kOnes * '\r'));
        if (hits) {
            // The lowest hit is exact; only bytes above a true one can show falsely.
            return p + (std::countr_zero(hits) >> 3);
        }
    }
    while (p < end && *p != '<' && *p != '&' && *p != '\r') {
        ++p;
    }
    return p;
}

/// True when `bytes` are ASCII and hold no `excluded`.
inline bool asciiWithout(std::string_view bytes, char excluded) {
    const char* p = bytes.data();
    size_t n = bytes.size();
#if defined(__SSE2__)
    const __m128i unwanted = _mm_set1_epi8(excluded);
    const auto clean = [&](__m128i v) {
        return _mm_movemask_epi8(_mm_or_si128(v, _mm_cmpeq_epi8(v, unwanted))) == 0;
    };
    for (; n >= 16; p += 16, n -= 16) {
        if (!clean(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)))) {
            return false;
        }
    }
    if (n >= 8) {
        // Two words that may overlap; the zeroed upper halves are clean.
        return clean(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))) &&
               clean(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + n - 8)));
    }
#endif
    quint8 high = 0;
    quint8 found = 0;
    for (size_t i = 0; i < n; ++i) {
        high |= quint8(p[i]);
        found |= quint8(p[i] == excluded);
    }
    return (high & 0x80) == 0 && found == 0;
}

/// Widens `n` ASCII bytes into `to`, which has room for `n` units: sixteen at a time where
/// the processor allows, the last ones as a step that may overlap the one before.
inline void widen(const char* from, size_t n, char16_t* to) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const auto eight = [&](const char* src, char16_t* dst) {
        const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(src));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_unpacklo_epi8(v, zero));
    };
    if (n >= 8) {
        size_t i = 0;
        for (; i + 16 <= n; i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_unpacklo_epi8(v, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i + 8), _mm_unpackhi_epi8(v, zero));
        }
        if (i + 8 <= n) {
            eight(from + i, to + i);
        }
        if (n % 8 != 0) {
            eight(from + n - 8, to + n - 8);
        }
        return;
    }
#endif
    for (size_t i = 0; i < n; ++i) {
        to[i] = char16_t(quint8(from[i]));
    }
}

} // namespace AsciiRuns
