#pragma once

// Twips to device-independent pixels for Qt: the zoom every view shares, and Qt's high-DPI
// scaling on top, so that text and pictures stay sharp.

#include "forms/Color.h"
#include "forms/Zoom.h"

#include <QColor>
#include <QRect>
#include <QSize>

namespace view {

using forms::kTwipsPerPixel;

class Scale {
  public:
    explicit Scale(double zoom = 1.0) : zoom_(zoom) {}

    double zoom() const { return zoom_.factor(); }

    int px(int twips) const { return zoom_.px(twips); }
    // Edges are rounded, not sizes, so that neighbouring controls never leave a gap.
    QRect rect(int left, int top, int width, int height) const {
        const int x = px(left);
        const int y = px(top);
        return {x, y, px(left + width) - x, px(top + height) - y};
    }
    double pen(int pixels) const { return zoom_.pen(pixels); }
    int twips(int pixels) const { return zoom_.twips(pixels); }

  private:
    forms::Zoom zoom_;
};

inline QColor qcolor(forms::Color c) {
    return {forms::red(c), forms::green(c), forms::blue(c)};
}

} // namespace view
