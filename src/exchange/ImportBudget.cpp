#include "exchange/ImportBudget.h"

qint64 ImportBudget::limitForMemory(qint64 physicalBytes) {
    if (physicalBytes <= 0) {
        return UnknownMemoryBytes;
    }
    return qMin(physicalBytes / MemoryShare, MaxBytes);
}

ImportBudget::ImportBudget(qint64 limitBytes) : m_limit(qMax<qint64>(limitBytes, 0)) {}

void ImportBudget::giveBack(qint64 bytes) {
    m_held -= qBound<qint64>(0, bytes, m_held);
}
