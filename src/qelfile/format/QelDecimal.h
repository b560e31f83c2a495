#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>
#include <QtGlobal>

#include <optional>

/// The numbers of database files: plain decimal text, a leading "-" when negative.
namespace QelDecimal {

/// The value of text made only of an optional "-" and decimal digits that fits the range;
/// nothing for anything else (empty text, signs, blanks, other characters, overflow).
std::optional<qint64> parse(QByteArrayView text, qint64 min, qint64 max);
std::optional<qint64> parse(QStringView text, qint64 min, qint64 max);

inline std::optional<qint32> parseInt32(QByteArrayView text) {
    const auto v = parse(text, INT32_MIN, INT32_MAX);
    return v ? std::optional<qint32>(qint32(*v)) : std::nullopt;
}

/// The most bytes write() writes.
inline constexpr qsizetype MaxBytes = 20;

/// Writes `value` as decimal text at `out` and returns the end.
char* write(char* out, qint64 value);

/// Appends `value` as decimal text.
void append(QByteArray& out, qint64 value);

} // namespace QelDecimal
