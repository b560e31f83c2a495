#pragma once

#include <QtGlobal>

#include <cstddef>

/// The CRC-32 of zip entries (reflected, polynomial 0x04C11DB7), continued over `size` more
/// bytes from `crc`, the value of the bytes before them (0 for none). Folds with carry-less
/// multiplication where the processor has it, otherwise as crc32Portable().
quint32 crc32Update(quint32 crc, const char* bytes, std::size_t size);

/// The same, with zlib's table method: what crc32Update() falls back on.
quint32 crc32Portable(quint32 crc, const char* bytes, std::size_t size);

/// Whether crc32Update() folds with carry-less multiplication on this processor.
bool crc32Folds();
