#pragma once

// The conversions of the mountain game: a length in one unit, to be written in another.

#include "forms/Basic.h"
#include "start/Conversion.h"

#include <array>
#include <functional>
#include <string_view>

namespace zifferix {

// One step of the code is a factor of ten, except that a kilometre is a thousand metres.
struct LengthUnit {
    int code;
    std::string_view text;
    int exponent;
    UnitWords words;
};

constexpr std::array<LengthUnit, 5> kLengthUnits{{
    {1, "mm", 1, {"Millimeter", "Millimeter"}},
    {2, "cm", 2, {"Zentimeter", "Zentimeter"}},
    {3, "dm", 3, {"Dezimeter", "Dezimeter"}},
    {4, "m", 4, {"Meter", "Meter"}},
    {5, "km", 7, {"Kilometer", "Kilometer"}},
}};

constexpr const LengthUnit& lengthUnit(int code) {
    return kLengthUnits[static_cast<std::size_t>(code - 1)];
}

struct LengthProblem {
    int VonEinheit = 2;  // unit of the given number
    int NachEinheit = 4; // unit of the answer, never the same
    forms::Single Kommastellen = 0;
    forms::Single Mantisse = 0;
    forms::Double Zahl = 0; // Mantisse x 10^-Kommastellen

    // The answer in double precision: 1 km is 1000 m, 1 mm is 0.001 m.
    forms::Double expected() const;
};

// Draws the units and the number for a level (1 leicht, 2 normal, 3 voll schwer) from the
// given random source, in the order the drawing rules fix.
LengthProblem drawLengthProblem(int level, const std::function<forms::Single()>& Rnd);

} // namespace zifferix
