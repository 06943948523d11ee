#include "support/Answers.h"
#include "support/GameHarness.h"

#include <gtest/gtest.h>

using namespace testing_support;
using zifferix::frmNetz;
using zifferix::Game;

namespace {

class SpiderGame : public ::testing::Test {
  protected:
    explicit SpiderGame(int screenWidth = kLargeScreen) : h(screenWidth) {}

    ProgramHarness h;
    frmNetz& spider = static_cast<frmNetz&>(h.program.screen(Game::Netz));

    void SetUp() override { h.run(); }

    void play(Level level) { h.startGame(h.start().opt4, levelOption(h.start(), level)); }
    void right() { h.type(spiderAnswer(spider) + "\r"); }
    void wrong() { h.type(forms::CStr(forms::Val(spiderAnswer(spider)) + 1) + "\r"); }
    bool playing() const { return h.active() == &spider; }
    std::vector<std::string> strandsShown() const {
        std::vector<std::string> shown;
        for (const forms::Control* c : spider.controls()) {
            if (c->kind() == forms::ControlKind::Line && c->Visible) {
                shown.push_back(c->name());
            }
        }
        return shown;
    }
};

TEST_F(SpiderGame, TheSixteenthRightAnswerWinsWithTheBonusOfItsLevel) {
    struct Case {
        Level level;
        std::string score;
        forms::Color colour;
    };
    for (const Case& c : {Case{Leicht, "25", 0x00FF00}, Case{Normal, "35", 0x00FFFF},
                          Case{VollSchwer, "45", 0x0080FF}}) {
        play(c.level);
        for (int i = 0; i < 15; ++i) {
            right();
        }
        EXPECT_TRUE(playing()) << "fifteen are not enough";
        right();
        EXPECT_FALSE(playing());
        EXPECT_EQ(h.start().lblPunkte4.Caption, c.score);
        EXPECT_EQ(h.start().lblPunkte4.ForeColor, c.colour);
        EXPECT_EQ(h.start().opt4.ForeColor, c.colour);
    }
}

// Heard, not seen: the problem is the box's description, and a right answer says what is left
// and then the next problem, as the box keeps the focus.
TEST_F(SpiderGame, SaysTheVerdictWhatIsLeftAndTheNextProblem) {
    h.random().push({ScriptedRandom::pick(2, 4), ScriptedRandom::pick(1, 4)}); // 14 x 3
    play(Leicht);
    EXPECT_EQ(spider.txtergebnis.AccessibleDescription, "14 mal 3");
    h.said();
    h.random().push({ScriptedRandom::pick(3, 4), ScriptedRandom::pick(0, 4)}); // 15 x 2
    right();
    EXPECT_EQ(h.said(), "Richtig. Noch 15 Aufgaben. 15 mal 2");
    wrong();
    wrong();
    EXPECT_EQ(h.said(), "Falsch. Die Spinne knüpft weiter, 1 von 11 Fäden. "
                        "Falsch. Die Spinne knüpft weiter, 2 von 11 Fäden.");
}

TEST_F(SpiderGame, AtNormalAProductOf120OrMoreIsDrawnAgainAsAPair) {
    const auto a = [](int v) { return ScriptedRandom::pick(v - 11, 15); };
    const auto b = [](int v) { return ScriptedRandom::pick(v - 2, 7); };
    h.random().push({a(24), b(5), a(15), b(8), a(23), b(5)});
    play(Normal);
    EXPECT_EQ(spider.lbla.Caption, "23");
    EXPECT_EQ(spider.lblb.Caption, "5");
    for (int i = 0; i < 300; ++i) {
        h.click(spider.cmdEnde);
        play(Normal);
        const double product = forms::Val(spiderAnswer(spider));
        ASSERT_LT(product, 120);
        ASSERT_GE(product, 22);
    }
}

TEST_F(SpiderGame, OnlyDigitsGoInAndOnlyAnAnswerAboveZeroIsJudged) {
    h.random().push({ScriptedRandom::pick(0, 4), ScriptedRandom::pick(0, 4)}); // 12 x 2
    play(Leicht);
    h.type("\r0\r00\r");
    h.type("\b,a-7\b");
    EXPECT_EQ(spider.txtergebnis.Text, "");
    EXPECT_EQ(h.shared().Punkte, 16);
    EXPECT_TRUE(spider.Image1.Visible);
    h.type("0245");
    EXPECT_EQ(spider.txtergebnis.Text, "024");
    h.type("\r");
    EXPECT_EQ(h.shared().Punkte, 16) << "024 is 24";
}

TEST_F(SpiderGame, AWrongAnswerKeepsTheProblemEmptiesTheBoxAndCostsTwo) {
    play(Normal);
    const std::string a = spider.lbla.Caption;
    const std::string b = spider.lblb.Caption;
    wrong();
    EXPECT_EQ(spider.lbla.Caption, a);
    EXPECT_EQ(spider.lblb.Caption, b);
    EXPECT_EQ(spider.txtergebnis.Text, "");
    EXPECT_EQ(h.shared().Punkte, 16);
}

TEST_F(SpiderGame, EveryMistakeKnitsTheWebOnAndTheTwelfthLosesAtOnce) {
    const std::vector<std::vector<std::string>> steps = {
        {"ln1"},
        {"ln2"},
        {"ln3"},
        {"ln4"},
        {"ln5"},
        {"ln6"},
        {"ln7"},
        {"ln8"},
        {"Line1", "Line2", "Line3", "Line4", "Line5", "Line6", "Line7", "Line8"},
        {"Line17", "Line18", "Line19", "Line20", "Line21", "Line22", "Line23", "Line24"},
        {"Line9", "Line10", "Line11", "Line12", "Line13", "Line14", "Line15", "Line16"}};
    for (const int rightFirst : {0, 15}) {
        play(VollSchwer);
        EXPECT_TRUE(spider.Image1.Visible) << "the instructions are back in every game";
        for (int i = 0; i < rightFirst; ++i) {
            right();
        }
        std::vector<std::string> expected;
        for (const auto& step : steps) {
            wrong();
            expected.insert(expected.end(), step.begin(), step.end());
            std::vector<std::string> shown = strandsShown();
            std::sort(expected.begin(), expected.end());
            std::sort(shown.begin(), shown.end());
            EXPECT_EQ(shown, expected);
            EXPECT_FALSE(spider.Image1.Visible);
        }
        EXPECT_TRUE(playing());
        wrong();
        EXPECT_FALSE(playing()) << "after " << rightFirst << " right answers";
        EXPECT_EQ(h.shared().Punkte, -2);
        EXPECT_EQ(h.start().lblPunkte4.Caption, "0");
    }
}

TEST_F(SpiderGame, ElevenMistakesAtLeichtStillWinWithThreePoints) {
    play(Leicht);
    for (int i = 0; i < 11; ++i) {
        wrong();
    }
    for (int i = 0; i < 16; ++i) {
        right();
    }
    EXPECT_EQ(h.start().lblPunkte4.Caption, "3");
}

TEST_F(SpiderGame, InTheRowAWinAddsThePointsWithoutBonusAndShowsTheBalloonRide) {
    showGame(h, Game::Netz, Leicht, true);
    for (int i = 0; i < 11; ++i) {
        wrong();
    }
    for (int i = 0; i < 16; ++i) {
        right();
    }
    EXPECT_EQ(h.active(), &h.program.screen(Game::Ballon));
    EXPECT_EQ(h.shared().GesamtPunkte, -6);
    EXPECT_EQ(h.start().lblPunkte4.Caption, "0");
    EXPECT_EQ(h.start().opt4.ForeColor, forms::colors::WindowText);
}

class SpiderGameOnASmallScreen : public SpiderGame {
  protected:
    SpiderGameOnASmallScreen() : SpiderGame(kSmallScreen) {}
};

TEST_F(SpiderGameOnASmallScreen, AHundredGamesLeaveEveryStrandWhereTheFirstGameHadIt) {
    const auto strands = [this] {
        std::vector<forms::Segment> all;
        for (const forms::Control* c : spider.controls()) {
            if (c->kind() == forms::ControlKind::Line) {
                all.push_back(static_cast<const forms::Line*>(c)->segment());
            }
        }
        return all;
    };
    const std::vector<forms::Segment> design = strands();
    std::vector<forms::Segment> first;
    for (int game = 0; game < 100; ++game) {
        play(game % 2 == 0 ? Normal : Leicht);
        if (game == 0) {
            first = strands();
            EXPECT_EQ(first[0], (forms::Segment{4677, 4010, 4677, 0})) << "the upward spoke";
        }
        ASSERT_EQ(strands(), first) << "game " << game;
        ASSERT_EQ(spider.Image2.placement(), (forms::Placement{3543, 2857, 2233, 2498}));
        if (game % 2 == 0) {
            wrong();
            h.click(spider.cmdEnde);
        } else {
            for (int i = 0; i < 16; ++i) {
                right();
            }
        }
        ASSERT_EQ(strands(), design);
        ASSERT_EQ(spider.Image2.placement(), (forms::Placement{4545, 3705, 2865, 3240}));
    }
}

} // namespace
