#pragma once

#include "text/FileResult.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <memory>

class ZipEntryDevice;
struct zip;

/// A zip container opened for reading (the package of an .xlsx workbook), from a file or
/// from bytes in memory.
class ZipArchive final {
public:
    /// The archive, or nullptr and why (libzip's reason) when the file cannot be read or is no
    /// zip archive.
    static Opened<ZipArchive> openFile(const QString& path);
    /// The same for an archive in memory; `name` stands for it in the reason.
    static Opened<ZipArchive> openBytes(const QByteArray& bytes,
                                        const QString& name = QStringLiteral("(in memory)"));
    ~ZipArchive();
    Q_DISABLE_COPY_MOVE(ZipArchive)

    /// The entry's content as a stream (names compare without regard to case, as package part
    /// names do), or nullptr when there is no such entry or it cannot be read (encrypted, an
    /// unknown compression). The archive outlives the stream.
    std::unique_ptr<ZipEntryDevice> openEntry(const QString& name) const;

private:
    ZipArchive(zip* archive, QByteArray bytes);

    zip* m_zip;
    QByteArray m_bytes; // the memory an archive opened from bytes reads
};
