#include "QelTableReader.h"

#include "PasswordPrompts.h"
#include "QelCellLine.h"
#include "QelDecimal.h"
#include "QelHeaderLine.h"
#include "QelLineText.h"
#include "Table.h"

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

constexpr QByteArrayView kProtectedMark("#@#");

// Room for the texts of a row of short cells; a longer row makes the buffer grow to fit.
constexpr qsizetype kRowTextReserve = 4096;

} // namespace

QelTableReader::QelTableReader(Table& table, PasswordPrompts* prompts, qint64 fileSize)
    : m_table(table), m_prompts(prompts), m_maxRows(maxRowCount(fileSize)) {}

qint64 QelTableReader::maxRowCount(qint64 fileSize) {
    return qMin<qint64>(INT32_MAX,
                        kEmptyRowAllowance + qMax<qint64>(fileSize, 0) / kShortestCellLine);
}

// Counts the line and settles the form and the password. True when the line is to be
// interpreted as a table line. Inlined: it runs for every line, and past line 2 it is a few
// tests.
[[gnu::always_inline]] inline bool QelTableReader::startLine(QByteArrayView line, bool overlong) {
    ++m_lineNumber;
    if (m_lineNumber == 1) {
        m_protected = !overlong && line.startsWith(kProtectedMark);
        m_firstTableLine = m_protected ? 3 : 1;
    }
    if (m_protected && m_lineNumber == 2) {
        // A password line too long to keep cannot be checked, so it lets no one in.
        const QString stored = overlong ? QString() : QelLineText::decode(line);
        const bool admitted = !overlong && (stored.isEmpty() || stored == NoPasswordMarker ||
                                            (m_prompts && m_prompts->checkPassword(stored)));
        if (!admitted) {
            m_refused = true;
            return false;
        }
        m_accepted = true;
        m_password = stored;
    }
    if ((m_protected && !m_accepted) || (line.isEmpty() && !overlong)) {
        return false;
    }
    if (!m_cleared) {
        m_table.ClearEntireList();
        m_rowCount = m_table.ListCount();
        m_cleared = true;
    }
    return !overlong && m_lineNumber >= m_firstTableLine;
}

// Inlined into takeLine: it runs for nearly every line of a file.
[[gnu::always_inline]] inline void QelTableReader::applyCell(QByteArrayView line) {
    QelCellLine& cell = m_cell;
    if (!cell.parse(line) || cell.Row < 1 || cell.Row > m_rowCount || cell.Column < 1 ||
        cell.Column > Table::MaxColumns) {
        return;
    }
    if (cell.Row != m_rowNumber) {
        storeRow();
        m_rowNumber = cell.Row;
    }
    m_row.setCell(cell.Column, CellRef{keepText(cell.Text), cell.Bold, cell.Itallic,
                                       cell.Underlined, cell.Color});
}

bool QelTableReader::takeLine(QByteArrayView line) {
    if (!startLine(line, false)) {
        return !m_refused;
    }
    const qint64 n = m_lineNumber - m_firstTableLine;
    if (n == 0) {
        applyHeader(line);
    } else if (n == 1) {
        applyRowCount(line);
    } else if (n > 1) {
        applyCell(line);
    }
    return true;
}

bool QelTableReader::takeOverlongLine() {
    // Counted like any line, applied as a line that cannot be interpreted.
    startLine(QByteArrayView(), true);
    return !m_refused;
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
    m_rowCount = m_table.ListCount();
}

[[gnu::always_inline]] inline QStringView QelTableReader::keepText(QByteArrayView bytes) {
    // A text decodes into at most one unit per byte.
    if (bytes.size() > qsizetype(m_rowText.size()) - m_rowTextUsed) {
        // Growing would move the texts the gathered cells point to: those are stored first, and
        // the rest of the row is written over them later.
        storeRow();
        m_rowText.resize(size_t(qMax<qsizetype>(bytes.size(), kRowTextReserve)));
    }
    char16_t* const out = m_rowText.data() + m_rowTextUsed;
    const qsizetype length = QelLineText::decodeTo(out, bytes);
    m_rowTextUsed += length;
    return QStringView(out, length);
}

void QelTableReader::storeRow() {
    if (!m_row.isEmpty()) {
        m_table.setCells(m_rowNumber, m_row);
        m_row.clear();
    }
    m_rowTextUsed = 0;
}

void QelTableReader::finish() {
    storeRow();
}
