#pragma once

#include <QByteArrayView>
#include <QString>

/// Text read from files: written as UTF-8 here, but files from Windows hold the Central
/// European code page, so bytes that are not valid UTF-8 are taken as Windows-1250.
namespace TextEncoding {

/// True when the bytes are well-formed UTF-8 (plain ASCII included).
bool isValidUtf8(QByteArrayView bytes);

/// Decodes Windows-1250 bytes. The five bytes the code page leaves undefined map to the
/// control characters of the same value, as Windows itself maps them.
QString fromWindows1250(QByteArrayView bytes);

/// UTF-8 when the bytes are valid UTF-8, otherwise Windows-1250.
QString decodeUtf8OrWindows1250(QByteArrayView bytes);

} // namespace TextEncoding
