#include "qelfile/read/QelTableReader.h"

#include "qelfile/PasswordPrompts.h"
#include "qelfile/format/QelDecimal.h"
#include "qelfile/format/QelHeaderLine.h"
#include "qelfile/format/QelLineText.h"
#include "table/Table.h"

namespace {

// A row count is believed only as far as the file could need it. A row the file fills needs a
// cell line of at least 12 bytes ("x#0#000#1#1" and its CR); the rows after the last filled
// one are empty rows a user appended, by the thousand but not by the billion. A count larger
// than the filled rows the file could hold plus kEmptyRowAllowance is damage (or a file made to
// exhaust memory with its 2^31 rows) and is skipped like any other malformed line. An empty
// row costs the table one pointer, so the allowance lets a tiny file claim at most 8 MiB, and
// a big file no more rows than its size could fill.
constexpr qint64 kShortestCellLine = 12;
constexpr qint64 kEmptyRowAllowance = 1 << 20;

} // namespace

QelTableReader::QelTableReader(Table& table, PasswordPrompts* prompts, qint64 fileSize)
    : m_table(table), m_prompts(prompts), m_maxRows(maxRowCount(fileSize)), m_cells(table) {}

qint64 QelTableReader::maxRowCount(qint64 fileSize) {
    return qMin<qint64>(INT32_MAX,
                        kEmptyRowAllowance + qMax<qint64>(fileSize, 0) / kShortestCellLine);
}

bool QelTableReader::takeLine(QByteArrayView line) {
    const Role role = m_roles.next(line, false);
    // Nearly every line of a file is a cell line read once the table was cleared.
    if (role == Role::Cell && m_cleared) {
        m_cells.take(line);
        return true;
    }
    return takeOther(role, line);
}

bool QelTableReader::takeOverlongLine() {
    return takeOther(m_roles.next(QByteArrayView(), true), QByteArrayView());
}

// Settles the form and the password, clears the table before the first line applied, and
// applies the line. False when a refused password ends the reading.
bool QelTableReader::takeOther(Role role, QByteArrayView line) {
    if (role == Role::Empty) {
        return true;
    }
    if (role == Role::ProtectedMark) {
        m_protected = true;
        return true;
    }
    if (role == Role::Password || role == Role::OverlongPassword) {
        if (!admit(role, line)) {
            m_refused = true;
            return false;
        }
        // An empty password line lets the user in but applies nothing.
        if (line.isEmpty()) {
            return true;
        }
    }
    if (m_protected && !m_accepted) {
        return true;
    }
    if (!m_cleared) {
        m_table.ClearEntireList();
        m_cells.setRowCount(m_table.ListCount());
        m_cleared = true;
    }
    switch (role) {
    case Role::Header:
        applyHeader(line);
        break;
    case Role::RowCount:
        applyRowCount(line);
        break;
    case Role::Cell:
        m_cells.take(line);
        break;
    default:
        break;
    }
    return true;
}

bool QelTableReader::admit(Role role, QByteArrayView line) {
    // A password line too long to keep cannot be checked, so it lets no one in.
    if (role == Role::OverlongPassword) {
        return false;
    }
    const QString stored = QelLineText::decode(line);
    if (stored.isEmpty() || stored == NoPasswordMarker ||
        (m_prompts && m_prompts->checkPassword(stored))) {
        m_accepted = true;
        m_password = stored;
        return true;
    }
    return false;
}

void QelTableReader::applyHeader(QByteArrayView line) {
    const auto header = QelHeaderLine::parse(QelLineText::decode(line), Table::MaxColumns);
    if (!header || header->Columns.isEmpty()) {
        return;
    }
    m_table.LetWidthColumn(1, header->Columns[0].Width);
    m_table.SetColumnHeader(1, header->Columns[0].Caption);
    // A column number the line promises but does not define is not created.
    const int count = qMin<qsizetype>(header->ColumnCount, header->Columns.size());
    for (int k = 2; k <= count; ++k) {
        m_table.AddColumn(0, header->Columns[k - 1].Width, header->Columns[k - 1].Caption);
    }
}

void QelTableReader::applyRowCount(QByteArrayView line) {
    // The count follows the two backslashes, which are not checked.
    if (line.size() < 3) {
        return;
    }
    const auto count = QelDecimal::parse(line.sliced(2), 1, m_maxRows);
    if (!count) {
        return;
    }
    m_table.resetRows(int(*count));
    m_cells.setRowCount(m_table.ListCount());
}

void QelTableReader::finish() {
    m_cells.finish();
}
