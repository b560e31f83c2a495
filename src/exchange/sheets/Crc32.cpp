#include "exchange/sheets/Crc32.h"

#include <zlib.h>

#if defined(__x86_64__) || defined(__i386__)
#define QEL_CRC32_FOLDING 1
#include <immintrin.h>
#endif

quint32 crc32Portable(quint32 crc, const char* bytes, std::size_t size) {
    return quint32(crc32_z(crc, reinterpret_cast<const Bytef*>(bytes), size));
}

#ifdef QEL_CRC32_FOLDING

namespace {

// The functions below use the instructions; only foldedRegister() runs where they are known.
#define QEL_CRC32_TARGET __attribute__((target("pclmul,sse4.1")))

QEL_CRC32_TARGET inline __m128i load(const char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// A lane carried on (its halves times the two constants) and added to the next bytes.
QEL_CRC32_TARGET inline __m128i fold(__m128i lane, __m128i constants, __m128i next) {
    const __m128i low = _mm_clmulepi64_si128(lane, constants, 0x00);
    const __m128i high = _mm_clmulepi64_si128(lane, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

// Folds 64 bytes at a time in four lanes of 128 bits, then the lanes into one, then 16 bytes
// at a time, and reduces the last 128 bits to 32 (Barrett). `crc` is the register itself
// (already inverted); `size` is at least 64 and a multiple of 16.
QEL_CRC32_TARGET quint32 foldedRegister(quint32 crc, const char* bytes, std::size_t size) {
    // Powers of x modulo the polynomial, bit-reflected: a lane carried 512 bits on, and 128.
    const __m128i byFour = _mm_set_epi64x(0x1c6e41596, 0x154442bd4);
    const __m128i byOne = _mm_set_epi64x(0x0ccaa009e, 0x1751997d0);
    // The same for the last 64 bits carried onto 32.
    const __m128i toThirtyTwo = _mm_set_epi64x(0, 0x163cd6124);
    // The polynomial and its Barrett quotient, for the last step.
    const __m128i barrett = _mm_set_epi64x(0x1f7011641, 0x1db710641);
    const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);

    __m128i x0 = _mm_xor_si128(load(bytes), _mm_cvtsi32_si128(int(crc)));
    __m128i x1 = load(bytes + 16);
    __m128i x2 = load(bytes + 32);
    __m128i x3 = load(bytes + 48);
    bytes += 64;
    size -= 64;
    while (size >= 64) {
        x0 = fold(x0, byFour, load(bytes));
        x1 = fold(x1, byFour, load(bytes + 16));
        x2 = fold(x2, byFour, load(bytes + 32));
        x3 = fold(x3, byFour, load(bytes + 48));
        bytes += 64;
        size -= 64;
    }
    x0 = fold(x0, byOne, x1);
    x0 = fold(x0, byOne, x2);
    x0 = fold(x0, byOne, x3);
    while (size >= 16) {
        x0 = fold(x0, byOne, load(bytes));
        bytes += 16;
        size -= 16;
    }

    // 128 bits to 64, then to 32.
    __m128i x = _mm_xor_si128(_mm_srli_si128(x0, 8), _mm_clmulepi64_si128(x0, byOne, 0x10));
    x = _mm_xor_si128(_mm_srli_si128(x, 4),
                      _mm_clmulepi64_si128(_mm_and_si128(x, low32), toThirtyTwo, 0x00));
    // Barrett: the quotient, times the polynomial, leaves the remainder in the second word.
    __m128i q = _mm_clmulepi64_si128(_mm_and_si128(x, low32), barrett, 0x10);
    q = _mm_clmulepi64_si128(_mm_and_si128(q, low32), barrett, 0x00);
    return quint32(_mm_extract_epi32(_mm_xor_si128(x, q), 1));
}

bool processorFolds() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
}

} // namespace

bool crc32Folds() {
    static const bool folds = processorFolds();
    return folds;
}

quint32 crc32Update(quint32 crc, const char* bytes, std::size_t size) {
    // Below a few blocks the table is as quick, and the folding needs 64 bytes to start.
    if (size < 64 || !crc32Folds()) {
        return crc32Portable(crc, bytes, size);
    }
    const std::size_t folded = size & ~std::size_t(15);
    crc = ~foldedRegister(~crc, bytes, folded);
    return crc32Portable(crc, bytes + folded, size - folded);
}

#else

bool crc32Folds() {
    return false;
}

quint32 crc32Update(quint32 crc, const char* bytes, std::size_t size) {
    return crc32Portable(crc, bytes, size);
}

#endif
