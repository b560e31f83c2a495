#include "DatabaseFile.h"

#include "PasswordPrompts.h"
#include "QelChunkWriter.h"
#include "QelReadAhead.h"
#include "QelTableReader.h"
#include "QelTableWriter.h"
#include "Table.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString cannotRead(const QString& filename, const QString& why) {
    return QStringLiteral("Cannot read \"%1\": %2").arg(filename, why);
}

QString cannotWrite(const QString& filename, const QString& why) {
    return QStringLiteral("Cannot write \"%1\": %2").arg(filename, why);
}

} // namespace

DatabaseFile::DatabaseFile(Table& table, PasswordPrompts* prompts)
    : m_table(table), m_prompts(prompts) {}

DatabaseFileResult DatabaseFile::OpenFile(const QString& filename) {
    // Only a regular file has a length to read to; a device or a pipe could never end.
    const QFileInfo info(filename);
    if (!info.exists()) {
        return DatabaseFileResult::failed(cannotRead(filename, QStringLiteral("No such file")));
    }
    if (!info.isFile()) {
        return DatabaseFileResult::failed(cannotRead(filename, QStringLiteral("Not a file")));
    }
    QFile file(filename);
    if (!file.open(QIODevice::ReadOnly)) {
        return DatabaseFileResult::failed(cannotRead(filename, file.errorString()));
    }
    return read(file, file.size(), filename);
}

DatabaseFileResult DatabaseFile::read(QIODevice& device, qint64 size, const QString& filename) {
    QelTableReader reader(m_table, m_prompts, size);
    const QelChunkReader::Outcome outcome = QelReadAhead::read(device, size, reader);
    reader.finish();
    if (reader.passwordRefused()) {
        return DatabaseFileResult::refused();
    }
    m_sFileName = filename;
    m_iIsEncrypted = reader.isProtected();
    m_sPassword = reader.password();
    m_table.ClearUndoRedo();
    m_table.redrawAll();
    if (!outcome.error.isEmpty()) {
        return DatabaseFileResult::failed(cannotRead(filename, outcome.error));
    }
    return DatabaseFileResult::done();
}

DatabaseFileResult DatabaseFile::SaveFile(const QString& filename, bool Encrypted) {
    if (filename != m_sFileName || (Encrypted && !m_iIsEncrypted)) {
        return SaveFileAs(filename, Encrypted);
    }
    return write(filename, Encrypted, m_sPassword);
}

DatabaseFileResult DatabaseFile::SaveFileAs(const QString& filename, bool Encrypted) {
    if (!Encrypted) {
        const DatabaseFileResult result = write(filename, false, QString());
        if (result.ok()) {
            m_iIsEncrypted = false;
            m_sFileName = filename;
        }
        return result;
    }
    const std::optional<QString> password = m_prompts ? m_prompts->askNewPassword() : std::nullopt;
    if (!password) {
        return DatabaseFileResult::cancelled();
    }
    const DatabaseFileResult result = write(filename, true, *password);
    if (result.ok()) {
        m_sFileName = filename;
        m_iIsEncrypted = true;
        m_sPassword = *password;
        m_prompts->announceSaved();
    }
    return result;
}

DatabaseFileResult DatabaseFile::write(const QString& filename, bool stored,
                                       const QString& password) {
    QSaveFile file(filename);
    if (!file.open(QIODevice::WriteOnly)) {
        return DatabaseFileResult::failed(cannotWrite(filename, file.errorString()));
    }
    QelChunkWriter out(file, stored);
    if (stored) {
        QelTableWriter::writeProtectedStart(out, password);
    }
    if (!QelTableWriter::writeTableLines(m_table, out) || !out.finish()) {
        file.cancelWriting();
        return DatabaseFileResult::failed(cannotWrite(filename, out.errorString()));
    }
    if (!file.commit()) {
        return DatabaseFileResult::failed(cannotWrite(filename, file.errorString()));
    }
    return DatabaseFileResult::done();
}
