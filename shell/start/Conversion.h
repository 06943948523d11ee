#pragma once

// The unit-conversion games (lengths on the mountain, masses on the balloon ride) draw alike: a
// pair of different units, then a number in the first, to be written in the second. Each game
// gives only its tables: its units and, for each level, which pairs it draws and how its
// numbers are drawn.

#include "forms/Basic.h"
#include "start/Problems.h"

#include <array>
#include <functional>
#include <optional>
#include <span>
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

// A unit as it is written, its size as a power of ten (a step of the game's scale), and its
// words. A game's units come from the smallest up, numbered from 1.
struct Unit {
    std::string_view text;
    int power;
    UnitWords words;
};

// How far apart in the table the two units of a pair may be.
enum class Apart { Neighbours, OneOrTwo, Any };

// A unit that is converted only to one of a few: the answer's unit is drawn among them, or
// taken without a draw where there is only one. A unit of 0 is none.
struct Partners {
    int from = 0;
    std::array<int, 2> to{};
    int count = 1;
};

// The units are drawn, the given one first, until the pair is this far apart.
struct PairRule {
    Apart apart = Apart::Any;
    std::array<Partners, 2> partners{};
};

// The open range a drawn number must lie in; it is drawn again until it does.
struct Bounds {
    forms::Double above;
    forms::Double below;
};

// A number as mantissa x 10^-places: both drawn (places with a count of 0 are taken as they are,
// without a draw), and drawn again until the number lies within the bounds, where there are any.
struct NumberRule {
    Range places{};
    Range mantissa{};
    std::optional<Bounds> within{};
};

// Which problems a number rule is for: a given unit, the unit asked for, only conversions to a
// smaller unit; what is left unset matches every problem.
struct When {
    int from = 0;
    int to = 0;
    bool down = false;
};
struct NumberCase {
    When when{};
    NumberRule rule{};
};

// What a game draws at one level: the pair, then the number by the first case that matches it.
struct ConversionLevel {
    PairRule pair{};
    std::span<const NumberCase> numbers{};
};

struct ConversionProblem {
    int VonEinheit = 1;  // unit of the given number
    int NachEinheit = 2; // unit of the answer, never the same
    int Kommastellen = 0;
    forms::Single Mantisse = 0;
    forms::Double Zahl = 0; // Mantisse x 10^-Kommastellen
};

struct Conversions {
    std::span<const Unit> units;
    std::array<ConversionLevel, 3> levels; // leicht, normal, voll schwer

    constexpr const Unit& unit(int code) const { return units[static_cast<std::size_t>(code - 1)]; }
    // Draws the units and the number for a level (1 leicht, 2 normal, 3 voll schwer) from the
    // given random source, in the order the drawing rules fix.
    ConversionProblem draw(int level, const Draw& Rnd) const;
    // The answer in double precision: 1 km is 1000 m, 1 g is 0.000001 t.
    forms::Double expected(const ConversionProblem& problem) const;
    // The problem as a screen reader says it, the number as its label shows it.
    std::string question(std::string_view shown, const ConversionProblem& problem) const;
};

} // namespace zifferix
