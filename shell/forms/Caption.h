#pragma once

// A button's or an option's caption: "&" marks the letter that Alt presses it with, "&&" is a
// plain "&". Every view shows it, and the runtime finds a button by it.

#include <string>
#include <string_view>

namespace forms {

struct Caption {
    std::string text;                   // as shown and spoken, without the marks
    std::size_t at = std::string::npos; // where the marked letter begins in text
    std::size_t length = 0;             // its bytes
    char32_t letter = 0;                // lower case; 0 when none is marked
};

Caption readCaption(std::string_view caption);

// Lower case for the letters a German caption can mark: ASCII and Latin-1.
constexpr char32_t lowerLetter(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ? c + 32 : c;
}

} // namespace forms
