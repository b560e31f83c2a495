#pragma once

#include <QtGlobal>

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Helpers for the short UTF-16 runs that cell texts and journal fields are made of, where a
// library call costs more than the work: they run once per field on a clear and its undo.
namespace CharRuns {

/// Copies n units: whole groups of four as single 64-bit moves, then the rest one by one.
inline void copy(char16_t* dst, const char16_t* src, qsizetype n) {
    if (n > 32) {
        std::memcpy(dst, src, size_t(n) * sizeof(char16_t));
        return;
    }
    for (; n >= 4; n -= 4, dst += 4, src += 4) {
        std::memcpy(dst, src, 8);
    }
    for (; n > 0; --n) {
        *dst++ = *src++;
    }
}

/// The first `c` in [p, end), or end: eight units per step where the processor allows.
inline const char16_t* find(const char16_t* p, const char16_t* end, char16_t c) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(short(c));
    for (; end - p >= 8; p += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(units, wanted));
        if (mask) {
            return p + __builtin_ctz(unsigned(mask)) / 2;
        }
    }
#endif
    while (p != end && *p != c) {
        ++p;
    }
    return p;
}

} // namespace CharRuns
