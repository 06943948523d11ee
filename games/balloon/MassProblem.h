#pragma once

// The conversions of the balloon ride: a mass in one unit, to be written in another.

#include "forms/Basic.h"
#include "start/Conversion.h"

#include <array>
#include <functional>
#include <string_view>

namespace zifferix {

struct MassUnit {
    int code;
    std::string_view text;
    int power; // one unit weighs 10^power grams
    UnitWords words;
};

constexpr std::array<MassUnit, 4> kMassUnits{{
    {1, "g", 0, {"Gramm", "Gramm"}},
    {2, "dag", 1, {"Dekagramm", "Dekagramm"}},
    {3, "kg", 3, {"Kilogramm", "Kilogramm"}},
    {4, "t", 6, {"Tonne", "Tonnen"}},
}};

constexpr const MassUnit& massUnit(int code) {
    return kMassUnits[static_cast<std::size_t>(code - 1)];
}

struct MassProblem {
    int VonEinheit = 1;  // unit of the given number
    int NachEinheit = 2; // unit of the answer, never the same
    int Kommastellen = 0;
    forms::Single Mantisse = 0;
    forms::Double Zahl = 0; // the given number

    // The answer in double precision: kg to g multiplies by 1000, g to t by 0.000001.
    forms::Double expected() const;
};

// Draws the units and the number for a level (1 leicht, 2 normal, 3 voll schwer) from the
// given random source, in the order the drawing rules fix.
MassProblem drawMassProblem(int level, const std::function<forms::Single()>& Rnd);

} // namespace zifferix
