#pragma once

// What a child may call itself in a class: a first name or a nickname of letters (with
// umlauts and the letters of other languages), blanks and hyphens, at most 24 characters.

#include <string>
#include <string_view>
#include <vector>

namespace zifferix::names {

constexpr std::size_t kLongestName = 24;

// Whether a character may stand in a name.
constexpr bool takes(char32_t c) {
    constexpr char32_t kTimes = 0xD7;
    constexpr char32_t kDivided = 0xF7;
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || c == U' ' || c == U'-' ||
           (c >= 0xC0 && c <= 0x24F && c != kTimes && c != kDivided)   // Latin
           || c == 0x386 || (c >= 0x388 && c <= 0x3CE)                 // Greek
           || (c >= 0x400 && c <= 0x481) || (c >= 0x48A && c <= 0x4FF) // Cyrillic
           || (c >= 0x1E00 && c <= 0x1EFF);                            // Latin Extended Additional
}

// A typed name as it is taken: without blanks at its ends or a second blank in a row, cut to
// the longest name; empty when nothing of it is a name's.
std::string taken(std::string_view typed);

// The teacher's spelling of a name in the list that is written the same but for the case of
// its letters ("mia" for "Mia"), else the name as it is.
std::string asListed(const std::string& name, const std::vector<std::string>& listed);

} // namespace zifferix::names
