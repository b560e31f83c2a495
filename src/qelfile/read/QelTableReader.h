#pragma once

#include "qelfile/read/LineSink.h"
#include "qelfile/read/QelCellRows.h"
#include "qelfile/read/QelLineRoles.h"

#include <QString>
#include <QtGlobal>

class PasswordPrompts;
class Table;

/// Rebuilds the table from the lines of a database file in its plain or protected form, as a
/// line splitter hands them over. A line it cannot interpret is skipped and the next one is
/// read; a refused password stops the reading before the table is touched.
///
/// The file is read, split, parsed and applied on the thread that owns the table, a piece at a
/// time: handing lines to another thread costs more than parsing them, as the bytes then travel
/// between the processors' caches.
class QelTableReader final : public LineSink {
public:
    /// `fileSize` bounds the row count the file may ask for (maxRowCount).
    QelTableReader(Table& table, PasswordPrompts* prompts, qint64 fileSize);
    Q_DISABLE_COPY_MOVE(QelTableReader)

    /// Applies the next line. False once a refused password has stopped the reading.
    bool takeLine(QByteArrayView line) override;
    bool takeOverlongLine() override;
    /// Stores what the last lines gathered; call it once the lines have ended, however they
    /// ended.
    void finish();

    /// Line 1 began with "#@#".
    bool isProtected() const { return m_protected; }
    bool passwordRefused() const { return m_refused; }
    /// The table was cleared for the file's lines: its old content is gone.
    bool tableReplaced() const { return m_cleared; }
    /// The table was cleared and every line from the next on is a cell line: the rest of the
    /// file may be read apart (QelTailReader) with the row count reached so far.
    bool onlyCellLinesFollow() const { return m_cleared && m_roles.pastLeadingLines(); }
    int rowCount() const { return m_cells.rowCount(); }
    /// The accepted password line; empty when none was accepted.
    QString password() const { return m_password; }

    /// The largest row count a file of `fileSize` bytes may ask for.
    static qint64 maxRowCount(qint64 fileSize);

private:
    using Role = QelLineRoles::Role;

    bool takeOther(Role role, QByteArrayView line);
    bool admit(Role role, QByteArrayView line);
    void applyHeader(QByteArrayView line);
    void applyRowCount(QByteArrayView line);

    Table& m_table;
    PasswordPrompts* m_prompts;
    qint64 m_maxRows;
    QelLineRoles m_roles;
    bool m_protected = false;
    bool m_accepted = false;
    bool m_refused = false;
    bool m_cleared = false;
    QString m_password;
    QelCellRows<Table> m_cells;
};
