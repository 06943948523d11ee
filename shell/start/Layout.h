#pragma once

// The two layouts of a screen: its design, and for screens of 800 pixels or less a small one
// that differs from it in a few places. A screen lists those places once, each with its design
// and its small value; the layout puts the design in place, takes the small layout on a small
// screen and goes back to the design, knowing which one is in force. Going back writes the exact
// design values, so that no number of games on a small screen lets a control drift by a twip.

#include "forms/Controls.h"
#include "forms/Fitting.h"

#include <functional>
#include <vector>

namespace zifferix {
namespace layout {

using forms::kSmallScreenWidth;
constexpr double kX = 0.7795276;
constexpr double kY = 0.7711172;

constexpr bool isSmall(int screenWidth) {
    return forms::layoutFor(screenWidth) == forms::Layout::Small;
}

// Whole twips, as every position is: the nearest, a half away from zero.
constexpr int twips(double v) {
    return v < 0 ? -static_cast<int>(-v + 0.5) : static_cast<int>(v + 0.5);
}
constexpr int scaleX(int v) {
    return twips(v * kX);
}
constexpr int scaleY(int v) {
    return twips(v * kY);
}

// How a place shrinks: its edges scaled and moved by an offset, its size scaled, each or not.
struct Shrink {
    bool left = true;
    bool top = true;
    bool size = true;
    int dx = 0;
    int dy = 0;
};
constexpr forms::Placement shrunk(forms::Placement p, Shrink how = {}) {
    return {how.left ? twips(p.Left * kX + how.dx) : p.Left,
            how.top ? twips(p.Top * kY + how.dy) : p.Top, how.size ? scaleX(p.Width) : p.Width,
            how.size ? scaleY(p.Height) : p.Height};
}
constexpr forms::Segment shrunk(forms::Segment s) {
    return {scaleX(s.X1), scaleY(s.Y1), scaleX(s.X2), scaleY(s.Y2)};
}

} // namespace layout

class ScreenLayout {
  public:
    // Where a control lies, where a line runs, and how large a control's font is, in the
    // design and in the small layout.
    struct Place {
        std::reference_wrapper<forms::Control> control;
        forms::Placement design;
        forms::Placement small;
    };
    struct Ends {
        std::reference_wrapper<forms::Line> line;
        forms::Segment design;
        forms::Segment small;
    };
    struct FontSize {
        std::reference_wrapper<forms::Control> control;
        double design;
        double small;
    };

    ScreenLayout() = default;
    // Puts every listed control at its design place.
    explicit ScreenLayout(std::vector<Place> places, std::vector<Ends> lines = {},
                          std::vector<FontSize> fonts = {});

    // The layout that suits a screen of this width: the small one at 800 pixels or less.
    void fit(int screenWidth);
    // Back to the design, where the small layout is in force.
    void restore();
    bool small() const { return small_; }

  private:
    void apply(bool small);

    std::vector<Place> places_;
    std::vector<Ends> lines_;
    std::vector<FontSize> fonts_;
    bool small_ = false;
};

} // namespace zifferix
