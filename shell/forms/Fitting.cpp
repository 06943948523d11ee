#include "forms/Fitting.h"

#include <algorithm>

namespace forms {
namespace {

// However large or small the area, a zoom stays within what a screen can show.
constexpr double kLeastZoom = 0.25;
constexpr double kMostZoom = 8.0;

double factorFor(Layout layout, double width, double height) {
    const LayoutArea area = areaOf(layout);
    const double factor =
        std::min(width * kTwipsPerPixel / area.width, height * kTwipsPerPixel / area.height);
    return std::clamp(factor, kLeastZoom, kMostZoom);
}

Fitting fitting(Layout layout, double factor, double width, double height) {
    const Zoom zoom(factor);
    const Size client{zoom.twips(width), zoom.twips(height)};
    // The small layout was made for a screen 800 pixels wide, whatever lies to its right.
    const int screenWidth = layout == Layout::Small ? std::min(client.Width, kSmallScreenWidth)
                                                    : std::max(client.Width, kNormalArea.width);
    return {layout, zoom, screenWidth, client, false};
}

} // namespace

Fitting fit(Layout layout, double width, double height) {
    return fitting(layout, factorFor(layout, width, height), width, height);
}

Fitting fit(double width, double height) {
    width = std::max(width, 1.0);
    height = std::max(height, 1.0);
    if (factorFor(Layout::Normal, width, height) >= 1.0) {
        return fit(Layout::Normal, width, height);
    }
    Fitting small = fit(Layout::Small, width, height);
    small.turn = small.zoom.factor() < kSmallestReadable && height > width &&
                 factorFor(Layout::Small, height, width) > small.zoom.factor();
    return small;
}

Fitting fixedZoom(double factor, double width, double height) {
    const Zoom zoom(factor);
    const Layout layout = layoutFor(zoom.twips(width));
    Fitting fixed = fitting(layout, factor, width, height);
    fixed.screenWidth = zoom.twips(width);
    return fixed;
}

FittedScreen::FittedScreen(std::optional<double> factor) : factor_(factor) {
    setArea(width_, height_);
}

Fitting FittedScreen::fitted(Layout layout) const {
    if (factor_) {
        return fixedZoom(*factor_, width_, height_);
    }
    return fit(layout, width_, height_);
}

bool FittedScreen::setArea(double width, double height) {
    width_ = std::max(width, 1.0);
    height_ = std::max(height, 1.0);
    best_ = factor_ ? fixedZoom(*factor_, width_, height_) : fit(width_, height_);
    const Zoom before = shown_.zoom;
    shown_ = fitted(shown_.layout);
    return !(shown_.zoom == before);
}

void FittedScreen::laidOut(int widthTwips) {
    shown_ = fitted(layoutFor(widthTwips));
}

} // namespace forms
