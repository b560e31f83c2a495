#pragma once

#include <QPixmap>

/// The arrow pictures of the scroll buttons: 0..3 up, down, left, right; 4..7 the same arrows
/// greyed for a disabled button.
namespace ArrowIcons {

inline constexpr int Size = 9;
QPixmap icon(int index);

} // namespace ArrowIcons
