#pragma once

#include <QString>

/// A cell holds one line of text.
namespace LineBreaks {

/// The text without its line breaks (CR LF, CR or LF), the pieces joined, as the cell editor
/// joins a pasted text.
QString joined(const QString& text);

} // namespace LineBreaks
