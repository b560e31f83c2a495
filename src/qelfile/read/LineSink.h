#pragma once

#include <QByteArrayView>

/// Receives the lines of a text file one by one, in order, without their line ends.
class LineSink {
public:
    virtual ~LineSink() = default;

    /// One line. The view is valid only during the call. Returns false to stop the reading.
    virtual bool takeLine(QByteArrayView line) = 0;
    /// A line longer than the splitter keeps: it counts as a line, but its content is gone.
    virtual bool takeOverlongLine() = 0;
};
