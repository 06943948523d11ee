#pragma once

// Twips to pixels, for every view. The screens are designed at 15 twips a pixel; one zoom
// factor makes them larger or smaller (Fitting.h says which), so that the desktop window and
// the browser page put every control on the same pixel.

#include <algorithm>
#include <cmath>

namespace forms {

constexpr int kTwipsPerPixel = 15;

class Zoom {
  public:
    constexpr explicit Zoom(double factor = 1.0) : factor_(factor) {}

    constexpr double factor() const { return factor_; }

    int px(int twips) const {
        return static_cast<int>(std::lround(twips * factor_ / kTwipsPerPixel));
    }
    // A pen or a border given in design pixels.
    constexpr double pen(int pixels) const { return pixels * factor_; }
    // A font size in points as whole pixels, at 96 pixels an inch.
    int fontPixels(double points) const {
        return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0 * factor_)));
    }
    // A length on the screen in twips of the design, never less than it covers.
    int twips(double pixels) const {
        return static_cast<int>(std::ceil(pixels * kTwipsPerPixel / factor_ - 1e-9));
    }

    friend constexpr bool operator==(Zoom, Zoom) = default;

  private:
    double factor_;
};

} // namespace forms
