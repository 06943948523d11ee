#include "support/Answers.h"
#include "support/GameHarness.h"

#include <gtest/gtest.h>

using namespace testing_support;
using zifferix::frmUhr;
using zifferix::Game;

namespace {

class ClockRace : public ::testing::Test {
  protected:
    explicit ClockRace(int screenWidth = kLargeScreen) : h(screenWidth) {}

    ProgramHarness h;
    frmUhr& clock = static_cast<frmUhr&>(h.program.screen(Game::Uhr));

    void SetUp() override { h.run(); }

    // Starts the game and presses "Anfang" with Enter, as the focus is on it.
    void play(Level level) {
        h.startGame(h.start().opt1, levelOption(h.start(), level));
        h.type("\r");
    }
    void right(int times = 1) {
        for (int i = 0; i < times; ++i) {
            h.type(clockAnswer(clock) + "\r");
        }
    }
    void wrong() { h.type(forms::CStr(forms::Val(clockAnswer(clock)) + 1) + "\r"); }
    void seconds(int n) { h.advance(n * 1000); }
    bool playing() const { return h.active() == &clock; }
};

TEST_F(ClockRace, TenRightAnswersAtLeichtSucceedAtTheTickOfSecond63) {
    play(Leicht);
    EXPECT_EQ(clock.lblZähler.Caption, " 0 richtig");
    EXPECT_EQ(clock.lblZahl1.Caption[0], ' ') << "the factors are written with Str";
    right(10);
    EXPECT_EQ(clock.lblZähler.Caption, " 10 richtig");
    seconds(62);
    EXPECT_TRUE(playing());
    seconds(1);
    EXPECT_FALSE(playing());
    EXPECT_EQ(h.start().lblPunkte1.Caption, "15");
    EXPECT_EQ(h.start().lblPunkte1.ForeColor, 0x00FF00u);
    EXPECT_EQ(h.shared().Schwierigkeit, 0);
}

// The seconds left, every ten and the last five, in real seconds, each followed by the problem
// that it would otherwise cut off: more time makes them twice as many, and the screen says that
// more time is given.
TEST_F(ClockRace, SaysTheTimeLeftAndWithMoreTimeTheMinuteLastsTwo) {
    play(Leicht);
    EXPECT_FALSE(clock.lblMehrZeit.Visible);
    h.said();
    const std::string p = " " + clock.txtErgebnis.AccessibleDescription;
    seconds(10);
    EXPECT_EQ(h.said(), "Noch 50 Sekunden." + p);
    seconds(45);
    EXPECT_EQ(h.said(), "Noch 40 Sekunden." + p + " Noch 30 Sekunden." + p + " Noch 20 Sekunden." +
                            p + " Noch 10 Sekunden." + p + " Noch 5 Sekunden." + p);
    seconds(5);
    EXPECT_EQ(h.said(), "Noch 4 Sekunden." + p + " Noch 3 Sekunden." + p + " Noch 2 Sekunden." + p +
                            " Noch 1 Sekunde." + p + " Die Zeit ist um.");
    h.runtime.close(clock);
    h.program.giveMoreTime(true);
    play(Leicht);
    EXPECT_TRUE(clock.lblMehrZeit.Visible);
    right(10);
    h.said();
    seconds(10);
    EXPECT_EQ(h.said(), "Noch 110 Sekunden. " + clock.txtErgebnis.AccessibleDescription);
    seconds(125 - 10);
    EXPECT_TRUE(playing());
    seconds(1);
    EXPECT_FALSE(playing()) << "won at the tick of second 63 of the slow clock";
    EXPECT_EQ(h.start().lblPunkte1.Caption, "15") << "points as ever";
}

TEST_F(ClockRace, NineteenAtNormalFailAndNochmalStartsAFreshMinute) {
    play(Normal);
    right(19);
    seconds(63);
    EXPECT_TRUE(playing());
    EXPECT_EQ(clock.lblWiederholung.Caption,
              "Das war nicht genug, du hast nur 19 richtig gerechnet.");
    EXPECT_TRUE(clock.lblWiederholung.Visible);
    EXPECT_FALSE(clock.txtErgebnis.Enabled);
    EXPECT_EQ(h.shared().Punkte, 0);
    EXPECT_EQ(clock.ActiveControl(), &clock.start) << "Enter means nochmal";
    EXPECT_EQ(clock.shpkreis.Width, 4000 - 14 * 63) << "the clock stays as it ended";

    h.type("\r");
    EXPECT_FALSE(clock.lblWiederholung.Visible);
    EXPECT_EQ(clock.shpkreis.Width, 4000);
    EXPECT_EQ(clock.lin1.segment(), (forms::Segment{3000, 3000, 3000, 1000})) << "12 o'clock";
    EXPECT_EQ(clock.ActiveControl(), &clock.txtErgebnis);
    right(20);
    seconds(63);
    EXPECT_FALSE(playing());
    EXPECT_EQ(h.start().lblPunkte1.Caption, "30");
}

TEST_F(ClockRace, AfterTheMinuteAnAnswerIsStillTakenButEndsTheAttempt) {
    play(Leicht);
    seconds(30);
    const std::string factor = clock.lblZahl1.Caption;
    h.type("\r");
    EXPECT_EQ(clock.lblZahl1.Caption, factor) << "an empty box is a wrong answer";
    right(9);
    seconds(31);
    right();
    EXPECT_FALSE(playing()) << "the tenth right answer at second 61 counts and ends";
    EXPECT_EQ(h.start().lblPunkte1.Caption, "15");

    play(Leicht);
    right(9);
    seconds(61);
    wrong();
    EXPECT_TRUE(clock.lblWiederholung.Visible) << "a wrong answer at second 61 ends";
}

TEST_F(ClockRace, TheHandTurnsClockwiseFromTwelveAndTheFaceShrinksAboutItsCentre) {
    play(VollSchwer);
    EXPECT_EQ(clock.lin1.segment(), (forms::Segment{3000, 3000, 3000, 1000})) << "12 o'clock";
    seconds(15);
    EXPECT_EQ(clock.lin1.segment(), (forms::Segment{3000, 3000, 5000, 3000})) << "3 o'clock";
    EXPECT_EQ(clock.shpkreis.placement(), (forms::Placement{1105, 1000, 3790, 4000}));
    EXPECT_EQ(clock.shpkreis.BorderWidth, 15);
    seconds(15);
    EXPECT_EQ(clock.lin1.segment(), (forms::Segment{3000, 3000, 3000, 5000})) << "6 o'clock";
    seconds(15);
    EXPECT_EQ(clock.lin1.segment(), (forms::Segment{3000, 3000, 1000, 3000})) << "9 o'clock";
    seconds(15);
    EXPECT_EQ(clock.lin1.segment(), (forms::Segment{3000, 3000, 3000, 1000})) << "a full turn";
}

TEST_F(ClockRace, InTheRowASuccessAddsOnlyTheRightAnswersAndShowsTheMountain) {
    showGame(h, Game::Uhr, Leicht, true);
    h.type("\r");
    right(12);
    seconds(63);
    EXPECT_EQ(h.active(), &h.program.screen(Game::Berg));
    EXPECT_EQ(h.shared().GesamtPunkte, 12);
    EXPECT_EQ(h.shared().Schwierigkeit, 1);
    EXPECT_EQ(h.start().lblPunkte1.Caption, "0");
}

TEST_F(ClockRace, LeavingInTheMiddleStopsTheClockForTheNextGame) {
    play(Leicht);
    seconds(5);
    h.runtime.close(clock);
    h.startGame(h.start().opt1, h.start().optSchwer);
    seconds(100);
    EXPECT_TRUE(clock.cmdAnfang.Visible);
    EXPECT_FALSE(clock.Image1.Visible);
    EXPECT_TRUE(clock.Image3.Visible);
    EXPECT_EQ(clock.shpkreis.Width, 4000);
}

class ClockRaceOnASmallScreen : public ClockRace {
  protected:
    ClockRaceOnASmallScreen() : ClockRace(kSmallScreen) {}
};

TEST_F(ClockRaceOnASmallScreen, EveryGameMovesTheButtonsAndPicturesLeftFromTheDesign) {
    for (int game = 0; game < 3; ++game) {
        h.startGame(h.start().opt1, h.start().optEinfach);
        EXPECT_EQ(clock.start.Left, 4958);
        EXPECT_EQ(clock.cmdEnde.Left, 6322);
        EXPECT_EQ(clock.Image2.Left, 1263);
        EXPECT_EQ(clock.cmdAnfang.Left, 7735);
        h.runtime.close(clock);
        EXPECT_EQ(clock.start.Left, 6360);
        EXPECT_EQ(clock.Image2.Left, 2903);
    }
}

} // namespace
