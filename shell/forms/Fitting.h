#pragma once

// Which layout the screens take and how far they are zoomed, for every view alike. The screens
// are designed for a 1024 x 768 screen and have a small layout for 800 x 600; a view knows the
// area it has (a window's share of the screen, a page's viewport), and the rule picks the layout
// and factor that show everything as large as it can while every control lies inside.

#include "forms/Services.h"
#include "forms/Zoom.h"

#include <optional>

namespace forms {

enum class Layout { Normal, Small };

// A screen at most this wide, in twips, takes the small layout.
constexpr int kSmallScreenWidth = 12000; // 800 pixels

constexpr Layout layoutFor(int screenWidthTwips) {
    return screenWidthTwips <= kSmallScreenWidth ? Layout::Small : Layout::Normal;
}

// The part of a maximized window that every screen of a layout keeps its controls in, in twips:
// a 1024 x 768 or an 800 x 600 screen without its title bar and panel.
struct LayoutArea {
    int width;
    int height;
};
constexpr LayoutArea kNormalArea{15360, 10650}; // 1024 x 710 pixels
constexpr LayoutArea kSmallArea{12000, 8190};   // 800 x 546 pixels

constexpr LayoutArea areaOf(Layout layout) {
    return layout == Layout::Small ? kSmallArea : kNormalArea;
}

// Below this factor the small layout's smallest text is hard to read: an upright phone is
// better turned.
constexpr double kSmallestReadable = 0.6;

struct Fitting {
    Layout layout = Layout::Normal;
    Zoom zoom;
    int screenWidth = kNormalArea.width; // what the screens see as Screen.Width, in twips
    Size client;                         // a maximized window's inner size, in twips
    bool turn = false; // too small to read upright; the device turned, it would be larger

    friend bool operator==(const Fitting&, const Fitting&) = default;
};

// The best layout for an area of width x height pixels: the normal one where it fits unshrunk,
// else the small one, shrunk only where it does not fit either.
Fitting fit(double width, double height);
// A screen already laid out keeps its layout, zoomed to fit the area.
Fitting fit(Layout layout, double width, double height);
// A zoom chosen by hand: the layout follows the width, as on a screen of that size.
Fitting fixedZoom(double factor, double width, double height);

// The screen as the rule shows it, for a view to hand to the runtime: the view tells it the
// area it has; a form being activated lays itself out for the best layout, and from then on
// the screens are zoomed to fit that layout, also when the area changes, until the next
// activation takes the layout that is best by then.
class FittedScreen : public ScreenService {
  public:
    // With a factor, every area is shown at that zoom.
    explicit FittedScreen(std::optional<double> factor = {});

    // The area the view has, in pixels; true when the zoom the screens are shown at changed.
    bool setArea(double width, double height);
    double width() const { return width_; }
    double height() const { return height_; }
    Zoom zoom() const { return shown_.zoom; }
    Layout layout() const { return shown_.layout; }
    // The best layout for the area is too small to read, and turning the device would help.
    bool asksToTurn() const { return best_.turn; }

    int widthTwips() const override { return best_.screenWidth; }
    Size clientSizeTwips() const override { return shown_.client; }
    void laidOut(int widthTwips) override;

  private:
    Fitting fitted(Layout layout) const;

    std::optional<double> factor_;
    double width_ = kNormalArea.width / kTwipsPerPixel;
    double height_ = kNormalArea.height / kTwipsPerPixel;
    Fitting best_;
    Fitting shown_;
};

} // namespace forms
