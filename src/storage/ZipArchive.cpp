#include "ZipArchive.h"

#include "ZipEntryDevice.h"

#include <QFile>

#include <zip.h>

ZipArchive::ZipArchive(zip* archive, QByteArray bytes)
    : m_zip(archive), m_bytes(std::move(bytes)) {}

ZipArchive::~ZipArchive() {
    zip_discard(m_zip);
}

std::unique_ptr<ZipArchive> ZipArchive::openFile(const QString& path) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive) {
        return nullptr;
    }
    return std::unique_ptr<ZipArchive>(new ZipArchive(archive, QByteArray()));
}

std::unique_ptr<ZipArchive> ZipArchive::openBytes(const QByteArray& bytes) {
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
        zip_error_fini(&error);
        return nullptr;
    }
    zip_error_fini(&error);
    return std::unique_ptr<ZipArchive>(new ZipArchive(archive, std::move(kept)));
}

std::unique_ptr<ZipEntryDevice> ZipArchive::openEntry(const QString& name) const {
    const QByteArray utf8 = name.toUtf8();
    zip_int64_t index = zip_name_locate(m_zip, utf8.constData(), 0);
    if (index < 0) {
        index = zip_name_locate(m_zip, utf8.constData(), ZIP_FL_NOCASE);
    }
    if (index < 0) {
        return nullptr;
    }
    zip_file_t* file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
    if (!file) {
        return nullptr;
    }
    return std::make_unique<ZipEntryDevice>(file);
}
