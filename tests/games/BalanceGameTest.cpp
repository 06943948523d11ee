#include "support/Answers.h"
#include "support/GameHarness.h"

#include <gtest/gtest.h>

using namespace testing_support;
using zifferix::frmwaage;
using zifferix::Game;

namespace {

class BalanceGame : public ::testing::Test {
  protected:
    explicit BalanceGame(int screenWidth = kLargeScreen) : h(screenWidth) {}

    ProgramHarness h;
    frmwaage& balance = static_cast<frmwaage&>(h.program.screen(Game::Waage));

    void SetUp() override { h.run(); }

    void play(Level level) { h.startGame(h.start().opt5, levelOption(h.start(), level)); }
    // An answer, then the Enter that poses the next problem.
    void right() { h.type(balanceAnswer(balance) + "\r\r"); }
    void wrong() { h.type(forms::CStr(forms::Val(balanceAnswer(balance)) + 1) + "\r\r"); }
    bool playing() const { return h.active() == &balance; }
    // 20 + 5 on the left, 12 + on the right at leicht.
    void script20Plus5And12() {
        h.random().push({ScriptedRandom::pick(17, 23), ScriptedRandom::pick(3, 14),
                         ScriptedRandom::pick(11, 35)});
    }
};

TEST_F(BalanceGame, TenRightAnswersWinAndEveryMistakeCostsOneMore) {
    struct Case {
        int wrongFirst;
        int rightNeeded;
        std::string score;
    };
    for (const Case& c : {Case{0, 10, "25"}, Case{1, 11, "23"}, Case{8, 18, "9"}}) {
        h.start().lblPunkte5.Caption = "0";
        play(Leicht);
        for (int i = 0; i < c.wrongFirst; ++i) {
            wrong();
        }
        for (int i = 0; i < c.rightNeeded - 1; ++i) {
            right();
        }
        h.type(balanceAnswer(balance) + "\r");
        EXPECT_TRUE(playing()) << "the last answer waits for its Enter";
        EXPECT_EQ(balance.shpLinks.FillColor, 0x00FF00u);
        h.type("\r");
        EXPECT_FALSE(playing());
        EXPECT_EQ(h.start().lblPunkte5.Caption, c.score);
        EXPECT_EQ(h.start().lblPunkte5.ForeColor, 0x00FF00u);
    }
}

TEST_F(BalanceGame, AWrongAnswerTipsTheHeavierSideDownAndShowsTheRightNumber) {
    struct Case {
        const char* typed;
        int left;
        int right;
        const forms::Label frmwaage::*shown;
    };
    for (const Case& c : {Case{"14", -500, 500, &frmwaage::lblkorrekt1},
                          Case{"12", 500, -500, &frmwaage::lblkorrekt2}}) {
        script20Plus5And12();
        play(Leicht);
        EXPECT_EQ(balance.lblLinks.Caption, "20 + 5");
        EXPECT_EQ(balance.lblRechts.Caption, "12 + ");
        h.type(std::string(c.typed) + "\r");
        EXPECT_EQ((balance.*c.shown).Caption, " 13");
        EXPECT_EQ(h.shared().Punkte, 13);
        EXPECT_EQ(balance.lnwaage.segment(),
                  (forms::Segment{2000, 3000 + c.left, 10000, 3000 + c.right}));
        EXPECT_EQ(balance.lnLinks.segment(),
                  (forms::Segment{2000, 3000 + c.left, 2000, 4000 + c.left}));
        EXPECT_EQ(balance.shpRechts.Top, 4000 + c.right);
        EXPECT_EQ(balance.txtErgebnis.Top, 4030 + c.right);
        EXPECT_EQ(balance.lblLinks.Top, 4030 + c.left);

        h.type("\r");
        EXPECT_EQ(balance.lnwaage.segment(), (forms::Segment{2000, 3000, 10000, 3000}));
        EXPECT_EQ(balance.txtErgebnis.Top, 4030);
        EXPECT_EQ((balance.*c.shown).Caption, "");
        EXPECT_EQ(balance.shpLinks.FillColor, 0xFF0000u) << "level 10";
        h.click(balance.cmdEnde);
    }
}

TEST_F(BalanceGame, TheNextEnterPosesTheNextProblemAndNeverJudgesAgain) {
    script20Plus5And12();
    play(Leicht);
    EXPECT_EQ(balance.ActiveControl(), &balance.txtErgebnis);
    h.type("013\r");
    EXPECT_EQ(balance.lblrichtig.Caption, "richtig");
    EXPECT_FALSE(balance.txtErgebnis.Enabled);
    EXPECT_EQ(balance.ActiveControl(), &balance.cmdStart);
    h.type("\r");
    EXPECT_EQ(balance.lblrichtig.Caption, "");
    EXPECT_EQ(balance.ActiveControl(), &balance.txtErgebnis);
    h.type("\r0\r\r");
    EXPECT_EQ(h.shared().Punkte, 15);
    EXPECT_EQ(balance.shpLinks.FillColor, 0xFF8080u) << "level 8 shares its cell with 9";
}

TEST_F(BalanceGame, ThePansAndTheChartShowEachLevelInItsOwnColour) {
    // The chart from "toll" down to "Achtung"; each colour covers two levels, 0 and 1 the best.
    const std::pair<forms::Label frmwaage::*, forms::Color> chart[] = {
        {&frmwaage::Label10, 0x00FF00}, {&frmwaage::Label9, 0x80FF80},
        {&frmwaage::Label8, 0xC0FFC0},  {&frmwaage::Label7, 0xFFC0C0},
        {&frmwaage::Label4, 0xFF8080},  {&frmwaage::Label5, 0xFF0000},
        {&frmwaage::Label3, 0xC0C0FF},  {&frmwaage::Label2, 0x8080FF},
        {&frmwaage::Label1, 0x0000FF},
    };
    const auto colourOf = [&](int level) { return chart[level / 2].second; };
    const auto pansShow = [&](forms::Color colour) {
        return balance.shpLinks.FillColor == colour && balance.shpRechts.FillColor == colour &&
               balance.txtErgebnis.BackColor == colour;
    };
    play(Normal);
    for (const auto& [cell, colour] : chart) {
        EXPECT_EQ((balance.*cell).BackColor, colour) << (balance.*cell).name();
    }
    EXPECT_EQ(balance.Label4.Caption, "Start");
    EXPECT_TRUE(pansShow(0xFF8080)) << "level 9 starts";
    for (int level = 10; level <= 17; ++level) {
        wrong();
        EXPECT_TRUE(pansShow(colourOf(level))) << "level " << level;
    }
    wrong();
    EXPECT_TRUE(pansShow(0x0000FF)) << "18 keeps the red of 17, and goes back to 17";
    for (int level = 16; level >= 0; --level) {
        right();
        EXPECT_TRUE(pansShow(colourOf(level))) << "level " << level;
    }
}

TEST_F(BalanceGame, InTheRowAWinAddsThePointsWithoutBonusAndShowsTheSpider) {
    showGame(h, Game::Waage, VollSchwer, true);
    wrong();
    for (int i = 0; i < 11; ++i) {
        right();
    }
    EXPECT_EQ(h.active(), &h.program.screen(Game::Netz));
    EXPECT_EQ(h.shared().GesamtPunkte, 28);
    EXPECT_EQ(h.start().lblPunkte5.Caption, "0");
}

class BalanceGameOnASmallScreen : public BalanceGame {
  protected:
    BalanceGameOnASmallScreen() : BalanceGame(kSmallScreen) {}
};

TEST_F(BalanceGameOnASmallScreen, TheChartIsARowBelowTheBalanceInEveryGame) {
    for (int game = 0; game < 3; ++game) {
        play(Leicht);
        EXPECT_EQ(balance.Label1.placement(), (forms::Placement{700, 6700, 900, 400}));
        EXPECT_EQ(balance.Label10.placement(), (forms::Placement{10300, 6700, 900, 400}));
        EXPECT_EQ(balance.cmdEnde.placement(), (forms::Placement{10687, 7507, 959, 428}));
        EXPECT_EQ(balance.Image1.placement(), (forms::Placement{2500, 500, 7074, 2232}));
        EXPECT_EQ(balance.shpRechts.Left, 9000) << "the balance keeps its place";
        h.click(balance.cmdEnde);
        EXPECT_EQ(balance.Label1.placement(), (forms::Placement{11835, 8220, 1215, 495}));
        EXPECT_EQ(balance.cmdEnde.placement(), (forms::Placement{13710, 9735, 1230, 555}));
    }
}

} // namespace
