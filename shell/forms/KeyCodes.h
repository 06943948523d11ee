#pragma once

// The codes a key press carries to a box's KeyPress handler, where it is not the character.

namespace forms {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kComma = ',';
constexpr int kDelete = 127;

} // namespace forms
