// A tablet turned round, or a window resized: the screens are zoomed to fit at once, a game in
// play keeps its layout and everything in it, and the next screen takes the best layout.

#include "support/GameHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;
using zifferix::Game;

namespace {

constexpr Game kEveryGame[] = {Game::Uhr,   Game::Berg,   Game::Bruchteile, Game::Netz,
                               Game::Waage, Game::Ballon, Game::Wander};

// Everything a child can see of a form: where each control is, whether it shows, its text.
std::vector<std::string> scene(const forms::Form& form) {
    std::vector<std::string> seen;
    for (const forms::Control* c : form.controls()) {
        std::string s = c->name() + (c->Visible ? " shown at " : " hidden at ");
        for (const int v : {c->Left, c->Top, c->Width, c->Height}) {
            s += std::to_string(v) + " ";
        }
        if (c->kind() == forms::ControlKind::Line) {
            const auto& line = static_cast<const forms::Line&>(*c);
            for (const int v : {line.X1, line.Y1, line.X2, line.Y2}) {
                s += std::to_string(v) + " ";
            }
        } else if (c->kind() == forms::ControlKind::Label) {
            s += static_cast<const forms::Label&>(*c).Caption;
        } else if (c->kind() == forms::ControlKind::TextBox) {
            s += static_cast<const forms::TextBox&>(*c).Text;
        }
        seen.push_back(s);
    }
    return seen;
}

class Turning : public ::testing::Test {
  protected:
    forms::FittedScreen screen;
    ProgramHarness h{screen};

    void SetUp() override {
        turnTo(1180, 820); // a landscape iPad
        h.run();
    }
    void turnTo(double width, double height) {
        screen.setArea(width, height);
        h.runtime.screenChanged();
    }
};

TEST_F(Turning, AGameInPlayKeepsItsLayoutAndEverythingInItWhileTheZoomFollows) {
    for (const Game game : kEveryGame) {
        showGame(h, game, Normal);
        forms::Form& form = h.program.screen(game);
        SCOPED_TRACE(form.name());
        h.ticks(700); // the glass fills, the balloon grows
        h.type("\r"); // the clock, the ball and the numbers start
        h.ticks(30);
        h.type("1");
        const std::vector<std::string> before = scene(form);
        const int width = h.runtime.screenWidth();

        turnTo(820, 1180);
        EXPECT_EQ(h.runtime.screenWidth(), width) << "the layout the game took";
        EXPECT_EQ(screen.layout(), forms::Layout::Normal);
        EXPECT_DOUBLE_EQ(screen.zoom().factor(), 820.0 / 1024) << "shrunk to fit upright";
        EXPECT_EQ(scene(form), before) << "the ball on its station, the water, the clock, the box";
        EXPECT_EQ(h.active(), &form);

        h.runtime.close(form);
        EXPECT_EQ(screen.layout(), forms::Layout::Small) << "the start screen takes the best";
        EXPECT_DOUBLE_EQ(screen.zoom().factor(), 820.0 / 800);
        turnTo(1180, 820);
    }
}

TEST_F(Turning, TheStartScreenTakesTheBestLayoutAtOnceAndKeepsTheChildsChoice) {
    zifferix::frmstart& s = h.start();
    const forms::Placement design = s.cmdAnfang.placement();
    h.click(s.opt4);
    h.click(s.optMittel);

    turnTo(820, 1180);
    EXPECT_EQ(screen.layout(), forms::Layout::Small);
    EXPECT_LT(s.cmdAnfang.Left + s.cmdAnfang.Width, forms::kSmallArea.width);
    EXPECT_TRUE(s.opt4.Value());
    EXPECT_TRUE(s.optMittel.Value());
    EXPECT_EQ(h.shared().Schwierigkeit, Normal);
    EXPECT_EQ(s.ActiveControl(), &s.optMittel);

    turnTo(1180, 820);
    EXPECT_EQ(s.cmdAnfang.placement(), design) << "back on the design's place, to the twip";
    h.click(s.cmdAnfang);
    EXPECT_EQ(h.active(), &h.program.screen(Game::Netz));
}

} // namespace
