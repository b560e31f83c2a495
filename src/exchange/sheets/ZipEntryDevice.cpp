#include "exchange/sheets/ZipEntryDevice.h"

#include <zip.h>

#include <limits>

ZipEntryDevice::ZipEntryDevice(zip_file* file, zip* archive)
    : m_file(file), m_archive(archive), m_limit(std::numeric_limits<qint64>::max()) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

ZipEntryDevice::~ZipEntryDevice() {
    zip_fclose(m_file);
    if (m_archive) {
        zip_discard(m_archive);
    }
}

void ZipEntryDevice::setBudget(qint64 bytes) {
    m_limit = m_delivered + qMax<qint64>(bytes, 0);
}

qint64 ZipEntryDevice::readData(char* data, qint64 maxSize) {
    const qint64 allowed = qMin(maxSize, m_limit - m_delivered);
    if (m_finished || allowed <= 0) {
        m_finished = true;
        return 0;
    }
    const zip_int64_t got = zip_fread(m_file, data, zip_uint64_t(allowed));
    if (got <= 0) {
        // The end of the entry, or damage in it (a bad checksum, truncated data): either way
        // the stream ends here and the reader keeps what it has.
        m_finished = true;
        return 0;
    }
    m_delivered += got;
    return got;
}
