#include "support/Answers.h"
#include "support/GameHarness.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <set>

using namespace testing_support;
using zifferix::frmBerg;
using zifferix::Game;

namespace {

class MountainGame : public ::testing::Test {
  protected:
    explicit MountainGame(int screenWidth = kLargeScreen) : h(screenWidth) {}

    ProgramHarness h;
    frmBerg& mountain = static_cast<frmBerg&>(h.program.screen(Game::Berg));

    void SetUp() override { h.run(); }

    // Starts a game and presses "Los" with Enter, as the focus is on it.
    void play(Level level) {
        h.startGame(h.start().opt2, levelOption(h.start(), level));
        h.type("\r");
    }
    // The ball moves a tick at a time; the next problem comes when it rests.
    void waitForProblem() {
        for (int i = 0; i < 3000 && !mountain.txtEing.Enabled && h.active() == &mountain; ++i) {
            h.ticks(1);
        }
    }
    void right() {
        h.type(mountainAnswer(mountain) + "\r");
        waitForProblem();
    }
    void wrong() {
        h.type(forms::CStr(forms::Val(mountainAnswer(mountain)) + 1) + "\r");
        waitForProblem();
    }
    bool playing() const { return h.active() == &mountain; }
    forms::Integer points() { return h.shared().Punkte; }
};

// While the ball rolls nothing has the focus; the box keeps it in the views, and when the ball
// rests the child hears its station and the next problem.
TEST_F(MountainGame, SaysTheStationAndTheNextProblemWhenTheBallRests) {
    play(Leicht);
    h.said();
    right();
    EXPECT_EQ(mountain.ActiveControl(), &mountain.txtEing);
    EXPECT_EQ(h.said(), "Richtig. Der Ball ist auf Station 1 von 12. " +
                            mountain.txtEing.AccessibleDescription);
}

TEST_F(MountainGame, AWrongAnswerRollsTheBallBackAndCostsAPointForEveryStation) {
    const int afterwards[] = {0, 0, 1, 2, 2, 2, 2, 6, 7, 7, 7, 7};
    const int lost[] = {1, 1, 1, 1, 2, 3, 4, 1, 1, 2, 3, 4};
    const int largeLeft[] = {0, 1920, 3850, 5090, 6320, 7560, 8000, 9540};
    for (int station = 0; station < 12; ++station) {
        play(VollSchwer);
        for (int i = 0; i < station; ++i) {
            right();
        }
        ASSERT_EQ(points(), 30);
        wrong();
        EXPECT_EQ(points(), 30 - lost[station]) << "from station " << station;
        EXPECT_EQ(mountain.shpStein.Left, largeLeft[afterwards[station]]) << station;
        EXPECT_TRUE(mountain.txtEing.Enabled);
        h.click(mountain.cmdEnde);
    }
}

TEST_F(MountainGame, FromStationTwoToThreeTheBallRuns124TicksAcrossAnd123Up) {
    play(Leicht);
    right();
    right();
    h.type(mountainAnswer(mountain) + "\r");
    EXPECT_FALSE(mountain.cmdEnde.Enabled) << "no leaving while the ball moves";
    EXPECT_FALSE(mountain.txtEing.Enabled);
    EXPECT_EQ(mountain.shpStein.Left, 3860) << "the first step comes at once";
    h.ticks(122);
    EXPECT_EQ(mountain.shpStein.Top, 7685);
    EXPECT_EQ(mountain.shpStein.Left, 5080);
    EXPECT_FALSE(mountain.txtEing.Enabled);
    h.ticks(1);
    EXPECT_EQ(mountain.shpStein.Left, 5090);
    EXPECT_TRUE(mountain.txtEing.Enabled);
    EXPECT_TRUE(mountain.cmdEnde.Enabled);
    EXPECT_EQ(mountain.ActiveControl(), &mountain.txtEing);
    EXPECT_FALSE(h.runtime.animating());
}

TEST_F(MountainGame, TheBallLeavesAtTheTopAndTheWinScoresTheBonus) {
    play(Normal);
    h.type("\r,\r");
    EXPECT_EQ(points(), 22) << "an empty answer and a lone comma cost nothing";
    wrong();
    wrong();
    for (int i = 0; i < 11; ++i) {
        right();
    }
    right();
    EXPECT_FALSE(playing());
    EXPECT_EQ(h.start().lblPunkte2.Caption, "33");
    EXPECT_EQ(h.start().lblPunkte2.ForeColor, 0x00FFFFu);
}

TEST_F(MountainGame, TheAnswerTakesDigitsAndOneComma) {
    // 3 cm in dm at leicht: 0,3 is right although 3 x 0.1 is not 0.3 in double precision.
    h.random().push(
        {ScriptedRandom::pick(1, 5), ScriptedRandom::pick(2, 5), ScriptedRandom::pick(2, 100)});
    play(Leicht);
    EXPECT_EQ(mountain.lblzahl.Caption + " " + mountain.lblbez1.Caption + " = ? " +
                  mountain.lblbez2.Caption,
              "3 cm = ? dm");
    h.type("1,,2a.-5");
    EXPECT_EQ(mountain.txtEing.Text, "1,25");
    h.type("\b0,3\r");
    waitForProblem();
    EXPECT_EQ(mountain.shpStein.Left, 1920);
    EXPECT_EQ(points(), 15);
}

TEST_F(MountainGame, AtVollSchwerZeroCanBeAskedAndZeroIsTheRightAnswer) {
    const auto pick = ScriptedRandom::pick;
    h.random().push({pick(0, 5), pick(1, 5), pick(1, 3), pick(0, 1000)}); // 0 mm in cm
    play(VollSchwer);
    ASSERT_EQ(mountain.lblzahl.Caption, "0");
    h.type("0\r");
    waitForProblem();
    EXPECT_EQ(mountain.shpStein.Left, 1920) << "one station up";
    EXPECT_EQ(points(), 30);
}

TEST_F(MountainGame, InTheRowAWinAddsThePointsWithoutBonusAndShowsTheBalance) {
    showGame(h, Game::Berg, Leicht, true);
    h.type("\r");
    wrong();
    for (int i = 0; i < 12; ++i) {
        right();
    }
    EXPECT_EQ(h.active(), &h.program.screen(Game::Waage));
    EXPECT_EQ(h.shared().GesamtPunkte, 14);
    EXPECT_EQ(h.start().lblPunkte2.Caption, "0");
}

TEST_F(MountainGame, ClosingTheWindowWhileTheBallMovesLeavesNothingMovingForTheNextGame) {
    play(Normal);
    h.type(mountainAnswer(mountain) + "\r");
    h.runtime.close(mountain);
    EXPECT_FALSE(playing());
    h.startGame(h.start().opt2, h.start().optMittel);
    h.ticks(100);
    EXPECT_TRUE(mountain.Image1.Visible) << "the instructions wait for Los";
    EXPECT_EQ(mountain.shpStein.placement(), (forms::Placement{0, 8300, 700, 700}));
    EXPECT_FALSE(mountain.cmdEnde.Enabled);
    EXPECT_EQ(mountain.ActiveControl(), &mountain.cmdLos);
}

// 1920 x 1080 pixels, zoomed by 1.40625: the window is 20480 twips wide.
class MountainGameOnAWideScreen : public MountainGame {
  protected:
    MountainGameOnAWideScreen() : MountainGame(20480) {}
};

TEST_F(MountainGameOnAWideScreen, TheLastMoveCarriesTheBallPastTheWindowsRightEdge) {
    play(Leicht);
    EXPECT_EQ(mountain.ln5.segment(), (forms::Segment{14000, 5000, 20480, 5000}));
    for (int i = 0; i < 11; ++i) {
        right();
    }
    ASSERT_EQ(mountain.shpStein.Left, 13690) << "every other station as on any screen";
    h.type(mountainAnswer(mountain) + "\r");
    h.ticks(677);
    EXPECT_EQ(mountain.shpStein.Left, 20470);
    EXPECT_TRUE(playing());
    h.ticks(1);
    EXPECT_FALSE(playing()) << "the ball has left the window";
    EXPECT_EQ(mountain.shpStein.placement(), (forms::Placement{20480, 4300, 700, 700}));
}

class MountainGameOnASmallScreen : public MountainGame {
  protected:
    MountainGameOnASmallScreen() : MountainGame(kSmallScreen) {}
};

TEST_F(MountainGameOnASmallScreen, RollingFromTenTurnsToEightThreeTicksEarly) {
    play(Leicht);
    for (int i = 0; i < 10; ++i) {
        right();
    }
    ASSERT_EQ(mountain.shpStein.Left, 9970);
    h.type(forms::CStr(forms::Val(mountainAnswer(mountain)) + 1) + "\r");
    h.ticks(85);
    EXPECT_EQ(mountain.shpStein.Left, 9110);
    EXPECT_EQ(mountain.shpStein.Top, 4380);
    EXPECT_EQ(points(), 14);
    h.ticks(1); // across at 9100 with the top at 4385, three steps above station 9
    EXPECT_EQ(mountain.shpStein.Left, 9090) << "heading for station 8";
    EXPECT_EQ(mountain.shpStein.Top, 4390);
    EXPECT_EQ(points(), 13);
}

TEST_F(MountainGameOnASmallScreen, EveryGameShrinksTheDesignAndLeavingPutsItBack) {
    for (int game = 0; game < 3; ++game) {
        h.startGame(h.start().opt2, h.start().optEinfach);
        EXPECT_EQ(mountain.shpStein.placement(), (forms::Placement{60, 6800, 700, 700}));
        EXPECT_EQ(mountain.txtEing.placement(), (forms::Placement{4128, 1376, 1883, 567}));
        EXPECT_EQ(mountain.txtEing.Font.Size, 18);
        EXPECT_EQ(mountain.ln5.segment(), (forms::Segment{10700, 4500, 12350, 4500}));
        h.runtime.close(mountain);
        EXPECT_EQ(mountain.txtEing.placement(), (forms::Placement{5295, 1785, 2415, 735}));
        EXPECT_EQ(mountain.txtEing.Font.Size, 20);
        EXPECT_EQ(mountain.ln5.segment(), (forms::Segment{14000, 5000, 16000, 5000}));
    }
}

// The generator on its own, with scripted or seeded random values.
float next(std::deque<float>& values) {
    const float v = values.front();
    values.pop_front();
    return v;
}

TEST(LengthProblems, ConvertAsAChildLearnsIt) {
    const auto unit = [](int code) { return ScriptedRandom::pick(code - 1, 5); };
    const auto pick = ScriptedRandom::pick;
    struct Case {
        int level;
        std::deque<float> draws;
        std::string given;
        double expected;
    };
    const Case cases[] = {
        {Leicht, {unit(1), unit(2), pick(9, 100)}, "10", 1},
        {Leicht, {unit(2), unit(3), pick(6, 100)}, "7", 0.7},
        {Leicht, {unit(5), unit(4), pick(1, 3), pick(24, 100)}, "2,5", 2500},
        {Leicht, {unit(4), unit(5), pick(0, 2), pick(2, 10000)}, "3", 0.003},
        {Normal, {unit(4), unit(5), pick(1, 2), pick(4, 10000)}, "0,5", 0.0005},
        {VollSchwer, {unit(2), unit(1), pick(4, 5), pick(375, 1000)}, "0,000375", 0.00375},
        // The upper bounds are exclusive: 10000 m and 100 dm are drawn again.
        {Leicht,
         {unit(4), unit(5), pick(0, 2), pick(9999, 10000), pick(0, 2), pick(9998, 10000)},
         "9999",
         9.999},
        {Leicht,
         {unit(3), unit(2), pick(0, 3), pick(99, 100), pick(1, 3), pick(99, 100)},
         "10",
         100},
        {VollSchwer, {unit(1), unit(2), pick(1, 3), pick(0, 1000)}, "0", 0},
    };
    for (Case c : cases) {
        const zifferix::ConversionProblem p =
            zifferix::kLengths.draw(c.level, [&] { return next(c.draws); });
        EXPECT_EQ(forms::CStr(p.Zahl), c.given);
        EXPECT_TRUE(
            forms::SingleEquals(static_cast<float>(c.expected), zifferix::kLengths.expected(p)))
            << c.given;
    }
}

TEST(LengthProblems, FollowTheRulesOfEachLevel) {
    std::mt19937 generator(11);
    const auto rnd = [&] { return static_cast<float>(generator() >> 8) * 0x1p-24f; };
    for (const int level : {Leicht, Normal, VollSchwer}) {
        std::set<std::pair<int, int>> pairs;
        bool belowOneMetreToKm = false;
        for (int i = 0; i < 20000; ++i) {
            const zifferix::ConversionProblem p = zifferix::kLengths.draw(level, rnd);
            pairs.insert({p.VonEinheit, p.NachEinheit});
            ASSERT_NE(p.VonEinheit, p.NachEinheit);
            ASSERT_GE(p.Zahl, 0);
            if (level == Normal && p.VonEinheit == 5) {
                ASSERT_EQ(p.NachEinheit, 4) << "a kilometre only ever in metres";
            }
            if (p.VonEinheit == 4 && p.NachEinheit == 5 && p.Zahl < 1) {
                belowOneMetreToKm = true;
            }
            if (level != VollSchwer) {
                ASSERT_GT(p.Zahl, 0.0999);
            }
        }
        EXPECT_EQ(pairs.size(), level == Leicht ? 8u : level == Normal ? 13u : 20u);
        EXPECT_EQ(belowOneMetreToKm, level != Leicht) << "level " << level;
    }
}

} // namespace
