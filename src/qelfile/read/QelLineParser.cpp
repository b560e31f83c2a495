#include "qelfile/read/QelLineParser.h"

#include "qelfile/read/QelBatchQueue.h"
#include "qelfile/read/QelLineBatch.h"

#include <utility>

namespace {

constexpr QByteArrayView kProtectedMark("#@#");

} // namespace

using Role = QelLineBatch::Role;

QelLineParser::QelLineParser(QelBatchQueue& queue, qsizetype batchBytes)
    : m_queue(queue), m_batchBytes(batchBytes) {}

bool QelLineParser::takeLine(QByteArrayView line) {
    return take(line, false);
}

bool QelLineParser::takeOverlongLine() {
    return take(QByteArrayView(), true);
}

// Inlined into takeLine: it runs for every line of a file.
[[gnu::always_inline]] inline bool QelLineParser::take(QByteArrayView line, bool overlong) {
    if (!m_batch && !(m_batch = m_queue.takeEmpty())) {
        return false;
    }
    add(line, overlong);
    if (m_batch->weight() >= m_batchBytes) {
        m_queue.pushFull(std::exchange(m_batch, nullptr));
    }
    return true;
}

[[gnu::always_inline]] inline void QelLineParser::add(QByteArrayView line, bool overlong) {
    ++m_lineNumber;
    const qint64 n = m_lineNumber - m_firstTableLine;
    if (n > 1) {
        // Empty lines among the cell lines change nothing, so they are not passed on. Cell
        // lines are parsed by the side that fills the table: reading and splitting the file
        // is already the larger half of the work.
        if (overlong) {
            m_batch->addLine(Role::Unreadable);
        } else if (!line.isEmpty()) {
            m_batch->addLine(Role::Cell, line);
        }
        return;
    }
    if (m_lineNumber == 1) {
        m_protected = !overlong && line.startsWith(kProtectedMark);
        m_firstTableLine = m_protected ? 3 : 1;
    }
    if (m_protected && m_lineNumber == 1) {
        m_batch->addLine(Role::ProtectedMark);
    } else if (m_protected && m_lineNumber == 2) {
        m_batch->addLine(overlong ? Role::OverlongPassword : Role::Password, line);
    } else if (overlong) {
        m_batch->addLine(Role::Unreadable);
    } else if (!line.isEmpty()) {
        m_batch->addLine(n == 0 ? Role::Header : Role::RowCount, line);
    }
}

void QelLineParser::finish() {
    if (m_batch) {
        m_queue.pushFull(std::exchange(m_batch, nullptr));
    }
}
