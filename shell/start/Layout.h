#pragma once

// The small layout for screens of 800 pixels or less: each screen moves and scales chosen
// controls when it is activated and puts the design values back before it is left.

#include "forms/Fitting.h"

#include <cmath>

namespace zifferix::layout {

using forms::kSmallScreenWidth;
constexpr double kX = 0.7795276;
constexpr double kY = 0.7711172;

constexpr bool isSmall(int screenWidth) {
    return forms::layoutFor(screenWidth) == forms::Layout::Small;
}

// Whole twips, as every position is.
inline int twips(double v) {
    return static_cast<int>(std::lround(v));
}
inline int scaleX(int v) {
    return twips(v * kX);
}
inline int scaleY(int v) {
    return twips(v * kY);
}

} // namespace zifferix::layout
