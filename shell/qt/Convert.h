#pragma once

// The runtime's values as Qt takes them: whole-pixel rectangles and colours. Qt's high-DPI
// scaling lies on top of the zoom, so that text and pictures stay sharp.

#include "forms/Color.h"
#include "forms/Geometry.h"

#include <QColor>
#include <QRect>

namespace qt {

inline QRect qrect(const forms::PixelRect& r) {
    return {r.left, r.top, r.width, r.height};
}

inline QColor qcolor(forms::Color c) {
    return {forms::red(c), forms::green(c), forms::blue(c)};
}

} // namespace qt
