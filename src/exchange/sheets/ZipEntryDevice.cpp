#include "exchange/sheets/ZipEntryDevice.h"

#include "exchange/sheets/ZipInflater.h"

#include <zip.h>

#include <limits>

namespace {

// Whether the entry can be inflated here: deflated, not encrypted, and with the size and
// checksum to check it against.
bool inflatable(const zip_stat_t& stat) {
    const zip_uint64_t needed = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC |
                                ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
    return (stat.valid & needed) == needed && stat.comp_method == ZIP_CM_DEFLATE &&
           stat.encryption_method == ZIP_EM_NONE;
}

} // namespace

std::unique_ptr<ZipEntryDevice> ZipEntryDevice::open(zip* archive, quint64 index,
                                                     bool ownsArchive) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    const bool inflateHere = zip_stat_index(archive, index, 0, &stat) == 0 && inflatable(stat);
    zip_file* file = zip_fopen_index(archive, index, inflateHere ? ZIP_FL_COMPRESSED : 0);
    if (!file) {
        if (ownsArchive) {
            zip_discard(archive);
        }
        return nullptr;
    }
    std::unique_ptr<ZipInflater> inflater;
    if (inflateHere) {
        inflater = std::make_unique<ZipInflater>(file, stat.size, stat.crc, stat.comp_size);
    }
    return std::unique_ptr<ZipEntryDevice>(
        new ZipEntryDevice(file, std::move(inflater), ownsArchive ? archive : nullptr));
}

ZipEntryDevice::ZipEntryDevice(zip_file* file, std::unique_ptr<ZipInflater> inflater, zip* archive)
    : m_file(file), m_inflater(std::move(inflater)), m_archive(archive),
      m_limit(std::numeric_limits<qint64>::max()) {
    QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

ZipEntryDevice::~ZipEntryDevice() {
    m_inflater.reset();
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
    const qint64 got = m_inflater ? m_inflater->read(data, allowed)
                                  : qint64(zip_fread(m_file, data, zip_uint64_t(allowed)));
    if (got <= 0) {
        // The end of the entry, or damage in it (a bad checksum, truncated data): either way
        // the stream ends here and the reader keeps what it has.
        m_finished = true;
        m_damaged = got < 0;
        return 0;
    }
    m_delivered += got;
    return got;
}
