#include "forms/Contrast.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace forms {
namespace {

double channel(int value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// The colour a part t of the way towards another.
Color mixed(Color from, Color to, double t) {
    const auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return rgb(mix(red(from), red(to)), mix(green(from), green(to)), mix(blue(from), blue(to)));
}

constexpr int kSteps = 64;

// The nearest colour on the way from c to the end that stands out against back by ratio.
std::optional<Color> towards(Color c, Color end, Color back, double ratio) {
    for (int step = 0; step <= kSteps; ++step) {
        const Color tried = mixed(c, end, static_cast<double>(step) / kSteps);
        if (contrastRatio(tried, back) >= ratio) {
            return tried;
        }
    }
    return std::nullopt;
}

int distance(Color a, Color b) {
    return std::abs(red(a) - red(b)) + std::abs(green(a) - green(b)) + std::abs(blue(a) - blue(b));
}

} // namespace

double luminance(Color c) {
    return 0.2126 * channel(red(c)) + 0.7152 * channel(green(c)) + 0.0722 * channel(blue(c));
}

double contrastRatio(Color a, Color b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Color strongBackground(Color back) {
    constexpr double kStrong = 7.0;
    const bool darkText = contrastRatio(back, colors::Black) >= contrastRatio(back, colors::White);
    if (std::max(contrastRatio(back, colors::Black), contrastRatio(back, colors::White)) >=
        kStrong) {
        return back;
    }
    // Away from the text that suits it best: lighter behind black, darker behind white.
    const Color text = darkText ? colors::Black : colors::White;
    const Color away = darkText ? colors::White : colors::Black;
    return towards(back, away, text, kStrong).value_or(away);
}

Color standingOut(Color fore, Color back, double ratio) {
    if (contrastRatio(fore, back) >= ratio) {
        return fore;
    }
    const std::optional<Color> darker = towards(fore, colors::Black, back, ratio);
    const std::optional<Color> lighter = towards(fore, colors::White, back, ratio);
    if (darker && lighter) {
        return distance(fore, *darker) <= distance(fore, *lighter) ? *darker : *lighter;
    }
    return darker ? *darker : lighter.value_or(edgeAgainst(back));
}

Color edgeAgainst(Color back) {
    return contrastRatio(colors::Black, back) >= contrastRatio(colors::White, back) ? colors::Black
                                                                                    : colors::White;
}

} // namespace forms
