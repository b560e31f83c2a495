#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

class RowBuilder;
class RowDraft;

/// Reads the fields of a journal record from left to right. Texts and captions inside row,
/// clear and column records carry every "|" doubled, so a text ends at the first "|" that is
/// not followed by another one (the field after a text always starts with a digit).
class RecordReader final {
public:
    explicit RecordReader(QStringView text);

    bool atEnd() const { return m_pos == m_end; }
    QStringView rest() const { return QStringView(m_pos, m_end - m_pos); }

    /// Consumes `literal` when the record continues with it.
    bool skip(QStringView literal);
    /// A decimal 32-bit number with an optional leading "-". (Results come back through
    /// references: returning small optionals costs a stall per call on the undo of a clear.)
    bool number(qint32& out);
    /// row + "|": how row records begin.
    bool rowHead(qint32& row);
    /// `count` numbers separated by "|" into `out`; false when one does not parse.
    bool numbers(qint32* out, int count);
    /// An escaped text up to and including its closing "|". The view points into the record,
    /// or into this reader when "|" had to be unescaped; it stays valid as long as the reader.
    bool escapedText(QStringView& out);

    /// column + "|" + caption + "|" + width: the column group's head and the long "#ADDCLM#".
    /// The caption may point into this reader.
    bool columnHead(qint32& column, QStringView& caption, qint32& width);
    /// A cell: text + "|" + flags + "|" + colour, into slot `slot` of the row.
    bool cell(RowBuilder& row, int slot);
    /// Parts "|#|" + column + "|" + cell up to the end of the record into the row's slots;
    /// false when a part does not parse (the parts before it are kept). The draft's texts
    /// point into the record or this reader.
    bool cellParts(RowDraft& row);

private:
    const char16_t* m_pos;
    const char16_t* m_end;
    // Unescaped texts, appended one after the other; reserved for the whole record at the
    // first one, so views of earlier texts stay valid.
    QString m_unescaped;
};
