#pragma once

#include <QString>
#include <QStringView>

/// The "_xHHHH_" escapes of spreadsheet XML texts: characters XML cannot carry (control
/// characters) are written as their code in hex, and a literal "_xHHHH_" is written with its
/// underscore escaped as "_x005F_".
namespace XlsxEscapes {

/// Replaces every "_xHHHH_" by the character it stands for.
QString decode(QStringView text);

/// Protects a text written through a library that escapes control characters itself but
/// leaves a literal "_xHHHH_" alone: its underscore becomes "_x005F_".
QString protectLiteralEscapes(QStringView text);

} // namespace XlsxEscapes
