#include "qelfile/read/QelLineBatch.h"

#include <cstring>

// Runs for every line of a file.
void QelLineBatch::addLine(Role role, QByteArrayView bytes) {
    const qsizetype size = bytes.size();
    if (size > qsizetype(m_bytes.size()) - m_bytesUsed) {
        m_bytes.resize(size_t(qMax(2 * qsizetype(m_bytes.size()), m_bytesUsed + size)));
    }
    const auto start = quint32(m_bytesUsed);
    if (size > 0) {
        std::memcpy(m_bytes.data() + m_bytesUsed, bytes.data(), size_t(size));
    }
    m_bytesUsed += size;
    Line& line = m_lines.emplace_back();
    line.role = role;
    line.start = start;
    line.length = quint32(size);
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
