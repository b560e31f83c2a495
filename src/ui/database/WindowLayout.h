#pragma once

#include "platform/Twips.h"

#include <optional>

/// The database window's layout rule (Reposition), free of widgets. Values are twips, as the
/// window's geometry is; the window converts them at 15 twips per pixel.
namespace WindowLayout {

/// The row the toolbar and the edit bar share, above the grid.
inline constexpr int BarRowHeight = 360;
/// How far the open find panel pushes the grid down.
inline constexpr int FindPanelHeight = 600;
/// The gap kept right of and below the grid.
inline constexpr int Margin = 100;
/// The edit bar's place on the toolbar's row, right of the buttons.
inline constexpr int EditBarLeftOnToolbar = 4680;
inline constexpr int EditBarWidthAllowance = 4870;

struct Input {
    int clientWidth = 0;
    int clientHeight = 0;
    /// The window's full width, border included.
    int outerWidth = 0;
    bool toolbarVisible = true;
    bool editBarVisible = true;
    bool findPanelVisible = false;
};

/// Where the rule puts things. A size the rule computes as negative (a minimised window) is
/// nothing: that step is skipped and the control keeps the size it had.
struct Placement {
    int gridTop = 0;
    std::optional<int> gridWidth;
    std::optional<int> gridHeight;
    std::optional<int> toolbarWidth;
    int editBarLeft = 0;
    std::optional<int> editBarWidth;
    int findPanelTop = 0;

    friend bool operator==(const Placement&, const Placement&) = default;
};

/// The grid sits below the bar row when either bar is shown, and below the find panel when it
/// is open; it fills the client area but for the margin. The edit bar shares the toolbar's
/// row right of the buttons, or takes the grid's left edge and width when the toolbar is
/// hidden. With the find panel open the grid is shortened by the panel's height, so its
/// bottom rows and scroll bar stay inside the window.
Placement reposition(const Input& input);

using Twips::toPixels;
inline int toTwips(int pixels) {
    return Twips::fromPixels(pixels);
}

} // namespace WindowLayout
