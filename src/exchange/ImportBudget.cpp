#include "exchange/ImportBudget.h"

qint64 ImportBudget::limitForMemory(qint64 physicalBytes) {
    if (physicalBytes <= 0) {
        return UnknownMemoryBytes;
    }
    return qMin(physicalBytes / MemoryShare, MaxBytes);
}

ImportBudget::ImportBudget(qint64 limitBytes) : m_limit(qMax<qint64>(limitBytes, 0)) {}

bool ImportBudget::take(qint64 bytes) {
    if (m_spent || bytes < 0 || bytes > m_limit - m_held) {
        m_spent = true;
        return false;
    }
    m_held += bytes;
    return true;
}

void ImportBudget::giveBack(qint64 bytes) {
    m_held -= qBound<qint64>(0, bytes, m_held);
}
