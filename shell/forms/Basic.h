#pragma once

// The small set of number types and conversions the screens are written with.
// Numbers shown to a child never use scientific notation.

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace forms {

using Integer = std::int16_t; // counters and points
using Single = float;         // drawn numbers and typed answers
using Double = double;        // expectations and sums

// Rounds down, so Int(Rnd() * n) + k is a whole number from k to k + n - 1.
inline Single Int(Single v) {
    return std::floor(v);
}
inline Double Int(Double v) {
    return std::floor(v);
}
constexpr int Int(int v) {
    return v;
}

// A single compared with a double: the double is rounded to single first, so that 3 cm typed
// as 0,3 dm equals 3 x 0.1 worked out in double.
constexpr bool SingleEquals(Single single, Double value) {
    return single == static_cast<Single>(value);
}

// The leading number of a text, with a point as decimal sign; 0 if there is none.
// Blanks, tabs and line feeds between the digits are skipped.
Double Val(std::string_view text);

// A number with a leading blank when it is not negative and a decimal point.
std::string Str(Double v);
std::string Str(Single v);
std::string Str(int v);

// A number without a leading blank and with the German decimal comma.
// Singles keep 7 significant digits, doubles 15.
std::string CStr(Double v);
std::string CStr(Single v);
std::string CStr(int v);

// A typed number with the German decimal comma ("2,5") as a single, rounded once from the
// decimal text. Nothing when the text is not a number, such as a lone comma or a value beyond
// the range of a single.
std::optional<Single> CSng(std::string_view text);

} // namespace forms
