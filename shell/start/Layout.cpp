#include "start/Layout.h"

namespace zifferix {

ScreenLayout::ScreenLayout(std::vector<Place> places, std::vector<Ends> lines,
                           std::vector<FontSize> fonts)
    : places_(std::move(places)), lines_(std::move(lines)), fonts_(std::move(fonts)) {
    apply(false);
}

void ScreenLayout::fit(int screenWidth) {
    const bool small = layout::isSmall(screenWidth);
    if (small != small_) {
        apply(small);
    }
}

void ScreenLayout::restore() {
    if (small_) {
        apply(false);
    }
}

void ScreenLayout::apply(bool small) {
    for (const Place& p : places_) {
        p.control.get().Move(small ? p.small : p.design);
    }
    for (const Ends& e : lines_) {
        e.line.get().set(small ? e.small : e.design);
    }
    for (const FontSize& f : fonts_) {
        f.control.get().Font.Size = small ? f.small : f.design;
    }
    small_ = small;
}

} // namespace zifferix
