#include "qelfile/DatabaseFile.h"

#include "qelfile/PasswordPrompts.h"
#include "qelfile/format/QelChunkWriter.h"
#include "qelfile/format/QelTableWriter.h"
#include "qelfile/read/QelSplitReading.h"
#include "qelfile/read/QelTableReader.h"
#include "table/Table.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

DatabaseFile::DatabaseFile(Table& table, PasswordPrompts* prompts)
    : m_table(table), m_prompts(prompts) {}

FileResult DatabaseFile::OpenFile(const QString& filename) {
    // Only a regular file has a length to read to; a device or a pipe could never end.
    const QFileInfo info(filename);
    if (!info.exists()) {
        return FileResult::cannotRead(filename, QStringLiteral("No such file"));
    }
    if (!info.isFile()) {
        return FileResult::cannotRead(filename, QStringLiteral("Not a file"));
    }
    QFile file(filename);
    if (!file.open(QIODevice::ReadOnly)) {
        return FileResult::cannotRead(filename, file.errorString());
    }
    // The second thread opens the very file this one has open, not whatever the name leads to
    // by then: a file saved over meanwhile must not give the rows of its new content.
    const int descriptor = file.handle();
    return read(file, file.size(), filename, [descriptor]() -> std::unique_ptr<QIODevice> {
        if (descriptor < 0) {
            return nullptr;
        }
        auto again = std::make_unique<QFile>(QStringLiteral("/proc/self/fd/%1").arg(descriptor));
        if (!again->open(QIODevice::ReadOnly)) {
            return nullptr;
        }
        return again;
    });
}

FileResult DatabaseFile::read(QIODevice& device, qint64 size, const QString& filename) {
    return read(device, size, filename, {});
}

FileResult DatabaseFile::read(QIODevice& device, qint64 size, const QString& filename,
                              const std::function<std::unique_ptr<QIODevice>()>& openAgain) {
    QelTableReader reader(m_table, m_prompts, size);
    std::function<void(qint64)> progress;
    if (m_progress) {
        progress = [this, size](qint64 done) { m_progress(done, size); };
    }
    const QelChunkReader::Outcome outcome =
        QelSplitReading::read(device, size, reader, m_table, openAgain, progress, m_leastSplit);
    reader.finish();
    if (reader.passwordRefused()) {
        return FileResult::refused();
    }
    const bool failed = !outcome.error.isEmpty();
    if (failed && !reader.tableReplaced()) {
        return FileResult::cannotRead(filename, outcome.error);
    }
    // Only a complete read names the file: a partial table saved over it would lose the rest.
    m_sFileName = failed ? QString() : filename;
    m_iIsEncrypted = !failed && reader.isProtected();
    m_sPassword = failed ? QString() : reader.password();
    m_table.ClearUndoRedo();
    m_table.redrawAll();
    if (failed) {
        return FileResult::readInPart(filename, outcome.error);
    }
    return FileResult::done(filename);
}

FileResult DatabaseFile::SaveFile(const QString& filename, bool Encrypted) {
    if (filename != m_sFileName || (Encrypted && !m_iIsEncrypted)) {
        return SaveFileAs(filename, Encrypted);
    }
    return write(filename, Encrypted, m_sPassword);
}

FileResult DatabaseFile::SaveFileAs(const QString& filename, bool Encrypted) {
    if (!Encrypted) {
        const FileResult result = write(filename, false, QString());
        if (result.ok()) {
            m_iIsEncrypted = false;
            m_sFileName = filename;
        }
        return result;
    }
    const std::optional<QString> password = m_prompts ? m_prompts->askNewPassword() : std::nullopt;
    if (!password) {
        return FileResult::cancelled();
    }
    const FileResult result = write(filename, true, *password);
    if (result.ok()) {
        m_sFileName = filename;
        m_iIsEncrypted = true;
        m_sPassword = *password;
        m_prompts->announceSaved();
    }
    return result;
}

FileResult DatabaseFile::write(const QString& filename, bool stored, const QString& password) {
    QSaveFile file(filename);
    // Unbuffered: the writer hands over whole chunks, and a write that fails must fail here.
    // Buffered, the last bytes would go out only while committing, which does not notice when
    // they cannot be written and would put a cut file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return FileResult::cannotWrite(filename, file.errorString());
    }
    QelChunkWriter out(file, stored);
    if (stored) {
        QelTableWriter::writeProtectedStart(out, password);
    }
    if (!QelTableWriter::writeTableLines(m_table, out) || !out.finish()) {
        file.cancelWriting();
        return FileResult::cannotWrite(filename, out.errorString());
    }
    if (!file.commit()) {
        return FileResult::cannotWrite(filename, file.errorString());
    }
    return FileResult::done(filename);
}
