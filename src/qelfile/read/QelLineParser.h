#pragma once

#include "qelfile/read/LineSink.h"

#include <QtGlobal>

class QelBatchQueue;
class QelLineBatch;

/// Reads the lines of a database file, as a line splitter hands them over on the thread that
/// reads the file, for what their place and form make them: the protected mark of line 1, the
/// password line, the header and row count lines, cell lines, and lines that can be read as
/// nothing. It gathers them in batches of about `batchBytes` and passes each
/// full batch on through the queue. Everything that decides what a line does to the table (the
/// password check, the table itself) is left to the side that takes the batches.
class QelLineParser final : public LineSink {
public:
    QelLineParser(QelBatchQueue& queue, qsizetype batchBytes);
    Q_DISABLE_COPY_MOVE(QelLineParser)

    /// False once the queue is cancelled: the reading is to stop.
    bool takeLine(QByteArrayView line) override;
    bool takeOverlongLine() override;
    /// Passes the last batch on; call it once the lines have ended.
    void finish();

private:
    bool take(QByteArrayView line, bool overlong);
    void add(QByteArrayView line, bool overlong);

    QelBatchQueue& m_queue;
    const qsizetype m_batchBytes;
    QelLineBatch* m_batch = nullptr;
    qint64 m_lineNumber = 0;
    qint64 m_firstTableLine = 1;
    bool m_protected = false;
};
