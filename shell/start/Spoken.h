#pragma once

// The words the games say to a screen reader, read as a child reads the screen: numbers as
// they stand in the labels, fractions in words, a count with its noun.

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

namespace zifferix::spoken {

// Up to ten, as the glass game draws its parts: "drei Viertel".
inline constexpr std::array<std::string_view, 11> kNumerals{
    "null", "ein", "zwei", "drei", "vier", "fünf", "sechs", "sieben", "acht", "neun", "zehn"};
inline constexpr std::array<std::string_view, 11> kParts{
    "",         "Eintel",  "Halb",   "Drittel", "Viertel", "Fünftel",
    "Sechstel", "Siebtel", "Achtel", "Neuntel", "Zehntel"};

// A number as a label shows it, without the blank Str puts before it: "345,6", "-5".
std::string number(std::string_view shown);
// A whole number and its noun: "1 Sekunde", "5 Sekunden".
std::string count(int n, std::string_view one, std::string_view many);
// A fraction in words: "ein Halb", "drei Viertel", "sieben Eintel"; one beyond tenths, which no
// game draws, in digits: "11 durch 12".
std::string fraction(int numerator, int denominator);
// a, b and c of a + b = c + ?: "12 plus 5 ist gleich 9 plus wie viel?"
std::string missingSummand(std::string_view a, std::string_view b, std::string_view c);
// Signed numbers in a row, each added or taken away: "12 minus 5 plus 7", "minus 3 plus 8".
std::string signedSum(std::initializer_list<std::string_view> numbers);

} // namespace zifferix::spoken
