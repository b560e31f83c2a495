#pragma once

#include "Table.h"

#include <QString>
#include <QStringList>

#include <deque>

/// Small helpers that build and read tables in tests.
namespace TableFixture {

/// Fills a table with `rows` rows of texts given column by column, e.g. {"a", "b"} per row.
/// Uses direct access, so nothing is journalled; the table gets as many columns as needed.
void fill(Table& table, const QList<QStringList>& rows);
/// The texts of columns 1..ColumnCount, one list per row.
QList<QStringList> texts(const Table& table);
/// The store as a list, position 1 first.
QStringList entries(const std::deque<QString>& store);

} // namespace TableFixture
