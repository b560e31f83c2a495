#pragma once

#include "qelfile/format/QelCellLine.h"
#include "qelfile/format/QelLineText.h"
#include "table/RowDraft.h"
#include "table/Table.h"

#include <QByteArrayView>
#include <QStringView>
#include <QtGlobal>

#include <vector>

/// Parses the cell lines of a database file and stores their cells row by row into `Target`
/// (a Table, or a RowBatch filled on another thread): anything with setCells(row, RowDraft).
/// A file lists a row's cells one after the other, so each row is stored once, whole, rather
/// than cell by cell. A line that is not a cell line, or names a row or column out of range,
/// is skipped.
template <typename Target> class QelCellRows final {
public:
    explicit QelCellRows(Target& target) : m_target(target) {}
    Q_DISABLE_COPY_MOVE(QelCellRows)

    /// Rows 1..count are in range.
    void setRowCount(int count) { m_rowCount = count; }
    int rowCount() const { return m_rowCount; }

    /// Inlined into the readers' line handling: it runs for nearly every line of a file.
    [[gnu::always_inline]] inline void take(QByteArrayView line) {
        if (!m_cell.parse(line)) {
            return;
        }
        const int row = m_cell.Row;
        const int column = m_cell.Column;
        if (row < 1 || row > m_rowCount || column < 1 || column > Table::MaxColumns) {
            return;
        }
        if (row != m_rowNumber) {
            store();
            m_rowNumber = row;
        }
        m_row.setCell(column, keepText(m_cell.Text),
                      RowDraft::formatFlags(m_cell.Bold, m_cell.Itallic, m_cell.Underlined),
                      m_cell.Color);
    }

    /// Stores the row gathered last; call it once the lines have ended.
    void finish() { store(); }

private:
    // Room for the texts of a row of short cells; a longer row makes the buffer grow to fit.
    static constexpr qsizetype RowTextReserve = 4096;

    // The cell text decoded into m_rowText.
    [[gnu::always_inline]] inline QStringView keepText(QByteArrayView bytes) {
        // A text decodes into at most one unit per byte.
        if (bytes.size() > qsizetype(m_rowText.size()) - m_rowTextUsed) {
            // Growing would move the texts the gathered cells point to: those are stored
            // first, and the rest of the row is written over them later.
            store();
            m_rowText.resize(size_t(qMax<qsizetype>(bytes.size(), RowTextReserve)));
        }
        char16_t* const out = m_rowText.data() + m_rowTextUsed;
        const qsizetype length = QelLineText::decodeTo(out, bytes);
        m_rowTextUsed += length;
        return QStringView(out, length);
    }

    void store() {
        if (!m_row.isEmpty()) {
            m_target.setCells(m_rowNumber, m_row);
            m_row.clear();
        }
        m_rowTextUsed = 0;
    }

    Target& m_target;
    int m_rowCount = 0;
    // Reused for every cell line, whose parse reuses the row of the line before.
    QelCellLine m_cell;
    // The cells of row m_rowNumber taken since it was last stored.
    RowDraft m_row;
    int m_rowNumber = 0;
    // The texts m_row points to, one after the other. It is reused for every row, so a cell
    // line costs no allocation of its own, and grows only while no cell points into it.
    std::vector<char16_t> m_rowText;
    qsizetype m_rowTextUsed = 0;
};
