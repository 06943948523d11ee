#pragma once

// Twips to logical pixels: 15 per pixel; Qt's high-DPI scaling does the rest.

#include "Color.h"

#include <QColor>
#include <QRect>

#include <cmath>

namespace view {

constexpr int kTwipsPerPixel = 15;

inline int px(int twips) {
    return static_cast<int>(std::lround(twips / double(kTwipsPerPixel)));
}

// Edges are rounded, not sizes, so that neighbouring controls never leave a gap.
inline QRect pxRect(int left, int top, int width, int height) {
    const int x = px(left);
    const int y = px(top);
    return {x, y, px(left + width) - x, px(top + height) - y};
}

inline QColor qcolor(forms::Color c) {
    return {forms::red(c), forms::green(c), forms::blue(c)};
}

} // namespace view
