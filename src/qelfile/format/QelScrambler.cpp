#include "qelfile/format/QelScrambler.h"

#include <array>
#include <cstring>

namespace {

constexpr char kKey[] = "kq#47@tmRVp";
constexpr int kKeyLength = 11;

// The key repeated so that any run of kStride bytes can be XOR-ed against a window of the
// pattern that starts at the run's phase: kStride is a multiple of both the key length and the
// 16-byte block, so the phase is the same at the start of every run.
constexpr int kStride = kKeyLength * 64;
constexpr std::array<char, kStride + kKeyLength> makePattern() {
    std::array<char, kStride + kKeyLength> pattern{};
    for (int i = 0; i < int(pattern.size()); ++i) {
        pattern[i] = kKey[i % kKeyLength];
    }
    return pattern;
}
constexpr auto kPattern = makePattern();

// Byte number k of a chunk (from 1) takes key character (k mod 11) + 1, which is index
// k mod 11 of the key counted from 0.
int phaseOf(qint64 position) {
    return int(position % kKeyLength);
}

// Sixteen bytes at a time (plain SSE2 on x86-64, NEON on ARM), the tail byte by byte.
using Block = unsigned char __attribute__((vector_size(16)));

void xorRun(char* data, const char* pattern, qint64 size) {
    qint64 i = 0;
    for (; i + 16 <= size; i += 16) {
        Block bytes;
        Block mask;
        std::memcpy(&bytes, data + i, 16);
        std::memcpy(&mask, pattern + i, 16);
        bytes ^= mask;
        std::memcpy(data + i, &bytes, 16);
    }
    for (; i < size; ++i) {
        data[i] = char(data[i] ^ pattern[i]);
    }
}

} // namespace

qint64 QelScrambler::nextChunkSize(qint64 remaining) {
    return remaining - 1 > ChunkSize ? ChunkSize : remaining;
}

void QelScrambler::scramble(char* data, qint64 size, qint64 firstPosition) {
    const char* pattern = kPattern.data() + phaseOf(firstPosition);
    while (size > 0) {
        const qint64 run = size < kStride ? size : kStride;
        xorRun(data, pattern, run);
        data += run;
        size -= run;
    }
}

bool QelScrambler::hasScrambledMark(QByteArrayView head) {
    return head.size() >= 3 && head[0] == char('#' ^ kKey[1]) && head[1] == char('@' ^ kKey[2]) &&
           head[2] == char('#' ^ kKey[3]);
}
