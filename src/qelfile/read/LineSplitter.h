#pragma once

#include "qelfile/read/LineSink.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

/// Splits a byte stream that arrives in blocks into lines ended by CR LF or by a CR alone (a
/// lone LF belongs to the line), and hands each line to a sink. A line may span blocks, and so
/// may the CR LF pair. A last line without a line end is a line too when it is not empty.
class LineSplitter final {
public:
    /// The longest line kept. Longer lines are passed on as overlong and their bytes are
    /// dropped as they arrive, so no input makes the splitter hold more than this. A cell is one
    /// line of a text box or a spreadsheet cell, which stay far below it.
    static constexpr qsizetype MaxLineBytes = 64 * 1024 * 1024;

    explicit LineSplitter(LineSink& sink, qsizetype maxLineBytes = MaxLineBytes);
    Q_DISABLE_COPY_MOVE(LineSplitter)

    /// Splits the next block. Returns false once the sink has asked to stop.
    bool feed(QByteArrayView block);
    /// Ends the stream: hands over the last line if it has no line end.
    bool finish();

private:
    void keepPartial(QByteArrayView part);
    bool endLine(QByteArrayView lastPart);

    LineSink& m_sink;
    qsizetype m_maxLineBytes;
    QByteArray m_partial;
    bool m_overlong = false;
    bool m_skipLineFeed = false;
    bool m_stopped = false;
};
