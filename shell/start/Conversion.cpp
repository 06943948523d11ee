#include "start/Conversion.h"

#include "start/Spoken.h"

#include <cmath>
#include <cstdlib>

namespace zifferix {

std::string conversionQuestion(std::string_view shown, UnitWords from, UnitWords to) {
    const std::string number = spoken::number(shown);
    const bool one = number == "1";
    return number + " " + std::string(one ? from.one : from.many) + (one ? " ist" : " sind") +
           " wie viel " + std::string(to.many) + "?";
}

UnitPair drawUnits(int count, const Draw& Rnd, bool (*accept)(UnitPair)) {
    const auto unit = [&] {
        return static_cast<int>(forms::Int(Rnd() * static_cast<forms::Single>(count))) + 1;
    };
    UnitPair units;
    do {
        units.from = unit();
        units.to = unit();
    } while (!accept(units));
    return units;
}

bool neighbours(UnitPair units) {
    return std::abs(units.from - units.to) == 1;
}

bool different(UnitPair units) {
    return units.from != units.to;
}

bool oneOrTwoApart(UnitPair units) {
    const int apart = std::abs(units.from - units.to);
    return apart == 1 || apart == 2;
}

DrawnNumber drawNumber(const NumberRule& rule, const Draw& Rnd) {
    using forms::Int;
    using forms::Single;
    DrawnNumber n;
    do {
        n.places = rule.placesCount == 0
                       ? rule.placesFrom
                       : static_cast<int>(Int(Rnd() * static_cast<Single>(rule.placesCount))) +
                             rule.placesFrom;
        n.mantissa = Int(Rnd() * static_cast<Single>(rule.mantissaCount)) +
                     static_cast<Single>(rule.mantissaFrom);
        n.value = static_cast<forms::Double>(n.mantissa) * std::pow(10.0, -n.places);
    } while (rule.bounded && !(n.value > rule.above && n.value < rule.below));
    return n;
}

} // namespace zifferix
