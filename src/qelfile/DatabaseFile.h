#pragma once

#include "text/FileResult.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

class PasswordPrompts;
class QIODevice;
class Table;

/// The .QEL file of the table being edited, in its plain, protected and stored (scrambled)
/// forms, with the document state that says where the table was last read from or saved to.
/// The grid forwards its OpenFile, SaveFile and SaveFileAs here.
///
/// Nothing but the finished file ever reaches the disk: the stored form is scrambled in memory
/// a chunk at a time on the way out and unscrambled the same way on the way in, and a save goes
/// through a temporary file in the target's folder that replaces the target only when complete,
/// so a failed save leaves the old file as it was. The outcome comes back as a value.
///
/// The document state changes when an operation succeeds, with one exception: a read that fails
/// part way, after the table was replaced, comes back Incomplete: it leaves the table holding
/// the lines read so far and the document without a file (no name, no password), so a later save
/// asks for a name rather than writing the partial table over either file. A read that fails before
/// the table was touched, like a refused password, changes nothing.
///
/// "Saved" after a protected SaveFileAs is announced through PasswordPrompts::announceSaved(),
/// once the file is in place.
class DatabaseFile final {
public:
    explicit DatabaseFile(Table& table, PasswordPrompts* prompts = nullptr);
    Q_DISABLE_COPY_MOVE(DatabaseFile)

    /// The dialogs that check and ask for passwords. Without them a password other than an
    /// empty one or NoPasswordMarker is refused, and a protected save is cancelled.
    void setPasswordPrompts(PasswordPrompts* prompts) { m_prompts = prompts; }
    /// What hears, while a file is read, how many of its bytes were read so far and how many
    /// it has: called between the pieces of the file, on the thread that opens it, so a window
    /// can show it and repaint. Nothing by default.
    void setReadProgress(std::function<void(qint64 done, qint64 total)> progress) {
        m_progress = std::move(progress);
    }

    /// The file the table was last read from or saved to; empty until then.
    QString sFileName() const { return m_sFileName; }
    /// The current file's database password; empty unless a protected file was opened or saved.
    QString sPassword() const { return m_sPassword; }
    /// The document was read from, or last saved as, a protected file.
    bool iIsEncrypted() const { return m_iIsEncrypted; }

    /// Replaces the table with the file's content and makes it the current file. Lines that
    /// cannot be interpreted are skipped; the file's form is recognised by its first bytes.
    FileResult OpenFile(const QString& filename);
    /// Writes the table to `filename`, stored (scrambled and protected) when `Encrypted`. A new
    /// file name, or a first protected save of the document, is a SaveFileAs; otherwise the
    /// current password is written again without asking.
    FileResult SaveFile(const QString& filename, bool Encrypted = false);
    /// Writes the table to `filename` as the document's new file; a protected save asks for a
    /// new password first.
    FileResult SaveFileAs(const QString& filename, bool Encrypted = false);

    /// OpenFile's reading, from any device holding `size` bytes; `filename` becomes the
    /// current file.
    FileResult read(QIODevice& device, qint64 size, const QString& filename);

    /// The least part of a file OpenFile reads on a second thread (QelSplitReading); smaller
    /// files are read on one. Tests lower it to have small files read on two.
    void setLeastSplitReading(qint64 bytes) { m_leastSplit = bytes; }

private:
    FileResult read(QIODevice& device, qint64 size, const QString& filename,
                    const std::function<std::unique_ptr<QIODevice>()>& openAgain);
    FileResult write(const QString& filename, bool stored, const QString& password);

    Table& m_table;
    PasswordPrompts* m_prompts;
    std::function<void(qint64, qint64)> m_progress;
    QString m_sFileName;
    QString m_sPassword;
    bool m_iIsEncrypted = false;
    // Enough that starting a thread costs nothing next to reading it.
    qint64 m_leastSplit = 4 * 1024 * 1024;
};
