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
    /// place rather than returned: this runs once per cell of a file, and an object reused for
    /// the lines of a file takes the row of a line that ends as the last one did ("#" and the
    /// same row number, as the lines of a row do) without reading it again.
    bool parse(QByteArrayView line);

    /// The most bytes write() writes for a cell holding `text`.
    static qsizetype maxSize(QStringView text);
    /// Writes the cell line with its CR LF at `out` and returns the end.
    static char* write(char* out, QStringView text, qint32 color, bool bold, bool underlined,
                       bool itallic, int column, int row);

private:
    /// Reads the row field ending the line into Row and returns the position of its "#"; -1
    /// when there is none.
    qsizetype rowField(const char* line, qsizetype size);

    // The last eight bytes of the last line whose row field was read, and how many of them, from
    // the "#" on, that field took (0: none to reuse). A row field's value depends on its bytes
    // alone, so a line ending in the same bytes has the same row.
    quint64 m_rowTail = 0;
    qsizetype m_rowTailLength = 0;
};
