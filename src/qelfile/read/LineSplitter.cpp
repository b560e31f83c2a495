#include "qelfile/read/LineSplitter.h"

#include <cstring>

LineSplitter::LineSplitter(LineSink& sink, qsizetype maxLineBytes)
    : m_sink(sink), m_maxLineBytes(maxLineBytes) {}

bool LineSplitter::feed(QByteArrayView block) {
    if (m_stopped) {
        return false;
    }
    const char* p = block.data();
    const char* const end = p + block.size();
    // The LF of a CR LF pair whose CR ended the previous block.
    if (m_skipLineFeed && p < end) {
        m_skipLineFeed = false;
        if (*p == '\n') {
            ++p;
        }
    }
    while (p < end) {
        const auto* cr = static_cast<const char*>(std::memchr(p, '\r', size_t(end - p)));
        if (!cr) {
            keepPartial(QByteArrayView(p, end - p));
            return true;
        }
        if (!endLine(QByteArrayView(p, cr - p))) {
            m_stopped = true;
            return false;
        }
        p = cr + 1;
        if (p == end) {
            m_skipLineFeed = true;
        } else if (*p == '\n') {
            ++p;
        }
    }
    return true;
}

bool LineSplitter::finish() {
    if (m_stopped) {
        return false;
    }
    m_stopped = true;
    if (m_partial.isEmpty() && !m_overlong) {
        return true;
    }
    return endLine(QByteArrayView());
}

bool LineSplitter::endLine(QByteArrayView lastPart) {
    // Most lines lie within one block and go out without being copied.
    if (m_partial.isEmpty() && !m_overlong) {
        return lastPart.size() > m_maxLineBytes ? m_sink.takeOverlongLine()
                                                : m_sink.takeLine(lastPart);
    }
    keepPartial(lastPart);
    const bool go = m_overlong ? m_sink.takeOverlongLine() : m_sink.takeLine(m_partial);
    m_overlong = false;
    m_partial.clear();
    return go;
}

void LineSplitter::keepPartial(QByteArrayView part) {
    if (m_overlong) {
        return;
    }
    if (part.size() > m_maxLineBytes - m_partial.size()) {
        m_overlong = true;
        m_partial = QByteArray();
        return;
    }
    m_partial.append(part);
}
