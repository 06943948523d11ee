#include "web/Dom.h"

#include <cmath>
#include <cstdio>

namespace web {

val document() {
    return val::global("document");
}

val makeDetached(const char* tag, const char* className) {
    val node = document().call<val>("createElement", std::string(tag));
    if (*className != '\0') {
        node.set("className", std::string(className));
    }
    return node;
}

val make(const char* tag, const val& parent, const char* className) {
    val node = makeDetached(tag, className);
    parent.call<void>("appendChild", node);
    return node;
}

val makeSvg(const char* tag, const val& parent) {
    val node = document().call<val>("createElementNS", std::string("http://www.w3.org/2000/svg"),
                                    std::string(tag));
    parent.call<void>("appendChild", node);
    return node;
}

void setText(val node, const std::string& text) {
    node.set("textContent", text);
}

void setAttribute(const val& node, const char* name, const std::string& value) {
    node.call<void>("setAttribute", std::string(name), value);
}

std::string pixels(double px) {
    char text[32];
    if (px == std::floor(px)) {
        std::snprintf(text, sizeof text, "%dpx", static_cast<int>(px));
    } else {
        std::snprintf(text, sizeof text, "%.3fpx", px);
    }
    return text;
}

std::string cssColour(forms::Color c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", forms::red(c), forms::green(c),
                  forms::blue(c));
    return text;
}

// "MS Sans Serif" is drawn in the page's "Arial", Liberation Sans, as on the desktop: the page has
// one face for each font file, since a browser may fetch a file twice for two faces of it.
std::string cssFont(const forms::Font& font, forms::Zoom zoom) {
    const std::string family = font.Name == "MS Sans Serif" ? "Arial" : font.Name;
    return std::string(font.Bold ? "bold " : "") + std::to_string(zoom.fontPixels(font.Size)) +
           "px \"" + family + "\", \"Arial\", sans-serif";
}

} // namespace web
