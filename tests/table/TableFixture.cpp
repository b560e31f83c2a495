#include "TableFixture.h"

namespace TableFixture {

void fill(Table& table, const QList<QStringList>& rows) {
    qsizetype columns = 1;
    for (const QStringList& row : rows) {
        columns = std::max(columns, row.size());
    }
    while (table.ColumnCount() < columns) {
        table.AddColumn(0, 100, QString());
    }
    table.resetRows(int(std::max<qsizetype>(rows.size(), 1)));
    for (qsizetype r = 0; r < rows.size(); ++r) {
        for (qsizetype c = 0; c < rows[r].size(); ++c) {
            table.setCellText(int(r + 1), int(c + 1), rows[r][c]);
        }
    }
    table.ClearUndoRedo();
}

QList<QStringList> texts(const Table& table) {
    QList<QStringList> rows;
    for (int r = 1; r <= table.ListCount(); ++r) {
        QStringList row;
        for (int c = 1; c <= table.ColumnCount(); ++c) {
            row << table.GetItem(r, c);
        }
        rows << row;
    }
    return rows;
}

QStringList entries(const std::deque<QString>& store) {
    return QStringList(store.begin(), store.end());
}

} // namespace TableFixture
