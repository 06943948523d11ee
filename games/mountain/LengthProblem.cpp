#include "mountain/LengthProblem.h"

#include "start/Module1.h"

#include <cmath>
#include <cstdlib>

namespace zifferix {
namespace {

using forms::Double;
using forms::Int;
using forms::Single;

// The unit codes, from the smallest up.
enum UnitCode : int { Mm = 1, Cm, Dm, M, Km };

void drawUnits(LengthProblem& p, int level, const std::function<Single()>& Rnd) {
    const auto R5 = [&] { return static_cast<int>(Int(Rnd() * 5)) + 1; };
    switch (level) {
    case difficulty::Leicht: // neighbours only
        do {
            p.VonEinheit = R5();
            p.NachEinheit = R5();
        } while (std::abs(p.VonEinheit - p.NachEinheit) != 1);
        break;
    case difficulty::Normal: // one or two steps; a kilometre only ever in metres
        do {
            p.VonEinheit = R5();
            p.NachEinheit = p.VonEinheit == Km ? M : R5();
        } while (std::abs(p.VonEinheit - p.NachEinheit) != 1 &&
                 std::abs(p.VonEinheit - p.NachEinheit) != 2);
        break;
    default:
        do {
            p.VonEinheit = R5();
            p.NachEinheit = R5();
        } while (p.VonEinheit == p.NachEinheit);
        break;
    }
}

// How the decimal places and the mantissa are drawn, and the range the number must lie in
// (open at both ends); a case without a range is drawn once.
struct NumberRule {
    int placesCount; // Kommastellen = Int(Rnd * placesCount) + placesFrom; 0 draws nothing
    int placesFrom;
    int mantissaCount; // Mantisse = Int(Rnd * mantissaCount) + mantissaFrom
    int mantissaFrom;
    bool bounded;
    Double above;
    Double below;
};

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
    drawUnits(p, level, Rnd);
    const NumberRule rule = ruleFor(p, level);
    do {
        p.Kommastellen = rule.placesCount == 0
                             ? static_cast<Single>(rule.placesFrom)
                             : Int(Rnd() * static_cast<Single>(rule.placesCount)) +
                                   static_cast<Single>(rule.placesFrom);
        p.Mantisse = Int(Rnd() * static_cast<Single>(rule.mantissaCount)) +
                     static_cast<Single>(rule.mantissaFrom);
        p.Zahl = static_cast<Double>(p.Mantisse) * std::pow(10.0, -p.Kommastellen);
    } while (rule.bounded && !(p.Zahl > rule.above && p.Zahl < rule.below));
    return p;
}

} // namespace zifferix
