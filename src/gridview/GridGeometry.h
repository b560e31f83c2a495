#pragma once

#include <optional>
#include <vector>

/// The grid's layout arithmetic, free of widgets: which rows are drawn, where the thumbs sit,
/// how far one arrow step scrolls, which column or boundary lies under the pointer. All values
/// are pixels; "L" is the left edge of the cell background in control coordinates and the
/// "strip" is the row-number strip at the control's left.
namespace GridGeometry {

inline constexpr int RowPixels = 16;
inline constexpr int HeaderHeight = 20;
inline constexpr int ScrollSize = 16;
inline constexpr int MinThumb = 10;
inline constexpr int HorizontalStep = 15;
inline constexpr int MaxDragWidth = 510;
inline constexpr int MinDragOffset = 5;

/// Cell-area height V and width Vw of a control of width w, height h.
inline int cellAreaHeight(int h) {
    return h - HeaderHeight - ScrollSize;
}
inline int cellAreaWidth(int w, int strip) {
    return w - ScrollSize - strip;
}
inline int contentHeight(int listCount) {
    return RowPixels * listCount;
}

/// The rows one column surface draws for a scroll offset: rows first..last at
/// y = (r - first) * RowPixels on a surface placed at `surfaceTop` in the cell area.
struct RowRange {
    int first = 0;
    int last = 0;
    int surfaceTop = 0;
    int surfaceHeight = 0;

    friend bool operator==(const RowRange&, const RowRange&) = default;
};
RowRange visibleRows(int topOffset, int areaHeight, int listCount);

/// Left edge of every column (index 0 = column 1) under the one-pixel-gap rule, and the
/// content width: the sum of (width + 1).
std::vector<int> columnLefts(const std::vector<int>& widths);
int contentWidth(const std::vector<int>& widths);

/// Digits of the row count, and the strip width for a "_" of `underscoreWidth` pixels.
int decimalDigits(int value);
int numberStripWidth(int underscoreWidth, int rowCount);

/// A thumb along its track: `pos` is its top (vertical) or left (horizontal) in track
/// coordinates, `length` its height or width.
struct Thumb {
    bool visible = false;
    int pos = 0;
    int length = 0;

    friend bool operator==(const Thumb&, const Thumb&) = default;
};
Thumb verticalThumb(int V, int C, int topOffset);
Thumb horizontalThumb(int W, int strip, int Cw, int L);

/// The scroll position for a thumb dragged to `thumbPos` (clamped here to the track).
struct ThumbDrag {
    int thumbPos = 0;
    int scroll = 0;
};
ThumbDrag dragVertical(int wantedTop, int thumbHeight, int V, int C, int currentOffset);
ThumbDrag dragHorizontal(int wantedLeft, int thumbWidth, int W, int strip, int Cw, int currentL);

/// The grab offset of a press on a track at `p`: inside the thumb where it was hit, outside
/// it the thumb's middle.
int grabOffset(int p, int thumbPos, int thumbLength);

/// One arrow step, or nothing when already at that end.
std::optional<int> stepUp(int topOffset);
std::optional<int> stepDown(int V, int C, int topOffset);
std::optional<int> stepLeft(int strip, int L);
std::optional<int> stepRight(int W, int strip, int Cw, int L);

/// The offset that keeps rows from ending above the bottom of the area (and 0 when all fit).
int clampTopOffset(int V, int C, int topOffset);
/// The left that keeps columns from ending left of the area's right edge (flush left when
/// everything fits).
int clampLeft(int W, int strip, int Cw, int L);

/// The offset that brings `row` fully into view, or nothing when it already is.
std::optional<int> topOffsetToShowRow(int V, int topOffset, int row);
/// The left that brings a column (left `colLeft`, width `colWidth`) into view, or nothing.
std::optional<int> leftToShowColumn(int W, int strip, int L, int colLeft, int colWidth);

/// The column under a press at control x: the last column for anything right of it.
int columnAt(int x, int L, const std::vector<int>& lefts, const std::vector<int>& widths);
/// The row under a press at control y (may be 0 or beyond the last row).
int rowAt(int y, int topOffset);
/// The highest column whose boundary (the gap after it) lies within one pixel of x; 0 if none.
int boundaryAt(int x, int L, const std::vector<int>& lefts, const std::vector<int>& widths);

/// The splitter bar's left for a drag of column j (left `colLeft`) to `wantedLeft`, and the
/// width a bar at `barLeft` stands for.
int splitterLeft(int wantedLeft, int colLeft, int L);
int splitterWidth(int barLeft, int colLeft, int L);

} // namespace GridGeometry
