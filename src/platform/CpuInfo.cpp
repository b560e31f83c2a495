#include "platform/CpuInfo.h"

#include <QList>

#include <cmath>
#include <limits>

int processorMHzFromCpuInfo(const QByteArray& cpuInfo) {
    // Entries are separated by blank lines; only the first processor's entry counts.
    const QList<QByteArray> lines = cpuInfo.split('\n');
    for (const QByteArray& line : lines) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty()) {
            break;
        }
        const qsizetype colon = trimmed.indexOf(':');
        if (colon < 0 || trimmed.left(colon).trimmed() != "cpu MHz") {
            continue;
        }
        bool ok = false;
        const double mhz = trimmed.mid(colon + 1).trimmed().toDouble(&ok);
        if (!ok || !(mhz > 0) || mhz >= double(std::numeric_limits<int>::max())) {
            return 0;
        }
        return int(std::lround(mhz));
    }
    return 0;
}
