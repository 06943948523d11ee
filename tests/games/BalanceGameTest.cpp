#include "Answers.h"
#include "GameHarness.h"

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

TEST_F(BalanceGame, TheLevelColoursFollowTheChartAndEighteenKeepsTheRedOne) {
    play(Normal);
    EXPECT_EQ(balance.txtErgebnis.BackColor, balance.Label4.BackColor) << "level 9 starts";
    EXPECT_EQ(balance.Label4.Caption, "Start");
    const forms::Label* worse[] = {&balance.Label5, &balance.Label3, &balance.Label2,
                                   &balance.Label1};
    for (const forms::Label* cell : worse) {
        wrong();
        EXPECT_EQ(balance.shpRechts.FillColor, cell->BackColor) << cell->name();
        wrong();
        EXPECT_EQ(balance.shpRechts.FillColor, cell->BackColor) << cell->name();
    }
    EXPECT_EQ(balance.shpLinks.FillColor, 0x0000FFu) << "level 17";
    wrong();
    EXPECT_EQ(balance.shpLinks.FillColor, 0x0000FFu) << "18 keeps red and goes back to 17";
    right();
    EXPECT_EQ(balance.shpLinks.FillColor, balance.Label1.BackColor) << "16";
    right();
    EXPECT_EQ(balance.shpLinks.FillColor, balance.Label2.BackColor) << "15";
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
