#include "Workbook.h"

Workbook::Workbook() = default;

Workbook::Workbook(const QString& path, std::unique_ptr<SheetReader> reader)
    : m_path(path), m_reader(std::move(reader)) {}

Workbook::~Workbook() = default;

void Workbook::readThrough(int row) {
    // Rows come in order, so a row is complete once a later one has been read.
    while (m_reader && m_highestRowRead <= row) {
        const int read = m_reader->readNextRow(m_cells);
        if (read <= 0) {
            m_reader.reset();
            break;
        }
        m_highestRowRead = qMax(m_highestRowRead, read);
    }
}

QStringView Workbook::value(int row, int column) {
    readThrough(row);
    return m_cells.at(row, column);
}

bool Workbook::setValue(int row, int column, QStringView text) {
    readThrough(row);
    return m_cells.set(row, column, text);
}
