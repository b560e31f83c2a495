#pragma once

#include <QtGlobal>

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Helpers for the short UTF-16 runs that cell texts and journal fields are made of, where a
// library call costs more than the work: they run once per field on a clear and its undo.
namespace CharRuns {

/// Copies n units. Runs of up to 16 units, which cell texts mostly are, are moved as two
/// words that may overlap instead of unit by unit.
inline void copy(char16_t* dst, const char16_t* src, qsizetype n) {
    const auto pair = [&](size_t bytes) {
        const size_t units = bytes / sizeof(char16_t);
        char head[16];
        char tail[16];
        std::memcpy(head, src, bytes);
        std::memcpy(tail, src + n - qsizetype(units), bytes);
        std::memcpy(dst, head, bytes);
        std::memcpy(dst + n - qsizetype(units), tail, bytes);
    };
    if (n > 16) {
        std::memcpy(dst, src, size_t(n) * sizeof(char16_t));
    } else if (n >= 8) {
        pair(16);
    } else if (n >= 4) {
        pair(8);
    } else if (n >= 2) {
        pair(4);
    } else if (n == 1) {
        *dst = *src;
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

/// The same for a run that most often ends soon, as a cell text within a record does: its
/// first sixteen units are looked at in one step.
inline const char16_t* findNear(const char16_t* p, const char16_t* end, char16_t c) {
#if defined(__SSE2__)
    if (end - p >= 16) {
        const __m128i wanted = _mm_set1_epi16(short(c));
        const __m128i low =
            _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), wanted);
        const __m128i high =
            _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8)), wanted);
        // One byte per unit: 0xFF where it is `c`.
        const int mask = _mm_movemask_epi8(_mm_packs_epi16(low, high));
        return mask ? p + __builtin_ctz(unsigned(mask)) : find(p + 16, end, c);
    }
#endif
    return find(p, end, c);
}

} // namespace CharRuns
