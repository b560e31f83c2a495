#include "gridview/GridGeometry.h"

#include "gridview/Rounding.h"

#include <cmath>

namespace GridGeometry {

RowRange visibleRows(int topOffset, int areaHeight, int listCount) {
    RowRange r;
    r.first = roundHalfEven(-static_cast<double>(topOffset) / RowPixels);
    r.surfaceTop = (r.first - 1) * RowPixels + topOffset;
    r.surfaceHeight = areaHeight - r.surfaceTop;
    r.last = roundHalfEven(static_cast<double>(areaHeight) / RowPixels + 2 + r.first);
    if (listCount < r.last) {
        r.last = listCount;
    }
    return r;
}

std::vector<int> columnLefts(const std::vector<int>& widths) {
    std::vector<int> lefts(widths.size());
    int left = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        lefts[i] = left;
        left += widths[i] + 1;
    }
    return lefts;
}

int contentWidth(const std::vector<int>& widths) {
    int sum = 0;
    for (int w : widths) {
        sum += w + 1;
    }
    return sum;
}

int decimalDigits(int value) {
    int digits = 1;
    for (long long v = value < 0 ? -static_cast<long long>(value) : value; v >= 10; v /= 10) {
        ++digits;
    }
    return digits;
}

int numberStripWidth(int underscoreWidth, int rowCount) {
    return (underscoreWidth + 1) * decimalDigits(rowCount) + 2;
}

Thumb verticalThumb(int V, int C, int topOffset) {
    if (V >= C) {
        return {};
    }
    const int track = V - 2 * ScrollSize;
    int length = roundHalfEven(static_cast<double>(track) * V / C);
    if (length < MinThumb) {
        length = MinThumb;
    }
    const int pos = roundHalfEven(ScrollSize + static_cast<double>(track - length) * topOffset /
                                                   static_cast<double>(V - C));
    return {true, pos, length};
}

Thumb horizontalThumb(int W, int strip, int Cw, int L) {
    const int Vw = cellAreaWidth(W, strip);
    if (Vw >= Cw) {
        return {};
    }
    const int track = W - 3 * ScrollSize - strip;
    int length = roundHalfEven(static_cast<double>(track) * Vw / Cw);
    if (length < MinThumb) {
        length = MinThumb;
    }
    const int pos = roundHalfEven(
        ScrollSize +
        static_cast<double>(track - length) * (L - strip) / static_cast<double>(Vw - Cw) + strip);
    return {true, pos, length};
}

namespace {
// The VB-style limit: below the minimum takes the minimum, else above the maximum takes the
// maximum, so a track too short for its thumb pins the thumb to the track's start.
int limit(int wanted, int min, int max) {
    if (wanted < min) {
        return min;
    }
    if (wanted > max) {
        return max;
    }
    return wanted;
}
} // namespace

ThumbDrag dragVertical(int wantedTop, int thumbHeight, int V, int C, int currentOffset) {
    ThumbDrag d;
    d.thumbPos = limit(wantedTop, ScrollSize, V - ScrollSize - thumbHeight);
    const int room = V - 2 * ScrollSize - thumbHeight;
    // A control too small to move its thumb keeps the offset instead of dividing by zero.
    if (room <= 0) {
        d.scroll = currentOffset;
        return d;
    }
    d.scroll = roundHalfEven(static_cast<double>(d.thumbPos - ScrollSize) * (V - C) / room);
    return d;
}

ThumbDrag dragHorizontal(int wantedLeft, int thumbWidth, int W, int strip, int Cw, int currentL) {
    ThumbDrag d;
    d.thumbPos = limit(wantedLeft, ScrollSize + strip, W - 2 * ScrollSize - thumbWidth);
    const int track = W - 3 * ScrollSize - strip;
    const int room = track - thumbWidth;
    if (room <= 0) {
        d.scroll = currentL;
        return d;
    }
    const int Vw = cellAreaWidth(W, strip);
    d.scroll = roundHalfEven(
        static_cast<double>(d.thumbPos - ScrollSize - strip) * (Vw - Cw) / room + strip);
    return d;
}

int grabOffset(int p, int thumbPos, int thumbLength) {
    if (thumbPos <= p && p <= thumbPos + thumbLength) {
        return p - thumbPos;
    }
    return roundHalfEven(thumbLength / 2.0);
}

std::optional<int> stepUp(int topOffset) {
    if (topOffset >= 0) {
        return std::nullopt;
    }
    return topOffset < -RowPixels ? topOffset + RowPixels : 0;
}

std::optional<int> stepDown(int V, int C, int topOffset) {
    if (C <= V) {
        return std::nullopt;
    }
    if (V + RowPixels >= C + topOffset) {
        return V - C;
    }
    return topOffset - RowPixels;
}

std::optional<int> stepLeft(int strip, int L) {
    if (L >= strip) {
        return std::nullopt;
    }
    if (strip - HorizontalStep <= L) {
        return strip;
    }
    return L + HorizontalStep;
}

std::optional<int> stepRight(int W, int strip, int Cw, int L) {
    if (cellAreaWidth(W, strip) >= Cw) {
        return std::nullopt;
    }
    if (W - ScrollSize + HorizontalStep >= L + Cw) {
        return W - ScrollSize - Cw;
    }
    return L - HorizontalStep;
}

int clampTopOffset(int V, int C, int topOffset) {
    if (V >= C) {
        return 0;
    }
    if (V > topOffset + C) {
        return V - C;
    }
    return topOffset;
}

int clampLeft(int W, int strip, int Cw, int L) {
    if (cellAreaWidth(W, strip) >= Cw) {
        return strip;
    }
    if (W - ScrollSize - Cw > L) {
        return W - ScrollSize - Cw;
    }
    return L;
}

std::optional<int> topOffsetToShowRow(int V, int topOffset, int row) {
    const int top = RowPixels * (row - 1) + topOffset;
    if (top < 0) {
        return -RowPixels * (row - 1);
    }
    if (V >= RowPixels * row + topOffset) {
        return std::nullopt;
    }
    return V - RowPixels * row;
}

std::optional<int> leftToShowColumn(int W, int strip, int L, int colLeft, int colWidth) {
    if (L + colLeft < strip) {
        return strip - colLeft;
    }
    if (L + colLeft + colWidth > W - ScrollSize) {
        return W - ScrollSize - colLeft - colWidth;
    }
    return std::nullopt;
}

int columnAt(int x, int L, const std::vector<int>& lefts, const std::vector<int>& widths) {
    int column = 1;
    for (std::size_t j = 0; j + 1 < widths.size(); ++j) {
        if (L + lefts[j] + widths[j] < x) {
            ++column;
        }
    }
    return column;
}

int rowAt(int y, int topOffset) {
    return static_cast<int>(
               std::floor(static_cast<double>(y - HeaderHeight - topOffset) / RowPixels)) +
           1;
}

int boundaryAt(int x, int L, const std::vector<int>& lefts, const std::vector<int>& widths) {
    int found = 0;
    for (std::size_t j = 0; j < widths.size(); ++j) {
        const int boundary = L + lefts[j] + widths[j];
        if (boundary - 1 <= x && x <= boundary + 1) {
            found = static_cast<int>(j) + 1;
        }
    }
    return found;
}

int splitterLeft(int wantedLeft, int colLeft, int L) {
    const int min = colLeft + MinDragOffset + L;
    const int max = colLeft + MaxDragWidth + L;
    if (wantedLeft < min) {
        return min;
    }
    if (wantedLeft > max) {
        return max;
    }
    return wantedLeft;
}

int splitterWidth(int barLeft, int colLeft, int L) {
    return barLeft - L + 1 - colLeft;
}

} // namespace GridGeometry
