#include "balloon/MassProblem.h"

#include "start/Conversion.h"
#include "start/Module1.h"

#include <cmath>

namespace zifferix {
namespace {

using forms::Double;
using forms::Int;
using forms::Single;

constexpr int G = 1;
constexpr int Dag = 2;
constexpr int Kg = 3;
constexpr int T = 4;

UnitPair drawUnitsFor(int level, const Draw& Rnd) {
    switch (level) {
    case difficulty::Leicht: // neighbours only: t and kg, kg and dag, dag and g
        return drawUnits(4, Rnd, neighbours);
    case difficulty::Normal: {
        UnitPair units;
        do {
            units.from = static_cast<int>(Int(Rnd() * 4)) + 1;
            if (units.from == T) {
                units.to = Kg;
            } else if (units.from == Dag) {
                units.to = static_cast<int>(Int(Rnd() * 2)) + 1;
                if (units.to == Dag) {
                    units.to = Kg;
                }
            } else {
                units.to = static_cast<int>(Int(Rnd() * 4)) + 1;
            }
        } while (!oneOrTwoApart(units));
        return units;
    }
    default:
        return drawUnits(4, Rnd, different);
    }
}

NumberRule ruleFor(const MassProblem& p, int level) {
    const bool down = p.VonEinheit > p.NachEinheit; // to a smaller unit, the answer is larger
    const bool kgToT = p.VonEinheit == Kg && p.NachEinheit == T;
    switch (level) {
    case difficulty::Leicht:
        if (kgToT) {
            return {2, 0, 10000, 1, true, 0.9999, 10000};
        }
        if (p.VonEinheit == T) {
            return {3, 0, 100, 1, true, 0.0999, 100};
        }
        return {down ? 3 : 0, 0, 100, 1, true, 0.0999, 100};
    case difficulty::Normal:
        if (kgToT) {
            return {2, 0, 10000, 1, true, 0.0999, 10000};
        }
        if (p.VonEinheit == T) {
            return {3, 0, 100, 1, true, 0.0999, 100};
        }
        return {down ? 4 : 2, 0, 1000, 1, true, 0.00999, 100};
    default:
        if (!down) {
            return {3, 0, 1000, 0, false, 0, 0};
        }
        // Down from t two or three places, from kg two to four, from dag two to five.
        return {p.VonEinheit == T ? 2 : p.VonEinheit == Kg ? 3 : 4, 2, 1000, 0, false, 0, 0};
    }
}

} // namespace

Double MassProblem::expected() const {
    return Zahl * std::pow(10.0, massUnit(VonEinheit).power - massUnit(NachEinheit).power);
}

MassProblem drawMassProblem(int level, const std::function<Single()>& Rnd) {
    MassProblem p;
    const UnitPair units = drawUnitsFor(level, Rnd);
    p.VonEinheit = units.from;
    p.NachEinheit = units.to;

    // From g, at leicht and normal, a whole number is drawn directly.
    if (level != difficulty::VollSchwer && p.VonEinheit == G) {
        p.Kommastellen = 0;
        p.Mantisse = Int(Rnd() * (level == difficulty::Leicht ? 100 : 1000)) + 1;
        p.Zahl = p.Mantisse;
        return p;
    }
    const DrawnNumber n = drawNumber(ruleFor(p, level), Rnd);
    p.Kommastellen = n.places;
    p.Mantisse = n.mantissa;
    p.Zahl = n.value;
    return p;
}

} // namespace zifferix
