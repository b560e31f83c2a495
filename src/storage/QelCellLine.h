#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <QtGlobal>

/// One cell line of a database file: text "#" colour "#" flags "#" column "#" row, where the
/// flags are bold, underline and italic as "1" or "0". Read from the right, so the text may
/// hold "#".
struct QelCellLine {
    QByteArrayView Text;
    qint32 Color = 0;
    bool Bold = false;
    bool Underlined = false;
    bool Itallic = false;
    qint32 Column = 0;
    qint32 Row = 0;

    /// Takes the line's fields; false (the fields then undefined) when it is not a cell line:
    /// fewer than four "#" in the right places, flags that are not three digits, or a number
    /// that is not a 32-bit decimal. The text stays undecoded (bytes of `line`). Filled in
    /// place rather than returned: this runs once per cell of a file.
    bool parse(QByteArrayView line);

    /// The most bytes write() writes for a cell holding `text`.
    static qsizetype maxSize(QStringView text);
    /// Writes the cell line with its CR LF at `out` and returns the end.
    static char* write(char* out, QStringView text, qint32 color, bool bold, bool underlined,
                       bool itallic, int column, int row);
};
