#pragma once

#include <QByteArrayView>
#include <QtGlobal>

/// Tells what each line of a database file is by its place in the file and its form: the
/// protected mark of line 1, the password line, the header and row count lines, then cell
/// lines. Lines are given one after the other, from the first. What a line does to the table
/// (the password check, the table itself) is left to the caller.
class QelLineRoles final {
public:
    enum class Role : quint8 {
        /// Line 1 of a protected file.
        ProtectedMark,
        /// Line 2 of a protected file, even when empty.
        Password,
        /// A password line too long to keep, which can let no one in.
        OverlongPassword,
        Header,
        RowCount,
        /// A line after the row count, to be parsed as a cell line (and read as nothing when it
        /// does not parse).
        Cell,
        /// A line that is not empty but can be read as nothing: a line too long to keep, a
        /// header or row count line too long to keep.
        Unreadable,
        /// An empty line, which changes nothing.
        Empty,
    };

    /// The role of the next line; `overlong` when its content was too long to keep.
    Role next(QByteArrayView line, bool overlong) {
        ++m_lineNumber;
        // Nearly every line of a file is a cell line.
        if (m_lineNumber > m_firstTableLine + 1) {
            return overlong ? Role::Unreadable : line.isEmpty() ? Role::Empty : Role::Cell;
        }
        return leading(line, overlong);
    }

    /// Every line from the next on is a cell line.
    bool pastLeadingLines() const { return m_lineNumber > m_firstTableLine; }

private:
    Role leading(QByteArrayView line, bool overlong);

    qint64 m_lineNumber = 0;
    qint64 m_firstTableLine = 1;
    bool m_protected = false;
};
