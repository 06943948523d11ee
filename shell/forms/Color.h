#pragma once

#include <cstdint>

namespace forms {

// 0x00BBGGRR: red in the low byte, blue in the high byte.
using Color = std::uint32_t;

constexpr int red(Color c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int green(Color c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blue(Color c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
constexpr Color rgb(int r, int g, int b) {
    return static_cast<Color>(r & 0xFF) | static_cast<Color>(g & 0xFF) << 8 |
           static_cast<Color>(b & 0xFF) << 16;
}

namespace colors {
constexpr Color Black = 0x000000;
constexpr Color White = 0xFFFFFF;
constexpr Color Red = 0x0000FF;
constexpr Color Green = 0x00FF00;
constexpr Color Yellow = 0x00FFFF;
constexpr Color Orange = 0x0080FF;
// The colours of controls that do not set their own.
constexpr Color ButtonFace = 0xF0F0F0;
constexpr Color WindowText = Black;
constexpr Color WindowBackground = White;
} // namespace colors

} // namespace forms
