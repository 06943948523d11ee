#include "support/Answers.h"
#include "support/GameHarness.h"

#include <gtest/gtest.h>

#include <array>

using namespace testing_support;
using zifferix::frmWander;
using zifferix::Game;

namespace {

constexpr forms::Color kGreen = 0x008000;
constexpr forms::Color kRed = 0x0000FF;

class FlyingNumbers : public ::testing::Test {
  protected:
    explicit FlyingNumbers(int screenWidth = kLargeScreen) : h(screenWidth) {}

    ProgramHarness h;
    frmWander& fly = static_cast<frmWander&>(h.program.screen(Game::Wander));

    void SetUp() override { h.run(); }

    void play(Level level) { h.startGame(h.start().opt8, levelOption(h.start(), level)); }
    void startNumbers() { h.click(fly.cmdStart); }
    // The next three numbers, drawn with this factor, signs included.
    void script(int faktor, std::array<int, 3> numbers) {
        for (int n : numbers) {
            h.random().push(
                {(static_cast<float>(std::abs(n)) - 0.5f) / static_cast<float>(10 * faktor)});
        }
        for (int n : numbers) {
            h.random().push({n < 0 ? 0.75f : 0.25f});
        }
    }
    // Numbers as large as the factor allows, all positive.
    void scriptLargest() { h.random().push({0.999f, 0.999f, 0.999f, 0.1f, 0.1f, 0.1f}); }
    int number(const forms::Label& label) const {
        return static_cast<int>(forms::Val(label.Caption));
    }
    int sum() const { return number(fly.lblZahl1) + number(fly.lblZahl2) + number(fly.lblZahl3); }
    void answer(int value) { h.type(std::to_string(value) + "\r"); }
    void answerRight() { h.type(flyingAnswer(fly) + "\r"); }
    void answerWrong() { answer(sum() + 1); }
    bool playing() const { return h.active() == &fly; }
};

TEST_F(FlyingNumbers, EnterStartsTheGameAndTheAnswerCanBeTypedAtOnce) {
    play(Normal);
    EXPECT_TRUE(fly.Image1.Visible);
    EXPECT_FALSE(fly.txtEing.Visible);
    EXPECT_EQ(fly.ActiveControl(), &fly.cmdStart);

    h.type("\r");
    EXPECT_FALSE(fly.Image1.Visible);
    EXPECT_FALSE(fly.cmdStart.Visible);
    EXPECT_TRUE(fly.lblZahl1.Visible);
    EXPECT_EQ(fly.ActiveControl(), &fly.txtEing);
    h.type("12x");
    EXPECT_EQ(fly.txtEing.Text, "12");
    EXPECT_TRUE(h.runtime.animating());
}

TEST_F(FlyingNumbers, PositiveNumbersAreGreenNegativeOnesRedWithTheirSign) {
    play(Leicht);
    script(1, {5, -3, 2});
    startNumbers();
    EXPECT_EQ(fly.lblZahl1.Caption, "5");
    EXPECT_EQ(fly.lblZahl2.Caption, "-3");
    EXPECT_EQ(fly.lblZahl3.Caption, "2");
    EXPECT_EQ(fly.lblZahl1.ForeColor, kGreen);
    EXPECT_EQ(fly.lblZahl2.ForeColor, kRed);
    EXPECT_EQ(fly.lblZahl3.ForeColor, kGreen);
}

TEST_F(FlyingNumbers, ASumThatIsNotPositiveIsDrawnAgain) {
    play(Leicht);
    script(1, {2, -3, -4});
    script(1, {-6, 3, 3});
    script(1, {9, -1, 7});
    startNumbers();
    EXPECT_EQ(sum(), 15);
    EXPECT_EQ(fly.lblZahl2.Caption, "-1");
}

TEST_F(FlyingNumbers, NumbersGrowWithRightAnswersUpToTheCapOfTheLevel) {
    const std::vector<std::pair<Level, std::vector<int>>> growth = {
        {Leicht, {10, 20, 20, 20}},
        {Normal, {10, 20, 30, 40, 40}},
        {VollSchwer, {10, 20, 30, 40, 50, 60}},
    };
    for (const auto& [level, largest] : growth) {
        play(level);
        for (std::size_t i = 0; i < largest.size(); ++i) {
            scriptLargest();
            if (i == 0) {
                startNumbers();
            } else {
                answerRight();
            }
            EXPECT_EQ(number(fly.lblZahl3), largest[i]) << "level " << level << ", problem " << i;
        }
        h.click(fly.cmdEnde);
    }
}

TEST_F(FlyingNumbers, AWrongAnswerCostsTwoPointsAndKeepsTheNumbers) {
    play(Normal);
    startNumbers();
    EXPECT_EQ(h.shared().Punkte, 3);
    const std::string before = fly.lblZahl1.Caption + fly.lblZahl2.Caption + fly.lblZahl3.Caption;
    answerWrong();
    EXPECT_EQ(h.shared().Punkte, 1);
    EXPECT_EQ(fly.txtEing.Text, "");
    EXPECT_EQ(fly.lblZahl1.Caption + fly.lblZahl2.Caption + fly.lblZahl3.Caption, before);
}

TEST_F(FlyingNumbers, EnterOnAnEmptyBoxIsNotCountedAndTheTwentyFirstAnswerLoses) {
    play(Normal);
    startNumbers();
    for (int i = 0; i < 25; ++i) {
        h.type("\r");
    }
    for (int i = 0; i < 20; ++i) {
        answerWrong();
    }
    EXPECT_TRUE(playing());
    EXPECT_EQ(h.shared().Punkte, 3 - 40);
    answerWrong();
    EXPECT_FALSE(playing());
    EXPECT_EQ(h.start().lblPunkte8.Caption, "0");
    EXPECT_FALSE(h.runtime.animating());
}

TEST_F(FlyingNumbers, TwelveRightAnswersAtNormalScore35) {
    play(Normal);
    startNumbers();
    for (int i = 0; i < 11; ++i) {
        answerRight();
    }
    EXPECT_TRUE(playing());
    answerRight();
    EXPECT_FALSE(playing());
    EXPECT_EQ(h.shared().Punkte, 35);
    EXPECT_EQ(h.start().lblPunkte8.Caption, "35");
    EXPECT_EQ(h.start().lblPunkte8.ForeColor, 0x00FFFFu);
    EXPECT_EQ(h.start().opt8.ForeColor, 0x00FFFFu);
}

TEST_F(FlyingNumbers, ARightTwentyFirstAnswerThatIsTheTwelfthRightOneStillWins) {
    play(Leicht);
    startNumbers();
    for (int i = 0; i < 9; ++i) {
        answerWrong();
    }
    for (int i = 0; i < 11; ++i) {
        answerRight();
    }
    ASSERT_TRUE(playing());
    answerRight();
    EXPECT_FALSE(playing());
    EXPECT_EQ(h.shared().Punkte, -4 + 24 - 18 + 5);
    EXPECT_EQ(h.start().lblPunkte8.Caption, "7");
}

TEST_F(FlyingNumbers, AWrongTwentyFirstAnswerLosesWithoutPoints) {
    play(Leicht);
    startNumbers();
    for (int i = 0; i < 9; ++i) {
        answerWrong();
    }
    for (int i = 0; i < 11; ++i) {
        answerRight();
    }
    answerWrong();
    EXPECT_FALSE(playing());
    EXPECT_EQ(h.start().lblPunkte8.Caption, "0");
    EXPECT_EQ(h.start().opt8.ForeColor, h.start().opt5.ForeColor);
}

TEST_F(FlyingNumbers, ANumberBouncesAtAnEdgeOnTheSameTick) {
    play(Normal);
    startNumbers();
    forms::Label& n = fly.lblZahl1;
    const int nearRight = fly.ScaleWidth - 500 - n.Width - 40;
    h.runtime.run([&] {
        n.Left = nearRight;
        n.Top = 3000;
    });
    h.ticks(1);
    EXPECT_EQ(n.Left, nearRight + 50);
    h.ticks(1);
    EXPECT_EQ(n.Left, nearRight);

    h.runtime.run([&] { n.Left = 540; });
    h.ticks(1);
    EXPECT_EQ(n.Left, 490);
    h.ticks(1);
    EXPECT_EQ(n.Left, 540);

    const int nearBottom = fly.ScaleHeight - n.Height - 50;
    const int top = n.Top;
    h.runtime.run([&] { n.Top = nearBottom; });
    h.ticks(1);
    EXPECT_EQ(n.Top, nearBottom + 75);
    h.ticks(1);
    EXPECT_EQ(n.Top, nearBottom);
    EXPECT_GT(top, 0);
}

TEST_F(FlyingNumbers, HomeLeavesWithoutPointsAndTheNextGameStartsAfresh) {
    play(VollSchwer);
    startNumbers();
    answerRight();
    h.click(fly.cmdEnde);
    EXPECT_FALSE(playing());
    EXPECT_EQ(h.start().lblPunkte8.Caption, "0");

    play(Leicht);
    EXPECT_EQ(h.shared().Punkte, -4);
    EXPECT_TRUE(fly.cmdStart.Visible);
    EXPECT_FALSE(fly.lblZahl1.Visible);
    EXPECT_EQ(fly.ActiveControl(), &fly.cmdStart);
    scriptLargest();
    startNumbers();
    EXPECT_EQ(number(fly.lblZahl1), 10);
}

class FlyingNumbersOnASmallScreen : public FlyingNumbers {
  protected:
    FlyingNumbersOnASmallScreen() : FlyingNumbers(kSmallScreen) {}
};

TEST_F(FlyingNumbersOnASmallScreen, TheBoxAndHomeShrinkAndComeBackEveryGame) {
    for (int game = 0; game < 3; ++game) {
        play(Normal);
        EXPECT_EQ(fly.txtEing.Left, 9424);
        EXPECT_EQ(fly.txtEing.Top, 3678);
        EXPECT_EQ(fly.txtEing.Height, 463);
        EXPECT_EQ(fly.txtEing.Width, 1181);
        EXPECT_EQ(fly.cmdEnde.Left, 10863);
        EXPECT_EQ(fly.cmdEnde.Top, 7403);
        h.click(fly.cmdEnde);
        EXPECT_EQ(fly.txtEing.Left, 12090);
        EXPECT_EQ(fly.cmdEnde.Top, 9600);
    }
}

} // namespace
