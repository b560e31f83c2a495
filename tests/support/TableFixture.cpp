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

Snapshot snapshot(const Table& table) {
    Snapshot s;
    s.rows = table.ListCount();
    s.columns = table.ColumnCount();
    for (int r = 1; r <= s.rows; ++r) {
        QList<Cell> row;
        for (int c = 1; c <= Table::MaxColumns; ++c) {
            row << table.cellAt(r, c).toCell();
        }
        s.cells << row;
    }
    for (int c = 1; c <= s.columns; ++c) {
        s.captions << table.GetColumnHeader(c);
        s.widths << table.GetWidthColumn(c);
        s.editable << table.columnEditable(c);
    }
    return s;
}

namespace {

QString describe(const Cell& c) {
    return QStringLiteral("\"%1\" b%2 i%3 u%4 c%5")
        .arg(c.Text)
        .arg(c.Bold)
        .arg(c.Itallic)
        .arg(c.Underlined)
        .arg(c.Color);
}

} // namespace

QString difference(const Snapshot& actual, const Snapshot& expected) {
    if (actual == expected) {
        return QString();
    }
    if (actual.rows != expected.rows || actual.columns != expected.columns) {
        return QStringLiteral("shape %1 x %2, expected %3 x %4")
            .arg(actual.rows)
            .arg(actual.columns)
            .arg(expected.rows)
            .arg(expected.columns);
    }
    for (int r = 0; r < actual.rows; ++r) {
        for (int c = 0; c < Table::MaxColumns; ++c) {
            if (!(actual.cells[r][c] == expected.cells[r][c])) {
                return QStringLiteral("cell (%1, %2): %3, expected %4")
                    .arg(r + 1)
                    .arg(c + 1)
                    .arg(describe(actual.cells[r][c]), describe(expected.cells[r][c]));
            }
        }
    }
    for (int c = 0; c < actual.columns; ++c) {
        if (actual.captions[c] != expected.captions[c] || actual.widths[c] != expected.widths[c] ||
            actual.editable[c] != expected.editable[c]) {
            return QStringLiteral("column %1: \"%2\" %3 %4, expected \"%5\" %6 %7")
                .arg(c + 1)
                .arg(actual.captions[c])
                .arg(actual.widths[c])
                .arg(actual.editable[c])
                .arg(expected.captions[c])
                .arg(expected.widths[c])
                .arg(expected.editable[c]);
        }
    }
    return QStringLiteral("snapshots differ");
}

QStringList entries(const std::deque<QString>& store) {
    return QStringList(store.begin(), store.end());
}

} // namespace TableFixture
