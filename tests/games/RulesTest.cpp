// The rules each level draws its problems by, pinned from many draws of the program's own random
// source: every number lies in the range of its level and reaches both ends of it, so that a
// changed constant or operator in a rule fails here.

#include "balloon/Masses.h"
#include "mountain/Lengths.h"
#include "support/Answers.h"
#include "support/GameHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <random>
#include <regex>

using namespace testing_support;
using zifferix::Game;

namespace {

// What was seen of a number, against the range the rule gives it.
struct Spread {
    int lo;
    int hi;
};
struct Seen {
    int lo = INT_MAX;
    int hi = INT_MIN;
    void add(int v) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
};
// Within the range, and at both of its ends; a range wider than a hundred near both ends.
void expectSpread(const Seen& seen, Spread rule, const std::string& what) {
    const int near = (rule.hi - rule.lo) > 100 ? (rule.hi - rule.lo) / 10 : 0;
    EXPECT_GE(seen.lo, rule.lo) << what;
    EXPECT_LE(seen.hi, rule.hi) << what;
    EXPECT_LE(seen.lo, rule.lo + near) << what << " reaches its lowest";
    EXPECT_GE(seen.hi, rule.hi - near) << what << " reaches its highest";
}

// A conversion's number: its decimal places and its mantissa by the case of its unit pair,
// tried top to bottom (0 for any unit), and the open range it lies in (none where above = below).
struct NumberCase {
    int level;
    int from;
    int to;
    bool down;
    Spread places;
    Spread mantissa;
    double above = 0;
    double below = 0;
};

constexpr NumberCase kLengthCases[] = {
    {1, 1, 0, false, {0, 0}, {1, 100}},
    {1, 4, 5, false, {0, 1}, {1, 10000}, 0.9999, 10000},
    {1, 5, 0, false, {0, 2}, {1, 100}, 0.0999, 1000},
    {1, 0, 0, true, {0, 2}, {1, 100}, 0.0999, 100},
    {1, 0, 0, false, {0, 0}, {1, 99}, 0.0999, 100},
    {2, 1, 0, false, {0, 0}, {1, 1000}},
    {2, 4, 5, false, {0, 1}, {1, 10000}, 0.0999, 10000},
    {2, 5, 0, false, {0, 2}, {1, 100}, 0.0999, 1000},
    {2, 0, 0, true, {0, 3}, {1, 1000}, 0.0999, 100},
    {2, 0, 0, false, {0, 1}, {1, 999}, 0.0999, 100},
    {3, 5, 0, true, {2, 3}, {0, 999}},
    {3, 4, 0, true, {2, 4}, {0, 999}},
    {3, 3, 0, true, {2, 5}, {0, 999}},
    {3, 0, 0, true, {2, 6}, {0, 999}},
    {3, 0, 0, false, {0, 2}, {0, 999}},
};
constexpr NumberCase kMassCases[] = {
    {1, 1, 0, false, {0, 0}, {1, 100}},
    {1, 3, 4, false, {0, 1}, {1, 10000}, 0.9999, 10000},
    {1, 4, 0, false, {0, 2}, {1, 100}, 0.0999, 100},
    {1, 0, 0, true, {0, 2}, {1, 100}, 0.0999, 100},
    {1, 0, 0, false, {0, 0}, {1, 99}, 0.0999, 100},
    {2, 1, 0, false, {0, 0}, {1, 1000}},
    {2, 3, 4, false, {0, 1}, {1, 10000}, 0.0999, 10000},
    {2, 4, 0, false, {0, 2}, {1, 100}, 0.0999, 100},
    {2, 0, 0, true, {0, 3}, {1, 1000}, 0.00999, 100},
    {2, 0, 0, false, {0, 1}, {1, 999}, 0.00999, 100},
    {3, 4, 0, true, {2, 3}, {0, 999}},
    {3, 3, 0, true, {2, 4}, {0, 999}},
    {3, 0, 0, true, {2, 5}, {0, 999}},
    {3, 0, 0, false, {0, 2}, {0, 999}},
};

TEST(ConversionRules, EveryNumberLiesInTheRangeOfItsCaseAndReachesItsEnds) {
    struct Table {
        const char* name;
        const zifferix::Conversions& conversions;
        std::span<const NumberCase> cases;
    };
    for (const Table& game : {Table{"lengths", zifferix::kLengths, kLengthCases},
                              Table{"masses", zifferix::kMasses, kMassCases}}) {
        std::mt19937 generator(5);
        const auto rnd = [&] { return static_cast<float>(generator() >> 8) * 0x1p-24f; };
        std::vector<std::pair<Seen, Seen>> seen(game.cases.size());
        for (int level = 1; level <= 3; ++level) {
            for (int i = 0; i < 40000; ++i) {
                const zifferix::ConversionProblem p = game.conversions.draw(level, rnd);
                const bool down = p.VonEinheit > p.NachEinheit;
                const auto c = std::find_if(game.cases.begin(), game.cases.end(), [&](auto& row) {
                    return row.level == level && (row.from == 0 || row.from == p.VonEinheit) &&
                           (row.to == 0 || row.to == p.NachEinheit) && (!row.down || down);
                });
                ASSERT_NE(c, game.cases.end());
                auto& [places, mantissa] = seen[static_cast<std::size_t>(c - game.cases.begin())];
                places.add(p.Kommastellen);
                mantissa.add(static_cast<int>(p.Mantisse));
                ASSERT_DOUBLE_EQ(p.Zahl, p.Mantisse * std::pow(10.0, -p.Kommastellen));
                if (c->above != c->below) {
                    ASSERT_TRUE(p.Zahl > c->above && p.Zahl < c->below) << p.Zahl;
                }
            }
        }
        for (std::size_t i = 0; i < game.cases.size(); ++i) {
            const std::string what = std::string(game.name) + " case " + std::to_string(i);
            expectSpread(seen[i].first, game.cases[i].places, what + ", decimal places");
            expectSpread(seen[i].second, game.cases[i].mantissa, what + ", mantissa");
        }
    }
}

// The numbers of the problem on a game's screen, as a child reads them, and what must hold
// between them.
struct GameRule {
    Game game;
    std::string before; // the keys that start play
    std::string after;  // the keys after an answer
    std::array<std::vector<Spread>, 3> spreads;
    std::function<std::vector<int>(forms::Form&)> read;
    std::function<bool(const std::vector<int>&, int level)> holds;
};

int shown(const forms::Label& label) {
    return static_cast<int>(forms::Val(label.Caption));
}

TEST(GameRules, EveryNumberOfEveryLevelLiesInItsRangeAndReachesItsEnds) {
    using zifferix::frmbruchteile, zifferix::frmNetz, zifferix::frmUhr, zifferix::frmwaage;
    const GameRule rules[] = {
        {Game::Uhr,
         "\r",
         "\r",
         {{{{2, 9}, {2, 9}}, {{2, 9}, {2, 9}}, {{2, 9}, {2, 9}}}},
         [](forms::Form& f) {
             auto& clock = static_cast<frmUhr&>(f);
             return std::vector{shown(clock.lblZahl1), shown(clock.lblZahl2)};
         },
         [](auto&, int) { return true; }},
        {Game::Netz,
         "",
         "\r",
         {{{{12, 15}, {2, 5}}, {{11, 25}, {2, 8}}, {{11, 30}, {2, 11}}}},
         [](forms::Form& f) {
             auto& spider = static_cast<frmNetz&>(f);
             return std::vector{shown(spider.lbla), shown(spider.lblb)};
         },
         [](auto& n, int level) { return level != Normal || n[0] * n[1] < 120; }},
        {Game::Waage,
         "",
         "\r\r",
         {{{{3, 25}, {2, 15}, {1, 35}}, {{3, 40}, {2, 20}, {1, 50}}, {{3, 72}, {2, 31}, {1, 50}}}},
         [](forms::Form& f) {
             auto& balance = static_cast<frmwaage&>(f);
             const std::string& left = balance.lblLinks.Caption;
             return std::vector{static_cast<int>(forms::Val(left)),
                                static_cast<int>(forms::Val(left.substr(left.find('+') + 1))),
                                shown(balance.lblRechts)};
         },
         [](auto& n, int) { return n[2] < n[0] + n[1] && n[2] != n[0] && n[2] != n[1]; }},
        // Numerator, denominator and the number, and the number's share of each part.
        {Game::Bruchteile,
         "",
         "\r",
         {{{{1, 9}, {2, 10}, {2, 90}, {1, 9}},
           {{1, 9}, {2, 10}, {2, 100}, {1, 11}},
           {{1, 10}, {1, 10}, {1, 100}, {1, 14}}}},
         [](forms::Form& f) {
             auto& glass = static_cast<frmbruchteile&>(f);
             const int zahl = shown(glass.lblZahl);
             const int nenner = shown(glass.lblNenner);
             return std::vector{shown(glass.lblZähler), nenner, zahl, zahl / nenner};
         },
         [](auto& n, int level) {
             return n[2] % n[1] == 0 && (level == VollSchwer ? n[0] != n[1] : n[0] < n[1]);
         }},
    };
    for (const GameRule& rule : rules) {
        for (int level = Leicht; level <= VollSchwer; ++level) {
            ProgramHarness h;
            h.run();
            forms::Form& form = h.program.screen(rule.game);
            std::vector<Seen> seen(rule.spreads[level - 1].size());
            for (int problems = 0; problems < 3000;) {
                showGame(h, rule.game, static_cast<Level>(level));
                h.type(rule.before);
                h.ticks(700); // the glass's first filling
                while (h.active() == &form && problems < 3000) {
                    const std::vector<int> numbers = rule.read(form);
                    ASSERT_TRUE(rule.holds(numbers, level)) << numbers[0] << " " << numbers[1];
                    for (std::size_t i = 0; i < seen.size(); ++i) {
                        seen[i].add(numbers[i]);
                    }
                    ++problems;
                    h.type(*answerFor(h.program, form) + rule.after);
                }
                if (h.active() == &form) {
                    h.runtime.close(form);
                }
            }
            for (std::size_t i = 0; i < seen.size(); ++i) {
                expectSpread(seen[i], rule.spreads[level - 1][i],
                             std::string(zifferix::info(rule.game).form) + " level " +
                                 std::to_string(level) + " number " + std::to_string(i));
            }
        }
    }
}

// The glass says how full it is to the nearest tenth, as a sighted child sees it.
TEST(GameRules, TheGlassSaysHowFullItIsToTheNearestTenth) {
    ProgramHarness h;
    h.run();
    auto& glass = static_cast<zifferix::frmbruchteile&>(h.program.screen(Game::Bruchteile));
    showGame(h, Game::Bruchteile, VollSchwer);
    h.ticks(700);
    // No time passes between the answers: every right one pours in 500 twips of water.
    const std::regex percent("zu (\\d+) Prozent voll");
    for (int water = glass.shpGlas.Height + 500; h.active() == &glass; water += 500) {
        h.said();
        h.type(glassAnswer(glass) + "\r");
        const std::string text = h.said();
        std::smatch said;
        if (water < 6000) {
            ASSERT_TRUE(std::regex_search(text, said, percent)) << text;
            EXPECT_EQ(std::stol(said[1]), std::min(std::lround(water / 600.0), 9L) * 10) << water;
        } else {
            EXPECT_NE(text.find("Das Glas ist voll."), std::string::npos) << text;
        }
    }
}

} // namespace
