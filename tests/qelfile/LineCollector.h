#pragma once

#include "qelfile/read/LineSink.h"

#include <QByteArray>
#include <QList>

/// Keeps every line a splitter hands over; an overlong line as "<overlong>". Asks to stop once
/// it holds `stopAfter` lines.
class LineCollector final : public LineSink {
public:
    QList<QByteArray> lines;
    qsizetype stopAfter = -1;

    bool takeLine(QByteArrayView line) override { return keep(line.toByteArray()); }
    bool takeOverlongLine() override { return keep("<overlong>"); }

private:
    bool keep(const QByteArray& line) {
        lines.append(line);
        return lines.size() != stopAfter;
    }
};
