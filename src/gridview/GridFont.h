#pragma once

#include <QFont>

/// The font of the grid's texts: the cells, their editors, the row numbers and the column
/// titles, which must line up with each other.
namespace GridFont {

/// Arial 9.75 pt as it shows on the 96-dpi screens the grid was laid out for: 13 px. Sized in
/// pixels so that texts fit the 16-pixel rows, and an editor covers its cell's text exactly,
/// at any screen density.
QFont cells();

} // namespace GridFont
