#pragma once

// What the two unit-conversion games draw alike: a pair of different units, and the number to
// convert, by rules that differ only in their values.

#include "forms/Basic.h"

#include <functional>
#include <string>
#include <string_view>

namespace zifferix {

using Draw = std::function<forms::Single()>;

// How a unit is spoken: "1 Tonne", "2 Tonnen".
struct UnitWords {
    std::string_view one;
    std::string_view many;
};

// "345,6 Zentimeter sind wie viel Meter?": the number as its label shows it, in its unit, asked
// in another.
std::string conversionQuestion(std::string_view shown, UnitWords from, UnitWords to);

struct UnitPair {
    int from = 1; // unit codes, 1 the smallest
    int to = 2;
};

// Draws two units from 1 .. count until the pair is accepted.
UnitPair drawUnits(int count, const Draw& Rnd, bool (*accept)(UnitPair));
bool neighbours(UnitPair units);
bool different(UnitPair units);
bool oneOrTwoApart(UnitPair units);

// How the decimal places and the mantissa are drawn, and the range the number must lie in
// (open at both ends); a rule without a range is drawn once.
struct NumberRule {
    int placesCount; // places = Int(Rnd * placesCount) + placesFrom; 0 draws nothing
    int placesFrom;
    int mantissaCount; // Mantisse = Int(Rnd * mantissaCount) + mantissaFrom
    int mantissaFrom;
    bool bounded;
    forms::Double above;
    forms::Double below;
};

struct DrawnNumber {
    int places = 0;
    forms::Single mantissa = 0;
    forms::Double value = 0; // mantissa x 10^-places
};

DrawnNumber drawNumber(const NumberRule& rule, const Draw& Rnd);

} // namespace zifferix
