#include "support/Answers.h"
#include "support/GameHarness.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace testing_support;
using zifferix::frmBallon;
using zifferix::Game;

namespace {

class BalloonGame : public ::testing::Test {
  protected:
    explicit BalloonGame(int screenWidth = kLargeScreen) : h(screenWidth) {}

    ProgramHarness h;
    frmBallon& balloon = static_cast<frmBallon&>(h.program.screen(Game::Ballon));

    void SetUp() override { h.run(); }

    void play(Level level) { h.startGame(h.start().opt6, levelOption(h.start(), level)); }
    // The balloon changes one step per 16 ms tick; the problem comes when it has its size.
    void waitForProblem() {
        for (int i = 0; i < 2000 && !balloon.txtEing.Enabled; ++i) {
            h.ticks(1);
        }
        ASSERT_TRUE(balloon.txtEing.Enabled);
    }
    static float unit(int code) { return ScriptedRandom::pick(code - 1, 4); }
    static float pick(int k, int n) { return ScriptedRandom::pick(k, n); }

    void answerRight() { h.type(balloonAnswer(balloon) + "\r"); }
    void answerWrong() { h.type(forms::CStr(balloonExpected(balloon) + 1) + "\r"); }
    bool playing() const { return h.active() == &balloon; }
    int bottom() const { return balloon.shpBall.Top + balloon.shpBall.Height; }
    int centreTwice() const { return 2 * balloon.shpBall.Left + balloon.shpBall.Width; }
};

TEST_F(BalloonGame, TheBalloonGrowsToItsFirstSizeBeforeTheFirstProblem) {
    play(Leicht);
    EXPECT_FALSE(balloon.cmdEnde.Enabled);
    EXPECT_FALSE(balloon.txtEing.Enabled);
    h.ticks(42);
    EXPECT_EQ(balloon.shpBall.Left, 1900);
    EXPECT_EQ(balloon.shpBall.Width, 192);
    EXPECT_EQ(balloon.shpBall.Height, 288);
    EXPECT_EQ(balloon.shpBall.Top, 7522);
    EXPECT_FALSE(balloon.txtEing.Enabled);
    h.ticks(1);
    EXPECT_TRUE(balloon.txtEing.Enabled);
    EXPECT_TRUE(balloon.cmdEnde.Enabled);
    EXPECT_FALSE(h.runtime.animating());
    EXPECT_EQ(balloon.ActiveControl(), &balloon.txtEing);
}

TEST_F(BalloonGame, EachRightAnswerGrowsTheBalloonKeepingItsBottomAndCentre) {
    const int sizes[][3] = {{392, 588, 7222},
                            {592, 888, 6922},
                            {1192, 1788, 6022},
                            {1592, 2388, 5422},
                            {2392, 3588, 4222}};
    play(Normal);
    waitForProblem();
    for (const auto& size : sizes) {
        answerRight();
        EXPECT_FALSE(balloon.txtEing.Enabled);
        EXPECT_FALSE(balloon.cmdEnde.Enabled);
        waitForProblem();
        EXPECT_EQ(balloon.shpBall.Width, size[0]);
        EXPECT_EQ(balloon.shpBall.Height, size[1]);
        EXPECT_EQ(balloon.shpBall.Top, size[2]);
        EXPECT_EQ(bottom(), 7810);
        EXPECT_EQ(centreTwice(), 2 * 1996);
    }
    EXPECT_EQ(h.shared().Punkte, 20);
}

TEST_F(BalloonGame, SixRightAnswersInARowAtLeichtScore25) {
    play(Leicht);
    for (int i = 0; i < 6; ++i) {
        waitForProblem();
        answerRight();
    }
    EXPECT_TRUE(playing());
    h.advance(400 * 60);
    EXPECT_FALSE(playing());
    EXPECT_EQ(h.shared().Punkte, 25);
    EXPECT_EQ(h.start().lblPunkte6.Caption, "25");
    EXPECT_EQ(h.start().lblPunkte6.ForeColor, 0x00FF00u);
    EXPECT_EQ(h.start().opt6.ForeColor, 0x00FF00u);
}

TEST_F(BalloonGame, TheRiseTakes355StepsAndEndsOnTheFollowingTick) {
    play(VollSchwer);
    for (int i = 0; i < 6; ++i) {
        waitForProblem();
        answerRight();
    }
    EXPECT_EQ(balloon.Image1.Top, 8610 - 30);
    for (forms::Control* c : std::initializer_list<forms::Control*>{
             &balloon.lblzahl, &balloon.txtEing, &balloon.lblbez1, &balloon.lblbez2,
             &balloon.Label3}) {
        EXPECT_FALSE(c->Visible) << c->name();
    }
    EXPECT_TRUE(balloon.cmdEnde.Enabled);
    h.advance(354 * 60);
    EXPECT_EQ(balloon.Image1.Top, -2040);
    EXPECT_EQ(balloon.ln1.Y2, 7710 - 355 * 30);
    EXPECT_TRUE(playing());
    h.advance(60);
    EXPECT_FALSE(playing());
    EXPECT_EQ(h.shared().Punkte, 25 + 20);
}

TEST_F(BalloonGame, AWrongAnswerWithHeliumCostsThreeAndTheBalloonShrinksBackIn550Ticks) {
    play(Leicht);
    for (int i = 0; i < 5; ++i) {
        waitForProblem();
        answerRight();
    }
    waitForProblem();
    ASSERT_EQ(balloon.shpBall.Width, 2392);
    answerWrong();
    EXPECT_EQ(h.shared().Punkte, 12);
    h.ticks(549);
    EXPECT_EQ(balloon.shpBall.Width, 192);
    EXPECT_EQ(balloon.shpBall.Height, 288);
    EXPECT_FALSE(balloon.txtEing.Enabled);
    h.ticks(1);
    EXPECT_TRUE(balloon.txtEing.Enabled);

    for (int i = 0; i < 6; ++i) {
        waitForProblem();
        answerRight();
    }
    h.advance(400 * 60);
    EXPECT_EQ(h.start().lblPunkte6.Caption, "22");
}

TEST_F(BalloonGame, AWrongAnswerWithAnEmptyBalloonCostsOnePointAndPosesANewProblemAtOnce) {
    play(Leicht);
    waitForProblem();
    h.random().push({unit(3), unit(2), pick(0, 3), pick(41, 100)}); // 42 kg in dag
    answerWrong();
    EXPECT_EQ(h.shared().Punkte, 14);
    EXPECT_TRUE(balloon.txtEing.Enabled);
    EXPECT_FALSE(h.runtime.animating());
    EXPECT_EQ(balloon.lblzahl.Caption, "42");
    EXPECT_EQ(balloon.lblbez1.Caption, "kg");
    EXPECT_EQ(balloon.lblbez2.Caption, "dag");
    EXPECT_EQ(balloon.txtEing.Text, "");
}

struct Conversion {
    Level level;
    std::vector<float> draws;
    std::string given;
    std::string from;
    std::string to;
    std::string typed;
};

TEST_F(BalloonGame, ConvertsBetweenTheUnitsAsAChildLearnsIt) {
    const std::vector<Conversion> conversions = {
        {Leicht, {unit(3), unit(4), pick(0, 2), pick(2499, 10000)}, "2500", "kg", "t", "2,5"},
        {Normal, {unit(2), pick(1, 2), pick(0, 2), pick(34, 1000)}, "35", "dag", "kg", "0,35"},
        {VollSchwer, {unit(4), unit(1), pick(1, 2), pick(123, 1000)}, "0,123", "t", "g", "123000"},
        {Leicht, {unit(4), unit(3), pick(2, 3), pick(34, 100)}, "0,35", "t", "kg", "350"},
        {VollSchwer, {unit(1), unit(2), pick(0, 3), pick(0, 1000)}, "0", "g", "dag", "0"},
        {VollSchwer,
         {unit(2), unit(1), pick(3, 4), pick(1, 1000)},
         "0,00001",
         "dag",
         "g",
         "0,0001"},
    };
    for (const Conversion& c : conversions) {
        play(c.level);
        h.random().script.insert(h.random().script.end(), c.draws.begin(), c.draws.end());
        waitForProblem();
        EXPECT_EQ(balloon.lblzahl.Caption, c.given);
        EXPECT_EQ(balloon.lblbez1.Caption, c.from);
        EXPECT_EQ(balloon.lblbez2.Caption, c.to);
        const forms::Integer before = h.shared().Punkte;
        h.type(c.typed + "\r");
        EXPECT_EQ(h.shared().Punkte, before) << c.given << " " << c.from;
        EXPECT_FALSE(balloon.txtEing.Enabled) << "the balloon grows";
        waitForProblem();
        h.click(balloon.cmdEnde);
    }
}

TEST_F(BalloonGame, OneCommaPerAnswerAndBackspaceAllowsOneAgain) {
    play(Normal);
    waitForProblem();
    h.type("2,,5");
    EXPECT_EQ(balloon.txtEing.Text, "2,5");
    h.type("\b");
    EXPECT_EQ(balloon.txtEing.Text, "");
    h.type(".-a,5");
    EXPECT_EQ(balloon.txtEing.Text, ",5");
}

TEST_F(BalloonGame, ALoneCommaIsAWrongAnswerAndTheNextAnswerMayHaveOneAgain) {
    play(Normal);
    waitForProblem();
    h.type(",\r");
    EXPECT_EQ(h.shared().Punkte, 19);
    EXPECT_TRUE(playing());
    h.type("1,");
    EXPECT_EQ(balloon.txtEing.Text, "1,");
}

TEST_F(BalloonGame, EnterOnAnEmptyBoxCostsNothing) {
    play(Normal);
    waitForProblem();
    h.type("\r\r");
    EXPECT_EQ(h.shared().Punkte, 20);
}

TEST_F(BalloonGame, LeavingDuringTheRiseStopsIt) {
    play(Leicht);
    for (int i = 0; i < 6; ++i) {
        waitForProblem();
        answerRight();
    }
    h.advance(10 * 60);
    h.click(balloon.cmdEnde);
    EXPECT_FALSE(playing());
    h.advance(100000);
    EXPECT_EQ(h.start().lblPunkte6.Caption, "0");
    EXPECT_EQ(h.shared().Punkte, 15);
    EXPECT_FALSE(h.runtime.animating());
}

TEST_F(BalloonGame, ANewGameStartsWithAnEmptyBalloonOnTheGround) {
    play(Leicht);
    for (int i = 0; i < 6; ++i) {
        waitForProblem();
        answerRight();
    }
    h.advance(400 * 60);
    play(Normal);
    EXPECT_EQ(balloon.Image1.Top, 8610);
    EXPECT_EQ(balloon.ln1.Y1, 8640);
    EXPECT_EQ(balloon.shpBall.Width, 24);
    EXPECT_TRUE(balloon.txtEing.Visible);
    EXPECT_EQ(h.shared().Punkte, 20);
}

class BalloonGameOnASmallScreen : public BalloonGame {
  protected:
    BalloonGameOnASmallScreen() : BalloonGame(kSmallScreen) {}
};

TEST_F(BalloonGameOnASmallScreen, TheSceneStarts500TwipsAboveItsScaledPlaceEveryGame) {
    for (int game = 0; game < 3; ++game) {
        play(Leicht);
        EXPECT_EQ(balloon.Image1.Top, 6139);
        EXPECT_EQ(balloon.Image1.Height, 2040);
        EXPECT_EQ(balloon.ln1.Y1, 6162);
        EXPECT_EQ(balloon.ln1.Y2, 5445);
        EXPECT_EQ(balloon.shpBall.Top, 5499 - 6);
        EXPECT_EQ(balloon.Image2.Height, 1862);
        EXPECT_EQ(balloon.Image2.Width, 7074);
        EXPECT_EQ(balloon.cmdEnde.Left, 10348);
        EXPECT_EQ(balloon.cmdEnde.Top, 7079);
        EXPECT_EQ(balloon.cmdEnde.Width, 947);
        EXPECT_EQ(balloon.cmdEnde.Height, 382);
        waitForProblem();
        EXPECT_EQ(balloon.shpBall.Left, 1900);
        EXPECT_EQ(balloon.shpBall.Width, 192);
        h.click(balloon.cmdEnde);
        EXPECT_EQ(balloon.Image2.Width, 9075);
        EXPECT_EQ(balloon.cmdEnde.Left, 13275);
    }
}

} // namespace
