#pragma once

#include <QPixmap>
#include <QPoint>

/// The arrow pictures of the scroll buttons: 0..3 up, down, left, right; 4..7 the same arrows
/// greyed for a disabled button.
namespace ArrowIcons {

inline constexpr int Size = 9;
/// Where an arrow button shows its icon; one pixel right and down while it is held.
inline constexpr QPoint PictureAt(3, 3);
QPixmap icon(int index);

} // namespace ArrowIcons
