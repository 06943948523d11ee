#include "mountain/LengthProblem.h"

#include "start/Conversion.h"
#include "start/Module1.h"

#include <cmath>

namespace zifferix {
namespace {

using forms::Double;
using forms::Single;

// The unit codes, from the smallest up.
enum UnitCode : int { Mm = 1, Cm, Dm, M, Km };

UnitPair drawUnitsFor(int level, const Draw& Rnd) {
    switch (level) {
    case difficulty::Leicht:
        return drawUnits(5, Rnd, neighbours);
    case difficulty::Normal: { // one or two steps; a kilometre only ever in metres
        UnitPair units;
        do {
            units.from = static_cast<int>(forms::Int(Rnd() * 5)) + 1;
            units.to = units.from == Km ? M : static_cast<int>(forms::Int(Rnd() * 5)) + 1;
        } while (!oneOrTwoApart(units));
        return units;
    }
    default:
        return drawUnits(5, Rnd, different);
    }
}

NumberRule ruleFor(const LengthProblem& p, int level) {
    const bool down = p.VonEinheit > p.NachEinheit; // to a smaller unit
    const bool mToKm = p.VonEinheit == M && p.NachEinheit == Km;
    switch (level) {
    case difficulty::Leicht:
        if (p.VonEinheit == Mm) {
            return {0, 0, 100, 1, false, 0, 0};
        }
        if (mToKm) {
            return {2, 0, 10000, 1, true, 0.9999, 10000};
        }
        if (p.VonEinheit == Km) {
            return {3, 0, 100, 1, true, 0.0999, 1000};
        }
        return down ? NumberRule{3, 0, 100, 1, true, 0.0999, 100}
                    : NumberRule{0, 0, 100, 1, true, 0.0999, 100};
    case difficulty::Normal:
        if (p.VonEinheit == Mm) {
            return {0, 0, 1000, 1, false, 0, 0};
        }
        if (mToKm) {
            return {2, 0, 10000, 1, true, 0.0999, 10000};
        }
        if (p.VonEinheit == Km) {
            return {3, 0, 100, 1, true, 0.0999, 1000};
        }
        return down ? NumberRule{4, 0, 1000, 1, true, 0.0999, 100}
                    : NumberRule{2, 0, 1000, 1, true, 0.0999, 100};
    default:
        if (!down) {
            return {3, 0, 1000, 0, false, 0, 0};
        }
        // Down from km two or three places, from m two to four, from dm two to five, from cm
        // two to six.
        return {p.VonEinheit == Km   ? 2
                : p.VonEinheit == M  ? 3
                : p.VonEinheit == Dm ? 4
                                     : 5,
                2,
                1000,
                0,
                false,
                0,
                0};
    }
}

} // namespace

Double LengthProblem::expected() const {
    return Zahl *
           std::pow(10.0, lengthUnit(VonEinheit).exponent - lengthUnit(NachEinheit).exponent);
}

LengthProblem drawLengthProblem(int level, const std::function<Single()>& Rnd) {
    LengthProblem p;
    const UnitPair units = drawUnitsFor(level, Rnd);
    p.VonEinheit = units.from;
    p.NachEinheit = units.to;
    const DrawnNumber n = drawNumber(ruleFor(p, level), Rnd);
    p.Kommastellen = static_cast<Single>(n.places);
    p.Mantisse = n.mantissa;
    p.Zahl = n.value;
    return p;
}

} // namespace zifferix
