#include "qelfile/read/QelLineBatch.h"

#include <cstring>

// Inlined into addCell: it runs for every cell of a file.
[[gnu::always_inline]] inline quint32 QelLineBatch::keep(QByteArrayView bytes, qsizetype readable) {
    const qsizetype size = bytes.size();
    // Room for a whole word beyond the bytes kept, which a short text is copied as.
    if (size + ShortCopy > qsizetype(m_bytes.size()) - m_bytesUsed) {
        m_bytes.resize(size_t(qMax(2 * qsizetype(m_bytes.size()), m_bytesUsed + size + ShortCopy)));
    }
    const auto start = quint32(m_bytesUsed);
    char* const out = m_bytes.data() + m_bytesUsed;
    // Most texts are short, and the line they begin goes on for at least a word: one word
    // copied instead of a library call; the bytes after the text are written over later.
    if (size <= ShortCopy && readable >= ShortCopy) {
        std::memcpy(out, bytes.data(), ShortCopy);
    } else if (size > 0) {
        std::memcpy(out, bytes.data(), size_t(size));
    }
    m_bytesUsed += size;
    return start;
}

void QelLineBatch::addLine(Role role, QByteArrayView bytes) {
    const quint32 start = keep(bytes, bytes.size());
    Line& line = m_lines.emplace_back();
    line.role = role;
    line.start = start;
    line.length = quint32(bytes.size());
}

void QelLineBatch::addCell(QByteArrayView line) {
    addLine(Role::Cell, line);
}

void QelLineBatch::clear(qsizetype keptBytes) {
    m_lines.clear();
    m_bytesUsed = 0;
    if (qsizetype(m_bytes.size()) > keptBytes) {
        std::vector<char>().swap(m_bytes);
    }
    if (qsizetype(m_lines.capacity() * sizeof(Line)) > keptBytes) {
        std::vector<Line>().swap(m_lines);
    }
}
