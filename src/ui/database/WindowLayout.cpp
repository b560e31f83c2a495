#include "ui/database/WindowLayout.h"

namespace WindowLayout {
namespace {

std::optional<int> unlessNegative(int size) {
    return size >= 0 ? std::optional<int>(size) : std::nullopt;
}

} // namespace

Placement reposition(const Input& input) {
    const bool bars = input.toolbarVisible || input.editBarVisible;
    Placement placement;
    placement.gridTop = bars ? BarRowHeight : 0;
    if (input.findPanelVisible) {
        placement.findPanelTop = placement.gridTop;
        placement.gridTop += FindPanelHeight;
    }
    placement.gridWidth = unlessNegative(input.clientWidth - Margin);
    placement.gridHeight = unlessNegative(input.clientHeight - placement.gridTop - Margin);
    placement.toolbarWidth = placement.gridWidth;
    if (input.editBarVisible && !input.toolbarVisible) {
        placement.editBarLeft = 0;
        placement.editBarWidth = placement.gridWidth;
    } else {
        placement.editBarLeft = EditBarLeftOnToolbar;
        placement.editBarWidth = unlessNegative(input.outerWidth - EditBarWidthAllowance);
    }
    return placement;
}

} // namespace WindowLayout
