#pragma once

// The page as C++ sees it: small helpers over emscripten::val for making and changing
// elements, and for writing the runtime's values in CSS.

#include "forms/Color.h"
#include "forms/Controls.h"
#include "forms/Zoom.h"

#include <emscripten/val.h>

#include <string>

namespace web {

using emscripten::val;

val document();
// A new element of the page, or of SVG, appended to parent.
val make(const char* tag, const val& parent, const char* className = "");
// A new element of the page that is not in it yet.
val makeDetached(const char* tag, const char* className);
val makeSvg(const char* tag, const val& parent);

void setText(val node, const std::string& text);
void setAttribute(const val& node, const char* name, const std::string& value);

// A twips value of the runtime as CSS.
std::string pixels(double px);
std::string cssColour(forms::Color c);
// The screens' font names are the page's own web fonts; the rest is a fallback while they load.
std::string cssFont(const forms::Font& font, forms::Zoom zoom);

} // namespace web
