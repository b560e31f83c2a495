#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

/// The header line of a database file: two backslashes, the column count, "|#", then
/// "||" caption "|" width for each column.
struct QelHeaderLine {
    struct Column {
        QString Caption;
        int Width = 0;
    };

    /// The width given to a column whose definition holds no usable width (no "|", or not a
    /// number from 0 to 32767): that of a new table's column, so the column still exists and the
    /// cell lines for it and the columns after it keep their places.
    static constexpr int FallbackWidth = 100;

    int ColumnCount = 0;
    /// The definitions in column order, at most `maxColumns` of them.
    QList<Column> Columns;

    /// The count and definitions, or nothing when the line has no count ended by "|" or no
    /// "|#||". The definitions follow the last "|#||" and are split at "||"; in each, the last
    /// "|" separates caption and width.
    static std::optional<QelHeaderLine> parse(QStringView line, int maxColumns);

    /// Appends the line's start: the backslashes, the count and "|#".
    static void appendStart(QByteArray& out, int columnCount);
    /// Appends one column definition.
    static void appendColumn(QByteArray& out, QStringView caption, int width);
    /// Appends the line end.
    static void appendEnd(QByteArray& out) { out.append("\r\n", 2); }
};
