#include "balloon/Masses.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

using zifferix::ConversionProblem;
using zifferix::kMasses;

namespace {

constexpr int G = 1;
constexpr int Dag = 2;
constexpr int Kg = 3;
constexpr int T = 4;

class ManyProblems : public ::testing::TestWithParam<int> {
  protected:
    std::mt19937 generator{7};
    std::vector<ConversionProblem> draw(int count) {
        std::vector<ConversionProblem> problems;
        for (int i = 0; i < count; ++i) {
            problems.push_back(kMasses.draw(
                GetParam(), [this] { return static_cast<float>(generator() >> 8) * 0x1p-24f; }));
        }
        return problems;
    }
};

TEST_P(ManyProblems, FollowTheUnitRulesOfTheLevel) {
    std::set<std::pair<int, int>> pairs;
    for (const ConversionProblem& p : draw(5000)) {
        ASSERT_NE(p.VonEinheit, p.NachEinheit);
        pairs.insert({p.VonEinheit, p.NachEinheit});
    }
    using Pairs = std::set<std::pair<int, int>>;
    switch (GetParam()) {
    case 1:
        EXPECT_EQ(pairs, (Pairs{{T, Kg}, {Kg, T}, {Kg, Dag}, {Dag, Kg}, {Dag, G}, {G, Dag}}));
        break;
    case 2:
        EXPECT_EQ(
            pairs,
            (Pairs{{T, Kg}, {Kg, T}, {Kg, Dag}, {Kg, G}, {Dag, Kg}, {Dag, G}, {G, Dag}, {G, Kg}}));
        break;
    default:
        EXPECT_EQ(pairs.size(), 12u);
        break;
    }
}

TEST_P(ManyProblems, GiveNumbersInTheRangeOfTheirCase) {
    const int level = GetParam();
    bool sawZero = false;
    for (const ConversionProblem& p : draw(5000)) {
        ASSERT_GE(p.Zahl, 0);
        ASSERT_EQ(p.Zahl, p.Mantisse * std::pow(10.0, -p.Kommastellen));
        sawZero = sawZero || p.Zahl == 0;
        if (level == 3) {
            ASSERT_LE(p.Kommastellen, 5);
            ASSERT_LT(p.Mantisse, 1000);
            continue;
        }
        if (p.VonEinheit == G) {
            ASSERT_EQ(p.Zahl, std::floor(p.Zahl));
            ASSERT_LE(p.Zahl, level == 1 ? 100 : 1000);
        } else if (p.VonEinheit == Kg && p.NachEinheit == T) {
            ASSERT_GT(p.Zahl, level == 1 ? 0.9999 : 0.0999);
            ASSERT_LT(p.Zahl, 10000);
        } else {
            ASSERT_GT(p.Zahl, p.VonEinheit == T || level == 1 ? 0.0999 : 0.00999);
            ASSERT_LT(p.Zahl, 100);
        }
        if (level == 1 && p.VonEinheit == Dag && p.NachEinheit == Kg) {
            ASSERT_EQ(p.Kommastellen, 0) << "dag to kg at leicht: whole numbers";
        }
    }
    EXPECT_EQ(sawZero, level == 3);
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, ManyProblems, ::testing::Values(1, 2, 3));

TEST(MassProblem, ExpectsTheGivenMassInTheTargetUnit) {
    ConversionProblem p;
    p.VonEinheit = Kg;
    p.NachEinheit = G;
    p.Zahl = 2.5;
    EXPECT_DOUBLE_EQ(kMasses.expected(p), 2500);
    p.VonEinheit = G;
    p.NachEinheit = T;
    p.Zahl = 999;
    EXPECT_DOUBLE_EQ(kMasses.expected(p), 0.000999);
    p.VonEinheit = Dag;
    p.NachEinheit = Kg;
    p.Zahl = 35;
    EXPECT_EQ(static_cast<float>(kMasses.expected(p)), 0.35f);
}

} // namespace
