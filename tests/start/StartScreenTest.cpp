#include "start/Ending.h"
#include "support/ProgramHarness.h"

#include <gtest/gtest.h>

using testing_support::kLargeScreen;
using testing_support::kSmallScreen;
using testing_support::ProgramHarness;
using testing_support::ShownMessage;
using namespace zifferix;

namespace {

constexpr forms::Color kGreen = 0x00FF00;
constexpr forms::Color kYellow = 0x00FFFF;
constexpr forms::Color kOrange = 0x0080FF;

class StartScreen : public ::testing::Test {
  protected:
    ProgramHarness h;
    frmstart& s = h.start();

    void SetUp() override { h.run(); }
    const std::vector<ShownMessage>& messages() { return h.fakes.messageBox.shown; }
};

TEST_F(StartScreen, OpensWithAnEmptyTableAndTheFocusOnTheStartButton) {
    EXPECT_EQ(h.active(), &s);
    EXPECT_EQ(s.Caption, "Zifferix 1");
    for (forms::Label* points : {&s.lblPunkte1, &s.lblPunkte2, &s.lblPunkte3, &s.lblPunkte4,
                                 &s.lblPunkte5, &s.lblPunkte6, &s.lblPunkte8, &s.lblPunkte10}) {
        EXPECT_EQ(points->Caption, "0") << points->name();
    }
    EXPECT_EQ(s.lblGesamt.Caption, "0");
    EXPECT_EQ(s.ActiveControl(), &s.cmdAnfang);
    EXPECT_EQ(h.shared().Schwierigkeit, 0);
}

TEST_F(StartScreen, StartingWithNothingChosenAsksOnlyForTheDifficulty) {
    h.shared().Punkte = 12;
    h.shared().GesamtPunkte = 40;
    h.click(s.cmdAnfang);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, "Du hast keinen Schwierigkeitsgrad gewählt!");
    EXPECT_EQ(messages()[0].title, "Fehler");
    EXPECT_EQ(messages()[0].style, 288);
    EXPECT_EQ(h.shared().Punkte, 0);
    EXPECT_EQ(h.shared().GesamtPunkte, 0);
}

TEST_F(StartScreen, AGameWithoutADifficultyStillAsksForTheDifficulty) {
    h.click(s.opt3);
    h.click(s.cmdAnfang);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, "Fehler");
    EXPECT_TRUE(s.opt3.Value());
    EXPECT_EQ(h.active(), &s);
}

TEST_F(StartScreen, ADifficultyWithoutAGameAsksWhichGameAndKeepsTheDifficulty) {
    h.click(s.optMittel);
    h.click(s.cmdAnfang);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, "Welches Spiel darf's denn sein?");
    EXPECT_EQ(messages()[0].title, "Was soll ich machen?");
    EXPECT_EQ(messages()[0].style, 288);
    EXPECT_EQ(h.shared().Schwierigkeit, 2);
    EXPECT_TRUE(s.optMittel.Value());
}

TEST_F(StartScreen, AGameOptionSendsTheFocusToTheStartButtonADifficultyKeepsIt) {
    h.click(s.opt4);
    EXPECT_EQ(s.ActiveControl(), &s.cmdAnfang);
    h.click(s.optSchwer);
    EXPECT_EQ(s.ActiveControl(), &s.optSchwer);
    EXPECT_EQ(h.shared().Schwierigkeit, 3);
    h.click(s.optEinfach);
    EXPECT_EQ(h.shared().Schwierigkeit, 1);
    EXPECT_FALSE(s.optSchwer.Value());
}

TEST_F(StartScreen, AfterAGameBothChoicesAreClearedAndTheStartButtonAsksForTheDifficulty) {
    h.startGame(s.opt1, s.optEinfach);
    EXPECT_EQ(h.active(), &h.program.screen(Game::Uhr));
    h.runtime.close(*h.active());
    EXPECT_EQ(h.active(), &s);
    EXPECT_FALSE(s.opt1.Value());
    EXPECT_FALSE(s.optEinfach.Value());
    EXPECT_EQ(h.shared().Schwierigkeit, 0);
    EXPECT_TRUE(messages().empty());

    h.click(s.cmdAnfang);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, "Fehler");
}

TEST_F(StartScreen, DasSpielStartsTheRowWithTheClockRace) {
    h.startGame(s.opt10, s.optMittel);
    EXPECT_EQ(h.shared().AllesHintereinander, 1);
    EXPECT_EQ(h.shared().Schwierigkeit, 2);
    EXPECT_EQ(h.active(), &h.program.screen(Game::Uhr));
}

TEST_F(StartScreen, EveryActivationAddsUpThePointsLabels) {
    h.runtime.run([&] {
        s.lblPunkte1.Caption = "12";
        s.lblPunkte3.Caption = "7";
        s.lblPunkte10.Caption = "250";
    });
    h.startGame(s.opt2, s.optMittel);
    h.runtime.close(*h.active());
    EXPECT_EQ(s.lblGesamt.Caption, "269");
}

TEST_F(StartScreen, TheExitButtonAndTheCloseBoxEndTheProgramWithoutAQuestion) {
    h.click(s.opt3);
    h.click(s.cmdEnde);
    EXPECT_EQ(h.fakes.programEnd.calls, 1);
    EXPECT_TRUE(messages().empty());

    ProgramHarness other;
    other.run();
    other.runtime.close(other.start());
    EXPECT_EQ(other.fakes.programEnd.calls, 1);
}

TEST_F(StartScreen, AltLettersStartAndEnd) {
    h.click(s.opt2);
    h.click(s.optEinfach);
    h.runtime.mnemonic(U'l');
    EXPECT_EQ(h.active(), &h.program.screen(Game::Berg));
    EXPECT_FALSE(s.opt2.Value());
    h.runtime.close(*h.active());
    h.runtime.mnemonic(U'A');
    EXPECT_EQ(h.fakes.programEnd.calls, 1);
}

TEST(StartScreenLayout, AWideScreenKeepsTheDesign) {
    ProgramHarness h(kLargeScreen);
    h.run();
    frmstart& s = h.start();
    EXPECT_EQ(s.Image1.Left, 1485);
    EXPECT_EQ(s.Frame1.Top, 3855);
    EXPECT_EQ(s.cmdAnfang.Left, 11160);
    EXPECT_EQ(s.cmdEnde.Top, 8400);
}

TEST(StartScreenLayout, ASmallScreenShrinksOnEveryActivationAndRestoresBeforeEveryGame) {
    ProgramHarness h(kSmallScreen);
    h.run();
    frmstart& s = h.start();
    const auto where = [&] {
        return std::vector<int>{s.Image1.Left,    s.Image1.Top,   s.Image1.Width, s.Image1.Height,
                                s.lblAutor.Left,  s.lblAutor.Top, s.Frame1.Left,  s.Frame1.Top,
                                s.Frame2.Left,    s.Frame2.Top,   s.cmdEnde.Left, s.cmdEnde.Top,
                                s.cmdAnfang.Left, s.cmdAnfang.Top};
    };
    const std::vector<int> small{1058, 329,  8957, 2151, 1069, 2588, 4056,
                                 2073, 1069, 3652, 1069, 6677, 9000, 6697};
    EXPECT_EQ(where(), small);

    for (int game = 0; game < 5; ++game) {
        h.startGame(s.opt4, s.optMittel);
        ASSERT_NE(h.active(), &s);
        h.runtime.close(*h.active());
        EXPECT_EQ(where(), small);
    }
}

TEST(StartScreenLayout, TheGameSeesTheDesignPositionsBehindIt) {
    ProgramHarness h(kSmallScreen);
    h.run();
    frmstart& s = h.start();
    h.startGame(s.opt3, s.optEinfach);
    ASSERT_NE(h.active(), &s);
    EXPECT_EQ(s.cmdEnde.Left, 1500);
    EXPECT_EQ(s.cmdAnfang.Top, 8490);
    EXPECT_EQ(s.Image1.Width, 11490);
}

TEST(BestScore, AHigherScoreReplacesTheLabelInTheColourOfItsLevel) {
    ProgramHarness h;
    forms::Label& points = h.start().lblPunkte3;
    keepBestScore(points, 27, 1);
    EXPECT_EQ(points.Caption, "27");
    EXPECT_EQ(points.ForeColor, kGreen);

    keepBestScore(points, 27, 3);
    keepBestScore(points, 12, 2);
    EXPECT_EQ(points.Caption, "27");
    EXPECT_EQ(points.ForeColor, kGreen);

    keepBestScore(points, 40, 2);
    EXPECT_EQ(points.Caption, "40");
    EXPECT_EQ(points.ForeColor, kYellow);
}

TEST(BestScore, ANegativeScoreNeverBeatsTheEmptyTable) {
    ProgramHarness h;
    forms::Label& points = h.start().lblPunkte6;
    keepBestScore(points, -3, 1);
    EXPECT_EQ(points.Caption, "0");
}

TEST(OptionColour, ShowsTheHighestLevelTheGameWasWonAt) {
    ProgramHarness h;
    forms::OptionButton& option = h.start().opt8;
    const forms::Color design = option.ForeColor;
    colourOption(option, 2);
    EXPECT_EQ(option.ForeColor, kYellow);
    colourOption(option, 1);
    EXPECT_EQ(option.ForeColor, kYellow);
    colourOption(option, 3);
    EXPECT_EQ(option.ForeColor, kOrange);
    colourOption(option, 1);
    colourOption(option, 2);
    EXPECT_EQ(option.ForeColor, kOrange);

    forms::OptionButton& fresh = h.start().opt5;
    ASSERT_EQ(fresh.ForeColor, design);
    colourOption(fresh, 1);
    EXPECT_EQ(fresh.ForeColor, kGreen);
}

} // namespace
