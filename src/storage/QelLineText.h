#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <string>

/// The texts inside database file lines (cell texts, captions, passwords) to and from bytes.
namespace QelLineText {

/// Appends `text` as UTF-8. A CR would end the line early and turn the rest of the text into a
/// line of its own, so CR LF and a lone CR are written as LF, which the reader keeps in the
/// text.
void appendUtf8(QByteArray& out, QStringView text);

/// Decodes one line's bytes into `buffer`, reusing its storage, and returns a view of the
/// text: UTF-8, or Windows-1250 when the bytes are not valid UTF-8.
QStringView decodeInto(std::u16string& buffer, QByteArrayView bytes);

/// Decodes one line's bytes by the same rule into a new string.
QString decode(QByteArrayView bytes);

} // namespace QelLineText
