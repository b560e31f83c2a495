#pragma once

#include <QByteArrayView>
#include <QtGlobal>

/// The byte scrambling of stored database files: every byte XOR-ed with a key character chosen
/// by its position within its chunk. The transformation is its own inverse, so the same calls
/// scramble and unscramble.
namespace QelScrambler {

/// Bytes in a full chunk. The last chunk of a file may hold one byte more.
inline constexpr qint64 ChunkSize = 1048576;

/// The size of the next chunk when `remaining` bytes (> 0) are still to be processed: a full
/// chunk while more than one chunk and one byte remain, otherwise everything left.
qint64 nextChunkSize(qint64 remaining);

/// XORs `size` bytes in place; `firstPosition` is the position (from 1) within its chunk of
/// the first byte. Positions may run past ChunkSize only for the extra byte of a last chunk.
void scramble(char* data, qint64 size, qint64 firstPosition = 1);

/// True when the bytes begin with "#@#" in its scrambled form: how a stored file is told
/// apart from a plain or protected one.
bool hasScrambledMark(QByteArrayView head);

} // namespace QelScrambler
