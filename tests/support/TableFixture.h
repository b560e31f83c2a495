#pragma once

#include "table/Table.h"

#include <QString>
#include <QStringList>

#include <deque>

/// Small helpers that build and read tables in tests.
namespace TableFixture {

/// Everything the journal promises to restore: every slot of every row (hidden ones too),
/// captions, widths, edit flags and the counts.
struct Snapshot {
    int rows = 0;
    int columns = 0;
    QList<QList<Cell>> cells; // rows x 32 slots
    QStringList captions;
    QList<int> widths;
    QList<bool> editable;

    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot snapshot(const Table& table);
/// Where two snapshots differ, for a failure message; empty when they are equal.
QString difference(const Snapshot& actual, const Snapshot& expected);

/// Fills a table with `rows` rows of texts given column by column, e.g. {"a", "b"} per row.
/// Uses direct access, so nothing is journalled; the table gets as many columns as needed.
void fill(Table& table, const QList<QStringList>& rows);
/// The texts of columns 1..ColumnCount, one list per row.
QList<QStringList> texts(const Table& table);
/// The store as a list, position 1 first.
QStringList entries(const std::deque<QString>& store);

} // namespace TableFixture
