#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

/// Finds a search text inside cell texts, either exactly or through the fixed case-folding
/// table (a..z and eight Cyrillic small letters become capitals; nothing else changes).
/// Scans the texts in place, without allocating.
class TextMatcher final {
public:
    TextMatcher(QStringView needle, bool exact);

    static char16_t fold(char16_t c);

    qsizetype needleLength() const { return m_needle.size(); }
    /// 0-based index of the first match starting at `from` or later; -1 when there is none.
    qsizetype indexIn(QStringView text, qsizetype from = 0) const;

private:
    QString m_needle; // folded unless exact
    bool m_exact;
};
