#pragma once

#include <QIcon>
#include <QSize>
#include <QString>

/// The application's pictures are SVG files in its resources, drawn with Qt SVG at the size
/// they are shown at (and twice that, for screens of double density), so they stay crisp.
namespace SvgIcon {

/// The picture at `path` (":/..."), for showing at `size`; the disabled look is derived
/// from it. An empty icon when the picture cannot be read.
QIcon load(const QString& path, QSize size);

} // namespace SvgIcon
