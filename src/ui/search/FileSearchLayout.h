#pragma once

#include <optional>

/// The search window's measures and its layout rule on resize, free of widgets. Values are
/// twips, as the window's stored geometry is.
namespace FileSearchLayout {

/// The narrowest the window opens in search mode.
inline constexpr int MinimumSearchWidth = 4800;
/// The window's width, and the database window's left edge, when the list mode docks.
inline constexpr int DockedWidth = 3000;
/// Where the found-files list starts, below the drive row of the search mode.
inline constexpr int ListTop = 360;
inline constexpr int ListLeft = 120;
inline constexpr int ButtonWidth = 900;
inline constexpr int ButtonHeight = 345;
/// From the counters' row to FundFileNumber's (550 - 380 below the list).
inline constexpr int CounterRowStep = 170;

/// Where the rule puts things for a window of the given outer size. A size the rule computes
/// as negative (a window too small for it) is nothing: that step is skipped and the control
/// keeps the size it had, and the rows below the list follow the list's actual height.
struct Placement {
    std::optional<int> listWidth;
    std::optional<int> listHeight;
    /// Label2, FileNumber, Find and StopSearch.
    int countersTop = 0;
    int fundFileNumberTop = 0;
    int lastFoundFileTop = 0;
    std::optional<int> lastFoundFileWidth;
    int findLeft = 0;
    int stopSearchLeft = 0;

    friend bool operator==(const Placement&, const Placement&) = default;
};

/// The list fills the window but for 300 twips of width and 1,800 of height; the counters and
/// buttons follow its bottom, the buttons keep to the right edge.
Placement reposition(int windowWidth, int windowHeight, int currentListHeight);

} // namespace FileSearchLayout
