#pragma once

#include "qelfile/format/QelCellLine.h"
#include "qelfile/read/LineSink.h"
#include "qelfile/read/QelLineRoles.h"
#include "table/RowDraft.h"

#include <QString>
#include <QtGlobal>

#include <vector>

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
    /// Parses a cell line and applies it; a line that is not one is skipped.
    void applyCell(QByteArrayView line);
    /// The cell text decoded into m_rowText.
    QStringView keepText(QByteArrayView bytes);
    void storeRow();

    Table& m_table;
    PasswordPrompts* m_prompts;
    qint64 m_maxRows;
    QelLineRoles m_roles;
    bool m_protected = false;
    bool m_accepted = false;
    bool m_refused = false;
    bool m_cleared = false;
    int m_rowCount = 0;
    QString m_password;
    // Reused for every cell line, whose parse reuses the row of the line before.
    QelCellLine m_cell;
    // The cells of row m_rowNumber taken since it was last stored: a file lists a row's cells
    // one after the other, so each row is stored once, whole, rather than cell by cell.
    RowDraft m_row;
    int m_rowNumber = 0;
    // The texts m_row points to, one after the other. It is reused for every row, so a cell
    // line costs no allocation of its own, and grows only while no cell points into it.
    std::vector<char16_t> m_rowText;
    qsizetype m_rowTextUsed = 0;
};
