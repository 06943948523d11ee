#pragma once

// The program's texts are UTF-8: what a view hands in, what a box holds, what a caption says.

#include <string>
#include <string_view>
#include <vector>

namespace forms::utf8 {

// The code points of a text; a sequence cut short at its end is left out.
std::vector<char32_t> codePoints(std::string_view text);
// The code point at a byte and how many bytes it takes; a broken sequence reads as 0.
char32_t decodeAt(std::string_view text, std::size_t at, std::size_t* length = nullptr);
void append(std::string& text, char32_t c);
std::size_t characterCount(std::string_view text);
void eraseLastCharacter(std::string& text);

} // namespace forms::utf8
