#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

/// The texts inside database file lines (cell texts, captions, passwords) to and from bytes.
namespace QelLineText {

/// The most bytes writeUtf8 writes for `text`.
inline qsizetype maxUtf8Size(QStringView text) {
    return text.size() * 3;
}

/// Writes `text` as UTF-8 at `out` (room for maxUtf8Size bytes) and returns the end. A CR
/// would end the line early and turn the rest of the text into a line of its own, so CR LF and
/// a lone CR are written as LF, which the reader keeps in the text. A lone surrogate, which no
/// decoded text holds, is written as U+FFFD.
char* writeUtf8(char* out, QStringView text);

/// Appends `text` as writeUtf8 writes it.
void appendUtf8(QByteArray& out, QStringView text);

/// Decodes one line's bytes at `out` and returns the number of UTF-16 units written: UTF-8, or
/// Windows-1250 when the bytes are not valid UTF-8. Neither takes more units than bytes, so
/// room for bytes.size() units is enough.
qsizetype decodeTo(char16_t* out, QByteArrayView bytes);

/// Decodes one line's bytes by the same rule into a new string.
QString decode(QByteArrayView bytes);

} // namespace QelLineText
