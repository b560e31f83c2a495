#include "ui/search/FileSearchLayout.h"

namespace FileSearchLayout {
namespace {

std::optional<int> unlessNegative(int size) {
    return size >= 0 ? std::optional<int>(size) : std::nullopt;
}

} // namespace

Placement reposition(int windowWidth, int windowHeight, int currentListHeight) {
    Placement placement;
    placement.listWidth = unlessNegative(windowWidth - 300);
    placement.listHeight = unlessNegative(windowHeight - 1800);
    const int listHeight = placement.listHeight.value_or(currentListHeight);
    placement.countersTop = listHeight + 380;
    placement.fundFileNumberTop = listHeight + 550;
    placement.lastFoundFileTop = listHeight + 800;
    placement.lastFoundFileWidth = unlessNegative(windowWidth - 300);
    placement.findLeft = windowWidth - 2000;
    placement.stopSearchLeft = windowWidth - 1050;
    return placement;
}

} // namespace FileSearchLayout
