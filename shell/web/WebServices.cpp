#include "web/WebServices.h"

#include <emscripten/emscripten.h>

#include <utility>

namespace web {

WebTextMetrics::WebTextMetrics(const forms::FittedScreen& screen)
    : screen_(screen),
      context_(makeDetached("canvas", "").call<val>("getContext", std::string("2d"))) {}

forms::Size WebTextMetrics::measure(const forms::Font& font, const std::string& text) const {
    const forms::Zoom zoom = screen_.zoom();
    context_.set("font", cssFont(font, zoom));
    const val metrics = context_.call<val>("measureText", text);
    const double width = metrics["width"].as<double>();
    return {zoom.twips(width), zoom.twips(lineHeight(metrics))};
}

// The font's own ascent and descent; a browser that does not tell them (Firefox before 116)
// gets those of the tallest letters and the deepest descenders instead.
double WebTextMetrics::lineHeight(const val& metrics) const {
    if (!metrics["fontBoundingBoxAscent"].isUndefined()) {
        return metrics["fontBoundingBoxAscent"].as<double>() +
               metrics["fontBoundingBoxDescent"].as<double>();
    }
    const val tallest = context_.call<val>("measureText", std::string("ÄÖÜÉgjpqy|"));
    return tallest["actualBoundingBoxAscent"].as<double>() +
           tallest["actualBoundingBoxDescent"].as<double>();
}

// The icon a message box style asks for: 16 stop, 32 question, 48 warning, 64 information.
constexpr std::pair<int, const char*> kIcons[] = {
    {16, "critical"},
    {32, "question"},
    {48, "warning"},
    {64, "information"},
};

void WebMessageBox::show(const std::string& prompt, int style, const std::string& title,
                         std::function<void()> closed) {
    val dialog = document().call<val>("getElementById", std::string("message"));
    std::string icon;
    for (const auto& [bits, name] : kIcons) {
        if ((style & 0x70) == bits) {
            icon = name;
        }
    }
    dialog.call<void>("setAttribute", std::string("data-icon"), icon);
    dialog.call<val>("querySelector", std::string(".message-title")).set("textContent", title);
    dialog.call<val>("querySelector", std::string(".message-text")).set("textContent", prompt);
    closed_ = std::move(closed);
    title_ = title;
    dialog.call<void>("showModal");
    dialog.call<val>("querySelector", std::string("button")).call<void>("focus");
}

void WebMessageBox::dismiss() {
    if (!closed_) {
        return;
    }
    document().call<val>("getElementById", std::string("message")).call<void>("close");
    title_.clear();
    std::exchange(closed_, {})();
}

WebRandom::WebRandom() {
    randomize();
}

float WebRandom::next() {
    // 24 random bits: every value is exact in a float and below 1.
    return static_cast<float>(generator_() >> 8) * 0x1p-24f;
}

// Seeded from the clock, and from the browser's generator so that two pages opened in the same
// millisecond still differ.
void WebRandom::randomize() {
    const auto clock = static_cast<std::uint32_t>(emscripten_get_now() * 1000.0);
    const auto chance = static_cast<std::uint32_t>(emscripten_random() * 4294967296.0);
    std::seed_seq seed{clock, chance};
    generator_.seed(seed);
}

} // namespace web
