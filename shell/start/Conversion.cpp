#include "start/Conversion.h"

#include "start/Module1.h"
#include "start/Spoken.h"

#include <cmath>
#include <cstdlib>

namespace zifferix {
namespace {

using forms::Int;
using forms::Single;

int drawnAmong(int count, const Draw& Rnd) {
    return static_cast<int>(Int(Rnd() * static_cast<Single>(count)));
}

bool apartAsRuled(Apart apart, int from, int to) {
    const int steps = std::abs(from - to);
    switch (apart) {
    case Apart::Neighbours:
        return steps == 1;
    case Apart::OneOrTwo:
        return steps == 1 || steps == 2;
    case Apart::Any:
        break;
    }
    return steps != 0;
}

bool matches(const When& when, const ConversionProblem& p) {
    return (when.from == 0 || when.from == p.VonEinheit) &&
           (when.to == 0 || when.to == p.NachEinheit) &&
           (!when.down || p.VonEinheit > p.NachEinheit);
}

} // namespace

ConversionProblem Conversions::draw(int level, const Draw& Rnd) const {
    const ConversionLevel& rules = levels[difficulty::row(level)];
    const int count = static_cast<int>(units.size());
    ConversionProblem p;
    do {
        p.VonEinheit = drawnAmong(count, Rnd) + 1;
        p.NachEinheit = 0;
        for (const Partners& partners : rules.pair.partners) {
            if (partners.from == p.VonEinheit) {
                const int i = partners.count > 1 ? drawnAmong(partners.count, Rnd) : 0;
                p.NachEinheit = partners.to[static_cast<std::size_t>(i)];
            }
        }
        if (p.NachEinheit == 0) {
            p.NachEinheit = drawnAmong(count, Rnd) + 1;
        }
    } while (!apartAsRuled(rules.pair.apart, p.VonEinheit, p.NachEinheit));

    for (const NumberCase& c : rules.numbers) {
        if (!matches(c.when, p)) {
            continue;
        }
        const NumberRule& rule = c.rule;
        do {
            p.Kommastellen = rule.places.count == 0
                                 ? rule.places.from
                                 : static_cast<int>(zifferix::draw(rule.places, Rnd()));
            p.Mantisse = zifferix::draw(rule.mantissa, Rnd());
            p.Zahl = static_cast<forms::Double>(p.Mantisse) * std::pow(10.0, -p.Kommastellen);
        } while (rule.within && !(p.Zahl > rule.within->above && p.Zahl < rule.within->below));
        break;
    }
    return p;
}

forms::Double Conversions::expected(const ConversionProblem& p) const {
    return p.Zahl * std::pow(10.0, unit(p.VonEinheit).power - unit(p.NachEinheit).power);
}

std::string Conversions::question(std::string_view shown, const ConversionProblem& p) const {
    return conversionQuestion(shown, unit(p.VonEinheit).words, unit(p.NachEinheit).words);
}

std::string conversionQuestion(std::string_view shown, UnitWords from, UnitWords to) {
    const std::string number = spoken::number(shown);
    const bool one = number == "1";
    return number + " " + std::string(one ? from.one : from.many) + (one ? " ist" : " sind") +
           " wie viel " + std::string(to.many) + "?";
}

} // namespace zifferix
