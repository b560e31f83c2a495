#pragma once

#include <cmath>

/// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4), the
/// rounding every layout formula of the grid and its controls uses.
inline int roundHalfEven(double value) {
    return int(std::nearbyint(value));
}
