#include "exchange/sheets/ZipArchive.h"

#include "exchange/sheets/ZipEntryDevice.h"

#include <QFile>

#include <zip.h>

ZipArchive::ZipArchive(zip* archive, QString path, QByteArray bytes)
    : m_zip(archive), m_path(std::move(path)), m_bytes(std::move(bytes)) {}

ZipArchive::~ZipArchive() {
    zip_discard(m_zip);
}

namespace {

// libzip's own words for what went wrong; released with the error.
FileResult zipFailure(const QString& name, zip_error_t& error) {
    const QString why = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return FileResult::cannotRead(name, why);
}

// The index of the entry of that name (names compare exactly first, then without regard to
// case); negative when there is none.
zip_int64_t indexIn(zip_t* archive, const QString& name) {
    const QByteArray utf8 = name.toUtf8();
    const zip_int64_t index = zip_name_locate(archive, utf8.constData(), 0);
    return index >= 0 ? index : zip_name_locate(archive, utf8.constData(), ZIP_FL_NOCASE);
}

} // namespace

Opened<ZipArchive> ZipArchive::openFile(const QString& path) {
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        return Opened<ZipArchive>::failed(zipFailure(path, error));
    }
    return {std::unique_ptr<ZipArchive>(new ZipArchive(archive, path, QByteArray())),
            FileResult::done(path)};
}

Opened<ZipArchive> ZipArchive::openBytes(const QByteArray& bytes, const QString& name) {
    zip_error_t error;
    zip_error_init(&error);
    // The archive keeps its own reference to the bytes it reads.
    QByteArray kept = bytes;
    kept.detach();
    zip_source_t* source =
        zip_source_buffer_create(kept.constData(), zip_uint64_t(kept.size()), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!archive) {
        if (source) {
            zip_source_free(source);
        }
        return Opened<ZipArchive>::failed(zipFailure(name, error));
    }
    zip_error_fini(&error);
    return {std::unique_ptr<ZipArchive>(new ZipArchive(archive, QString(), std::move(kept))),
            FileResult::done(name)};
}

std::unique_ptr<ZipEntryDevice> ZipArchive::openEntry(const QString& name) const {
    const zip_int64_t index = indexIn(m_zip, name);
    return index < 0 ? nullptr : ZipEntryDevice::open(m_zip, zip_uint64_t(index));
}

std::unique_ptr<ZipEntryDevice> ZipArchive::openEntryAlone(const QString& name) const {
    zip_t* own = nullptr;
    if (!m_path.isEmpty()) {
        own = zip_open(QFile::encodeName(m_path).constData(), ZIP_RDONLY, nullptr);
    } else {
        // The bytes are this archive's, and only read: both handles may share them.
        zip_source_t* source =
            zip_source_buffer_create(m_bytes.constData(), zip_uint64_t(m_bytes.size()), 0, nullptr);
        own = source ? zip_open_from_source(source, ZIP_RDONLY, nullptr) : nullptr;
        if (source && !own) {
            zip_source_free(source);
        }
    }
    if (!own) {
        return nullptr;
    }
    const zip_int64_t index = indexIn(own, name);
    if (index < 0) {
        zip_discard(own);
        return nullptr;
    }
    return ZipEntryDevice::open(own, zip_uint64_t(index), true);
}
