#include "web/WebServices.h"

#include "forms/Message.h"

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

// The names the page's style sheet draws each icon by.
constexpr const char* kIcons[] = {"", "critical", "question", "warning", "information"};

void WebMessageBox::show(const std::string& prompt, int style, const std::string& title,
                         std::function<void()> closed) {
    val dialog = document().call<val>("getElementById", std::string("message"));
    setAttribute(dialog, "data-icon", kIcons[static_cast<int>(forms::iconOf(style))]);
    dialog.call<val>("querySelector", std::string(".message-title")).set("textContent", title);
    dialog.call<val>("querySelector", std::string(".message-text")).set("textContent", prompt);
    dialog.call<val>("querySelector", std::string("button"))
        .set("textContent", std::string(forms::kMessageButton));
    closed_ = std::move(closed);
    dialog.call<void>("showModal");
    dialog.call<val>("querySelector", std::string("button")).call<void>("focus");
}

void WebMessageBox::dismiss() {
    if (!closed_) {
        return;
    }
    document().call<val>("getElementById", std::string("message")).call<void>("close");
    std::exchange(closed_, {})();
}

std::vector<std::uint32_t> pageChance() {
    return {static_cast<std::uint32_t>(emscripten_get_now() * 1000.0),
            static_cast<std::uint32_t>(emscripten_random() * 4294967296.0)};
}

} // namespace web
