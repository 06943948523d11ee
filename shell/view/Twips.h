#pragma once

// Twips to device-independent pixels. The screens are designed for 1024 x 768 pixels at 15
// twips a pixel; on a larger screen everything grows by one zoom factor, and Qt's high-DPI
// scaling comes on top, so that text and pictures stay sharp.

#include "Color.h"

#include <QColor>
#include <QRect>
#include <QSize>

#include <cmath>

namespace view {

constexpr int kTwipsPerPixel = 15;

class Scale {
  public:
    explicit Scale(double zoom = 1.0) : zoom_(zoom) {}

    double zoom() const { return zoom_; }

    int px(int twips) const {
        return static_cast<int>(std::lround(twips * zoom_ / kTwipsPerPixel));
    }
    // Edges are rounded, not sizes, so that neighbouring controls never leave a gap.
    QRect rect(int left, int top, int width, int height) const {
        const int x = px(left);
        const int y = px(top);
        return {x, y, px(left + width) - x, px(top + height) - y};
    }
    // A pen or a border given in design pixels.
    double pen(int pixels) const { return pixels * zoom_; }
    // A length on the screen in twips of the design, never less than it covers.
    int twips(int pixels) const {
        return static_cast<int>(std::ceil(pixels * kTwipsPerPixel / zoom_ - 1e-9));
    }

    // The zoom for a screen of this size in device-independent pixels: the design grows to
    // fill it as far as both sides allow, and never shrinks.
    static double fitting(QSize screen) {
        return std::max(1.0, std::min(screen.width() / 1024.0, screen.height() / 768.0));
    }

  private:
    double zoom_;
};

inline QColor qcolor(forms::Color c) {
    return {forms::red(c), forms::green(c), forms::blue(c)};
}

} // namespace view
