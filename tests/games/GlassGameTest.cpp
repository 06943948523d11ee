#include "support/Answers.h"
#include "support/GameHarness.h"

#include <gtest/gtest.h>

using namespace testing_support;
using zifferix::frmbruchteile;
using zifferix::Game;

namespace {

constexpr int kFirstFillingTicks = 667; // 3 twips a tick up to 2001

class GlassGame : public ::testing::Test {
  protected:
    explicit GlassGame(int screenWidth = kLargeScreen) : h(screenWidth) {}

    ProgramHarness h;
    frmbruchteile& glass = static_cast<frmbruchteile&>(h.program.screen(Game::Bruchteile));

    void SetUp() override { h.run(); }

    void play(Level level) { h.startGame(h.start().opt3, levelOption(h.start(), level)); }
    void fillFirst() { h.ticks(kFirstFillingTicks); }
    // A draw that Int(Rnd * n) + 1 turns into k.
    static float pick(int k, int n) { return ScriptedRandom::pick(k - 1, n); }
    // The next problem: numerator / denominator of a number.
    void script(int zaehler, int nenner, int zahl) {
        h.random().push({pick(zaehler, 10), pick(nenner, 10), pick(zahl, 100)});
    }
    int zaehler() const { return static_cast<int>(forms::Val(glass.lblZähler.Caption)); }
    int nenner() const { return static_cast<int>(forms::Val(glass.lblNenner.Caption)); }
    int zahl() const { return static_cast<int>(forms::Val(glass.lblZahl.Caption)); }
    void answer(int value) { h.type(std::to_string(value) + "\r"); }
    void answerRight() { h.type(glassAnswer(glass) + "\r"); }
    bool playing() const { return h.active() == &glass; }
};

TEST_F(GlassGame, TheFirstFillingEndsAt2001AndPosesTheFirstProblem) {
    play(Leicht);
    EXPECT_EQ(glass.shpGlas.Height, 0);
    h.ticks(kFirstFillingTicks - 1);
    EXPECT_EQ(glass.shpGlas.Height, 1998);
    EXPECT_FALSE(glass.txtErgebnis.Visible);
    EXPECT_FALSE(glass.lblZähler.Visible);

    h.ticks(1);
    EXPECT_EQ(glass.shpGlas.Height, 2001);
    EXPECT_EQ(glass.shpGlas.Top, 10000 - 2001);
    for (forms::Control* c : std::initializer_list<forms::Control*>{
             &glass.lblZähler, &glass.lblNenner, &glass.lblZahl, &glass.lblvon, &glass.lblgleich,
             &glass.Line1, &glass.txtErgebnis}) {
        EXPECT_TRUE(c->Visible) << c->name();
    }
    EXPECT_TRUE(glass.Image1.Visible);
    EXPECT_EQ(glass.ActiveControl(), &glass.txtErgebnis);
}

TEST_F(GlassGame, AnUnansweredGlassEmptiesAfter200DrainTicksAndScoresNothing) {
    const forms::Color design = h.start().opt3.ForeColor;
    play(Leicht);
    fillFirst();
    h.advance(199 * 600);
    EXPECT_TRUE(playing());
    EXPECT_EQ(glass.shpGlas.Height, 11);
    h.advance(600);
    EXPECT_FALSE(glass.Visible());
    EXPECT_EQ(h.active(), &h.start());
    EXPECT_EQ(h.start().lblPunkte3.Caption, "0");
    EXPECT_EQ(h.start().opt3.ForeColor, design);
    EXPECT_FALSE(h.runtime.animating());
}

TEST_F(GlassGame, TheDrainIsFasterAtHigherLevels) {
    play(VollSchwer);
    fillFirst();
    h.advance(200 * 300 - 1);
    EXPECT_TRUE(playing());
    h.advance(1);
    EXPECT_FALSE(playing());

    play(Normal);
    fillFirst();
    h.advance(200 * 400);
    EXPECT_FALSE(playing());
}

// A teacher gives more time: the glass drains half as fast, and the screen says so.
TEST_F(GlassGame, WithMoreTimeTheGlassTakesTwiceAsLongToEmpty) {
    h.program.giveMoreTime(true);
    play(VollSchwer);
    fillFirst();
    EXPECT_TRUE(glass.lblMehrZeit.Visible);
    h.advance(200 * 600 - 1);
    EXPECT_TRUE(playing());
    h.advance(1);
    EXPECT_FALSE(playing());
    h.program.giveMoreTime(false);
    play(VollSchwer);
    EXPECT_FALSE(glass.lblMehrZeit.Visible);
}

TEST_F(GlassGame, TheEarliestWinIsTheEighthRightAnswerAndScores27AtLeicht) {
    play(Leicht);
    fillFirst();
    for (int i = 0; i < 7; ++i) {
        answerRight();
        ASSERT_TRUE(playing()) << "after right answer " << i + 1;
    }
    answerRight();
    EXPECT_FALSE(playing());
    EXPECT_EQ(h.shared().Punkte, 27);
    EXPECT_EQ(h.start().lblPunkte3.Caption, "27");
    EXPECT_EQ(h.start().lblPunkte3.ForeColor, 0x00FF00u);
    EXPECT_EQ(h.start().opt3.ForeColor, 0x00FF00u);
    EXPECT_EQ(h.start().lblGesamt.Caption, "27");
    EXPECT_FALSE(h.start().optEinfach.Value());
}

TEST_F(GlassGame, ARightAnswerShowsInTheGlassAtTheNextDrainTick) {
    play(Normal);
    fillFirst();
    answerRight();
    EXPECT_EQ(glass.shpGlas.Height, 2001);
    EXPECT_FALSE(glass.Image1.Visible);
    h.advance(400);
    EXPECT_EQ(glass.shpGlas.Height, 2491);
}

TEST_F(GlassGame, AWrongAnswerCostsOnePointAndKeepsTheProblem) {
    play(Leicht);
    script(3, 10, 90);
    fillFirst();
    answer(26);
    EXPECT_EQ(h.shared().Punkte, 29);
    EXPECT_EQ(glass.txtErgebnis.Text, "");
    EXPECT_EQ(zaehler(), 3);
    EXPECT_EQ(zahl(), 90);
    answer(27);
    EXPECT_EQ(h.shared().Punkte, 28);
    EXPECT_NE(glass.lblZahl.Caption, "90");
}

TEST_F(GlassGame, EnterOnAnEmptyBoxOrOnZeroCostsNothing) {
    play(Leicht);
    fillFirst();
    h.type("\r");
    h.type("0\r");
    h.type("\b00\r");
    EXPECT_EQ(h.shared().Punkte, 30);
    EXPECT_EQ(glass.txtErgebnis.Text, "00");
}

TEST_F(GlassGame, OnlyDigitsCanBeTypedAtMostThreeAndBackspaceClearsTheBox) {
    play(Leicht);
    fillFirst();
    h.type("1a2,-3 4");
    EXPECT_EQ(glass.txtErgebnis.Text, "123");
    h.type("\b");
    EXPECT_EQ(glass.txtErgebnis.Text, "");
}

TEST_F(GlassGame, FractionsAreProperAtLeichtAndNormal) {
    play(Normal);
    h.random().push({pick(5, 10), pick(5, 10), // 5/5: drawn again
                     pick(7, 10), pick(3, 10), // 7/3: drawn again
                     pick(2, 10), pick(5, 10), // 2/5
                     pick(7, 100),             // 7 is no multiple of 5: drawn again
                     pick(60, 100),            // 60 / 5 = 12 is not below 12: drawn again
                     pick(55, 100)});
    fillFirst();
    EXPECT_EQ(zaehler(), 2);
    EXPECT_EQ(nenner(), 5);
    EXPECT_EQ(zahl(), 55);
}

TEST_F(GlassGame, VollSchwerAllowsImproperFractionsButNeverEqualParts) {
    play(VollSchwer);
    h.random().push({pick(4, 10), pick(4, 10), pick(10, 10), pick(7, 10), pick(98, 100)});
    fillFirst();
    EXPECT_EQ(zaehler(), 10);
    EXPECT_EQ(nenner(), 7);
    EXPECT_EQ(zahl(), 98);
    answer(140);
    EXPECT_EQ(h.shared().Punkte, 44);
    EXPECT_FALSE(glass.Image1.Visible);
}

TEST_F(GlassGame, EveryProblemFollowsTheRulesOfItsLevel) {
    for (Level level : {Leicht, Normal, VollSchwer}) {
        const int limit = level == Leicht ? 10 : level == Normal ? 12 : 15;
        for (int game = 0; game < 15; ++game) {
            play(level);
            fillFirst();
            while (playing()) {
                const int z = zaehler();
                const int n = nenner();
                const int x = zahl();
                ASSERT_GE(z, 1);
                ASSERT_LE(n, 10);
                ASSERT_EQ(x % n, 0);
                ASSERT_LT(x / n, limit);
                if (level == VollSchwer) {
                    ASSERT_NE(z, n);
                } else {
                    ASSERT_LT(z, n);
                }
                answerRight();
            }
        }
    }
}

TEST_F(GlassGame, TheHomeButtonStaysOffOnlyDuringTheFirstProblemOfTheRun) {
    play(Leicht);
    EXPECT_FALSE(glass.cmdEnde.Enabled);
    fillFirst();
    EXPECT_FALSE(glass.cmdEnde.Enabled);
    answerRight();
    EXPECT_TRUE(glass.cmdEnde.Enabled);
    h.click(glass.cmdEnde);
    EXPECT_FALSE(playing());
    EXPECT_EQ(h.start().lblPunkte3.Caption, "0");

    play(Leicht);
    EXPECT_FALSE(glass.cmdEnde.Enabled);
    fillFirst();
    EXPECT_TRUE(glass.cmdEnde.Enabled);
}

TEST_F(GlassGame, TheCloseBoxLeavesEvenDuringTheFirstFilling) {
    play(Leicht);
    h.ticks(100);
    h.runtime.close(glass);
    EXPECT_FALSE(playing());
    EXPECT_FALSE(h.runtime.animating());
}

TEST_F(GlassGame, ALowerScoreLeavesTheBestOneAndAHigherLevelColoursTheOption) {
    h.runtime.run([&] { h.start().lblPunkte3.Caption = "50"; });
    play(VollSchwer);
    fillFirst();
    while (playing()) {
        answerRight();
    }
    EXPECT_EQ(h.shared().Punkte, 45 - 8 + 15);
    EXPECT_EQ(h.start().lblPunkte3.Caption, "52");
    EXPECT_EQ(h.start().lblPunkte3.ForeColor, 0x0080FFu);

    play(Leicht);
    fillFirst();
    while (playing()) {
        answerRight();
    }
    EXPECT_EQ(h.start().lblPunkte3.Caption, "52");
    EXPECT_EQ(h.start().opt3.ForeColor, 0x0080FFu);
}

TEST_F(GlassGame, TheRowEndAddsThePointsAndTheRowBonusAndWritesTheRowLabel) {
    showGame(h, Game::Bruchteile, Normal, true);
    h.runtime.run([&] { h.shared().GesamtPunkte = 100; });
    fillFirst();
    while (playing()) {
        answerRight();
    }
    EXPECT_EQ(h.shared().Punkte, 37 - 8);
    EXPECT_EQ(h.shared().GesamtPunkte, 100 + 29 + 80);
    EXPECT_EQ(h.start().lblPunkte10.Caption, "209");
    EXPECT_EQ(h.start().lblPunkte10.ForeColor, 0x00FFFFu);
    EXPECT_EQ(h.start().opt10.ForeColor, 0x00FFFFu);
    EXPECT_EQ(h.start().lblPunkte3.Caption, "0");
}

TEST_F(GlassGame, AnEmptiedGlassInTheRowAddsNothing) {
    showGame(h, Game::Bruchteile, VollSchwer, true);
    h.runtime.run([&] { h.shared().GesamtPunkte = 70; });
    fillFirst();
    h.advance(200 * 300);
    EXPECT_FALSE(playing());
    EXPECT_EQ(h.shared().GesamtPunkte, 70);
    EXPECT_EQ(h.start().lblPunkte10.Caption, "0");
}

class GlassGameOnASmallScreen : public GlassGame {
  protected:
    GlassGameOnASmallScreen() : GlassGame(kSmallScreen) {}
};

TEST_F(GlassGameOnASmallScreen, TheGlassStandsHigherAndRepeatedGamesDoNotShiftIt) {
    for (int game = 0; game < 4; ++game) {
        play(Leicht);
        fillFirst();
        EXPECT_EQ(glass.Image1.Left, 257);
        EXPECT_EQ(glass.Image1.Top, 3200);
        EXPECT_EQ(glass.Image1.Width, 6500);
        EXPECT_EQ(glass.Image1.Height, 1400);
        EXPECT_EQ(glass.cmdEnde.Left, 10769);
        EXPECT_EQ(glass.cmdEnde.Top, 7287);
        EXPECT_EQ(glass.Line2.Y1, 2000);
        EXPECT_EQ(glass.Line3.Y2, 8000);
        EXPECT_EQ(glass.Line4.Y1, 8000);
        EXPECT_EQ(glass.shpGlas.Top, 8000 - 2001);
        EXPECT_EQ(glass.txtErgebnis.Left, 4785);
        h.runtime.close(glass);
        EXPECT_EQ(glass.Image1.Left, 330);
        EXPECT_EQ(glass.cmdEnde.Left, 13815);
        EXPECT_EQ(glass.Line2.Y2, 10000);
    }
}

} // namespace
