#include "support/Answers.h"
#include "support/GameHarness.h"
#include "support/Play.h"

#include <gtest/gtest.h>

using namespace testing_support;
using zifferix::frmBallon;
using zifferix::frmbruchteile;
using zifferix::frmWander;
using zifferix::Game;

namespace {

// The last three games of the row, handed over to as the spider game would: the order the row
// must keep.
class Row : public ::testing::Test {
  protected:
    ProgramHarness h;
    frmBallon& balloon = static_cast<frmBallon&>(h.program.screen(Game::Ballon));
    frmWander& fly = static_cast<frmWander&>(h.program.screen(Game::Wander));
    frmbruchteile& glass = static_cast<frmbruchteile&>(h.program.screen(Game::Bruchteile));

    void SetUp() override { h.run(); }

    void winBalloon() {
        for (int i = 0; i < 6; ++i) {
            for (int t = 0; t < 2000 && !balloon.txtEing.Enabled; ++t) {
                h.ticks(1);
            }
            h.type(balloonAnswer(balloon) + "\r");
        }
        h.advance(400 * 60);
    }
    void winFlying(int wrongFirst = 0) {
        h.click(fly.cmdStart);
        for (int i = 0; i < wrongFirst; ++i) {
            h.type("999\r");
        }
        for (int i = 0; i < 12; ++i) {
            h.type(flyingAnswer(fly) + "\r");
        }
    }
    void winGlass() {
        h.ticks(667);
        while (h.active() == &glass) {
            h.type(glassAnswer(glass) + "\r");
        }
    }
};

TEST_F(Row, BalloonFlyingNumbersAndGlassHandOverAndUnwindToTheStartScreen) {
    showGame(h, Game::Ballon, Normal, true);
    winBalloon();
    EXPECT_EQ(h.active(), &fly);
    EXPECT_EQ(h.shared().GesamtPunkte, 20);
    EXPECT_TRUE(balloon.Visible());
    EXPECT_EQ(h.start().lblPunkte6.Caption, "0");

    h.said();
    winFlying();
    EXPECT_EQ(h.active(), &glass);
    EXPECT_EQ(h.shared().GesamtPunkte, 20 + 25);
    EXPECT_TRUE(h.said().ends_with("Geschafft! Zusammen 45 Punkte. Weiter mit: ein Glas füllen."));

    winGlass();
    EXPECT_TRUE(h.said().ends_with("Das Spiel gewonnen! 154 Punkte."));
    EXPECT_EQ(h.active(), &h.start());
    EXPECT_FALSE(balloon.Visible());
    EXPECT_FALSE(fly.Visible());
    EXPECT_EQ(h.shared().GesamtPunkte, 20 + 25 + 29 + 80);
    EXPECT_EQ(h.start().lblPunkte10.Caption, "154");
    EXPECT_EQ(h.start().lblPunkte10.ForeColor, 0x00FFFFu);
    EXPECT_EQ(h.start().opt10.ForeColor, 0x00FFFFu);
    for (forms::Label* points :
         {&h.start().lblPunkte3, &h.start().lblPunkte6, &h.start().lblPunkte8}) {
        EXPECT_EQ(points->Caption, "0");
    }
    EXPECT_EQ(h.start().lblGesamt.Caption, "154");
    EXPECT_EQ(h.shared().Schwierigkeit, 0);
    EXPECT_FALSE(h.runtime.animating());
}

TEST_F(Row, TheDifficultyStaysForTheWholeRow) {
    showGame(h, Game::Ballon, VollSchwer, true);
    winBalloon();
    EXPECT_EQ(h.shared().Schwierigkeit, 3);
    EXPECT_EQ(h.shared().Punkte, 6);
    winFlying();
    EXPECT_EQ(h.shared().Punkte, 45);
}

TEST_F(Row, HomeInTheMiddleEndsTheRowWithoutItsTotal) {
    showGame(h, Game::Ballon, Leicht, true);
    winBalloon();
    h.click(fly.cmdEnde);
    EXPECT_EQ(h.active(), &h.start());
    EXPECT_FALSE(balloon.Visible());
    EXPECT_EQ(h.start().lblPunkte10.Caption, "0");
    EXPECT_EQ(h.shared().GesamtPunkte, 15);
}

TEST_F(Row, AWinningTwentyFirstAnswerHandsOverFromTheHiddenScreenAndUnwindsThroughIt) {
    showGame(h, Game::Wander, Leicht, true);
    h.click(fly.cmdStart);
    for (int i = 0; i < 9; ++i) {
        h.type("999\r");
    }
    for (int i = 0; i < 12; ++i) {
        h.type(flyingAnswer(fly) + "\r");
    }
    EXPECT_EQ(h.active(), &glass);
    EXPECT_FALSE(fly.Visible());
    EXPECT_EQ(h.shared().GesamtPunkte, -4 + 24 - 18);

    winGlass();
    EXPECT_EQ(h.active(), &h.start());
    EXPECT_EQ(h.shared().GesamtPunkte, 2 + 22 + 50);
    EXPECT_EQ(h.start().lblPunkte10.Caption, "74");
    EXPECT_EQ(h.shared().Punkte, 22) << "no game beneath was activated again on the way down";
}

TEST_F(Row, AnEmptiedGlassEndsTheRowWithoutItsTotal) {
    showGame(h, Game::Wander, Normal, true);
    winFlying();
    h.advance(2 * 60 * 1000);
    EXPECT_EQ(h.active(), &h.start());
    EXPECT_EQ(h.start().lblPunkte10.Caption, "0");
}

// The whole row from "das Spiel", through the runtime as the start screen plays it.
class WholeRow : public ::testing::Test {
  protected:
    ProgramHarness h;
    static constexpr auto& kOrder = zifferix::kRow;

    void SetUp() override { h.run(); }
    void startRow(Level level) { h.startGame(h.start().opt10, levelOption(h.start(), level)); }
};

TEST_F(WholeRow, SevenGamesWonAddUpTheirPointsAndTheBonusIntoTheRowsLabel) {
    startRow(Leicht);
    // Points each game hands over without mistakes: 10 right in the minute, the mountain's,
    // the balance's, the spider's and the balloon's start values, flying numbers' 2 a problem.
    const auto handedOver = [](Game game) {
        switch (game) {
        case Game::Uhr:
            return 10;
        case Game::Netz:
            return 16;
        case Game::Wander:
            return 20;
        default:
            return 15;
        }
    };
    int total = 0;
    for (std::size_t i = 0; i + 1 < kOrder.size(); ++i) {
        ASSERT_EQ(h.active(), &h.program.screen(kOrder[i])) << i;
        winGame(h, kOrder[i]);
        total += handedOver(kOrder[i]);
        EXPECT_EQ(h.shared().GesamtPunkte, total) << i;
    }
    winGame(h, kOrder.back());
    ASSERT_EQ(h.active(), &h.start());
    const int expected = total + h.shared().Punkte + 50;
    EXPECT_EQ(h.shared().GesamtPunkte, expected);
    EXPECT_EQ(h.start().lblPunkte10.Caption, forms::CStr(expected));
    EXPECT_EQ(h.start().lblPunkte10.ForeColor, 0x00FF00u);
    EXPECT_EQ(h.start().lblGesamt.Caption, forms::CStr(expected));
    for (Game game : kOrder) {
        EXPECT_FALSE(h.program.screen(game).Visible());
    }
    EXPECT_FALSE(h.runtime.animating());
}

TEST_F(WholeRow, AtVollSchwerTheBonusIs110AndALowerRowLaterLeavesTheBestInOrange) {
    startRow(VollSchwer);
    for (std::size_t i = 0; i + 1 < kOrder.size(); ++i) {
        ASSERT_EQ(h.active(), &h.program.screen(kOrder[i])) << i;
        winGame(h, kOrder[i]);
    }
    const int handedOver = h.shared().GesamtPunkte;
    winGame(h, kOrder.back());
    ASSERT_EQ(h.active(), &h.start());
    const int best = h.shared().GesamtPunkte;
    EXPECT_EQ(best, handedOver + h.shared().Punkte + 110);
    EXPECT_EQ(h.start().lblPunkte10.Caption, forms::CStr(best));
    EXPECT_EQ(h.start().lblPunkte10.ForeColor, 0x0080FFu);
    EXPECT_EQ(h.start().opt10.ForeColor, 0x0080FFu);

    startRow(Leicht);
    for (Game game : kOrder) {
        winGame(h, game);
    }
    ASSERT_EQ(h.active(), &h.start());
    ASSERT_LT(h.shared().GesamtPunkte, best);
    EXPECT_EQ(h.start().lblPunkte10.Caption, forms::CStr(best)) << "the best row stays";
    EXPECT_EQ(h.start().lblPunkte10.ForeColor, 0x0080FFu);
    EXPECT_EQ(h.start().opt10.ForeColor, 0x0080FFu);
}

TEST_F(WholeRow, LeavingAnyGameUnwindsToTheStartScreenWithNothingWritten) {
    for (std::size_t leaveAt = 0; leaveAt < kOrder.size(); ++leaveAt) {
        startRow(Normal);
        for (std::size_t i = 0; i < leaveAt; ++i) {
            winGame(h, kOrder[i]);
        }
        forms::Form& game = h.program.screen(kOrder[leaveAt]);
        ASSERT_EQ(h.active(), &game);
        h.runtime.close(game);
        EXPECT_EQ(h.active(), &h.start()) << "left at game " << leaveAt;
        EXPECT_EQ(h.start().lblGesamt.Caption, "0");
        EXPECT_EQ(h.shared().Schwierigkeit, 0);
        EXPECT_FALSE(h.runtime.animating());
    }
}

} // namespace
