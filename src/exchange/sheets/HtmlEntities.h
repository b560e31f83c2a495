#pragma once

#include <QString>
#include <QStringView>

/// Character references of HTML text ("&amp;", "&eacute;", "&#269;", "&#x10D;").
namespace HtmlEntities {

/// The text with every reference it knows replaced by its character; unknown or malformed
/// references stay as written, as browsers show them.
QString decode(QStringView text);

} // namespace HtmlEntities
