#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

/// Reads the fields of a journal record from left to right. Texts and captions inside row,
/// clear and column records carry every "|" doubled, so a text ends at the first "|" that is
/// not followed by another one (the field after a text always starts with a digit).
class RecordReader final {
public:
    explicit RecordReader(QStringView text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    QStringView rest() const { return m_text.mid(m_pos); }

    /// Consumes `literal` when the record continues with it.
    bool skip(QStringView literal);
    /// A decimal 32-bit number with an optional leading "-".
    std::optional<qint32> number();
    /// `count` numbers separated by "|" into `out`; false when one does not parse.
    bool numbers(qint32* out, int count);
    /// An escaped text up to and including its closing "|". The view points into the record,
    /// or into `scratch` when "|" had to be unescaped.
    std::optional<QStringView> escapedText(QString& scratch);
    /// Three characters "1"/"0": bold, underline, italic; as RowBlock flag bits.
    std::optional<quint8> flagTriple();

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};
