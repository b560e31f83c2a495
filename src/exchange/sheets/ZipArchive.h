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
    /// The same, read through a handle on the archive of its own: libzip lets one thread use
    /// a handle, so this stream may be read on another thread while this archive is read on
    /// this one. nullptr also when the archive cannot be opened again.
    std::unique_ptr<ZipEntryDevice> openEntryAlone(const QString& name) const;

private:
    ZipArchive(zip* archive, QString path, QByteArray bytes);

    zip* m_zip;
    QString m_path;     // the file an archive opened from a file reads
    QByteArray m_bytes; // the memory an archive opened from bytes reads
};
