#include "balloon/MassProblem.h"

#include "start/Module1.h"

#include <cmath>
#include <cstdlib>

namespace zifferix {
namespace {

using forms::Double;
using forms::Int;
using forms::Single;

constexpr int G = 1;
constexpr int Dag = 2;
constexpr int Kg = 3;
constexpr int T = 4;

void drawUnits(MassProblem& p, int level, const std::function<Single()>& Rnd) {
    const auto R4 = [&] { return static_cast<int>(Int(Rnd() * 4)) + 1; };
    switch (level) {
    case difficulty::Leicht: // neighbours only: t and kg, kg and dag, dag and g
        do {
            p.VonEinheit = R4();
            p.NachEinheit = R4();
        } while (std::abs(p.VonEinheit - p.NachEinheit) != 1);
        break;
    case difficulty::Normal:
        do {
            p.VonEinheit = R4();
            if (p.VonEinheit == T) {
                p.NachEinheit = Kg;
            } else if (p.VonEinheit == Dag) {
                p.NachEinheit = static_cast<int>(Int(Rnd() * 2)) + 1;
                if (p.NachEinheit == Dag) {
                    p.NachEinheit = Kg;
                }
            } else {
                p.NachEinheit = R4();
            }
        } while (std::abs(p.VonEinheit - p.NachEinheit) != 1 &&
                 std::abs(p.VonEinheit - p.NachEinheit) != 2);
        break;
    default:
        do {
            p.VonEinheit = R4();
            p.NachEinheit = R4();
        } while (p.VonEinheit == p.NachEinheit);
        break;
    }
}

// How the decimal places and the mantissa are drawn, and the range the number must lie in
// (open at both ends); a case without a range is drawn once.
struct NumberRule {
    int placesRange; // Kommastellen = Int(Rnd * placesRange) + placesFrom; 0 draws nothing
    int placesFrom;
    int mantissaRange; // Mantisse = Int(Rnd * mantissaRange) + mantissaFrom
    int mantissaFrom;
    bool bounded;
    Double above;
    Double below;
};

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
    drawUnits(p, level, Rnd);

    // From g, at leicht and normal, a whole number is drawn directly.
    if (level != difficulty::VollSchwer && p.VonEinheit == G) {
        p.Kommastellen = 0;
        p.Mantisse = Int(Rnd() * (level == difficulty::Leicht ? 100 : 1000)) + 1;
        p.Zahl = p.Mantisse;
        return p;
    }
    const NumberRule rule = ruleFor(p, level);
    do {
        p.Kommastellen =
            rule.placesRange == 0
                ? rule.placesFrom
                : static_cast<int>(Int(Rnd() * static_cast<Single>(rule.placesRange))) +
                      rule.placesFrom;
        p.Mantisse = Int(Rnd() * static_cast<Single>(rule.mantissaRange)) +
                     static_cast<Single>(rule.mantissaFrom);
        p.Zahl = p.Mantisse * std::pow(10.0, -p.Kommastellen);
    } while (rule.bounded && !(p.Zahl > rule.above && p.Zahl < rule.below));
    return p;
}

} // namespace zifferix
