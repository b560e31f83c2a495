#include "exchange/Workbook.h"

#include "exchange/ImportBudget.h"

Workbook::Workbook() = default;

Workbook::Workbook(const QString& path, std::unique_ptr<SheetReader> reader, ReaderSource reopen,
                   ImportBudget* budget)
    : m_path(path), m_budget(budget), m_cells(budget), m_reader(std::move(reader)),
      m_reopen(std::move(reopen)) {}

Workbook::~Workbook() = default;

void Workbook::readThrough(int row) {
    if (row < m_firstKeptRow && m_reopen) {
        m_cells.clear();
        m_reader.reset(); // before the new one takes its share of the budget
        m_reader = m_reopen();
        m_highestRowRead = 0;
        m_firstKeptRow = 1;
    }
    // Rows come in order, so a row is complete once a later one has been read.
    while (m_reader && m_highestRowRead <= row) {
        const int read = m_reader->readNextRow(m_cells);
        if (read <= 0) {
            m_reader.reset();
            break;
        }
        m_highestRowRead = qMax(m_highestRowRead, read);
    }
    // Dropped in steps, so the rows are not walked again for every row read; rows of long
    // texts at once, so they do not take the budget that the import needs for its own copy.
    const int keepFrom = m_highestRowRead - KeptRows;
    if (m_reopen && keepFrom > m_firstKeptRow + KeptRows / 4) {
        m_cells.dropRowsBefore(keepFrom);
        m_firstKeptRow = keepFrom;
    } else if (m_reopen && m_budget && row > m_firstKeptRow &&
               m_cells.heldBytes() > m_budget->limit() / KeptShareOfBudget) {
        m_cells.dropRowsBefore(row);
        m_firstKeptRow = row;
    }
}

QStringView Workbook::value(int row, int column) {
    readThrough(row);
    return m_cells.at(row, column);
}

bool Workbook::rowHasValues(int row) {
    readThrough(row);
    return !m_cells.rowIsEmpty(row);
}

bool Workbook::setValue(int row, int column, QStringView text) {
    readThrough(row);
    return m_cells.set(row, column, text);
}
