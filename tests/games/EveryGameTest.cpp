// What every game owes a child, whichever game it is.

#include "support/GameHarness.h"
#include "support/Play.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

using namespace testing_support;
using zifferix::frmstart;
using zifferix::Game;

namespace {

struct GameCase {
    Game game;
    forms::OptionButton frmstart::*option;
    forms::Label frmstart::*points;
    // How much time passes before the child can act.
    int ticksToGetReady;
    // Where the child acts first: the start button where the game has one, else the box.
    std::string firstAct;
};

const GameCase kGames[] = {
    {Game::Uhr, &frmstart::opt1, &frmstart::lblPunkte1, 0, "cmdAnfang"},
    {Game::Berg, &frmstart::opt2, &frmstart::lblPunkte2, 0, "cmdLos"},
    {Game::Bruchteile, &frmstart::opt3, &frmstart::lblPunkte3, 667, "txtErgebnis"},
    {Game::Netz, &frmstart::opt4, &frmstart::lblPunkte4, 0, "txtergebnis"},
    {Game::Waage, &frmstart::opt5, &frmstart::lblPunkte5, 0, "txtErgebnis"},
    {Game::Ballon, &frmstart::opt6, &frmstart::lblPunkte6, 60, "txtEing"},
    {Game::Wander, &frmstart::opt8, &frmstart::lblPunkte8, 0, "cmdStart"},
};

enum class Ending { Won, Closed };

std::string focused(const forms::Form& form) {
    return form.ActiveControl() != nullptr ? form.ActiveControl()->name() : "nothing";
}

TEST(EveryGame, StartsAgainWithTheFocusWhereTheChildActsFirst) {
    for (const GameCase& c : kGames) {
        for (const Ending ending : {Ending::Won, Ending::Closed}) {
            ProgramHarness h;
            h.run();
            forms::Form& game = h.program.screen(c.game);
            SCOPED_TRACE(game.name() + (ending == Ending::Won ? " after a win" : " closed"));
            h.startGame(h.start().*c.option, h.start().optMittel);
            h.ticks(c.ticksToGetReady);
            EXPECT_EQ(focused(game), c.firstAct) << "the first game";
            if (ending == Ending::Won) {
                winGame(h, c.game);
            } else {
                h.runtime.close(game);
            }
            ASSERT_EQ(h.active(), &h.start());

            h.startGame(h.start().*c.option, h.start().optMittel);
            h.ticks(c.ticksToGetReady);
            EXPECT_EQ(focused(game), c.firstAct) << "the second game";
        }
    }
}

// The spider asks for 16 right answers and flying numbers for 12: the instructions say so.
TEST(EveryGame, InstructionsNameTheTargetTheGameKeepsTo) {
    const std::pair<const char*, std::vector<std::string>> promises[] = {
        {"spider.html", {"nun 16 Multiplikationen", "die 16 Aufgaben"}},
        {"flying.html", {"Für 12 richtige Lösungen hast du 20 Versuche."}},
    };
    for (const auto& [file, phrases] : promises) {
        std::ifstream in(std::string(ZIFFERIX_ASSETS) + "/instructions/" + file);
        ASSERT_TRUE(in) << file;
        std::stringstream text;
        text << in.rdbuf();
        for (const std::string& phrase : phrases) {
            EXPECT_NE(text.str().find(phrase), std::string::npos) << file << ": " << phrase;
        }
    }
}

// A single game won at a level colours its option and its points label by that level, from a
// fresh start screen; a label shows no colour of a game it does not belong to.
TEST(EveryGame, AWinColoursItsOwnOptionAndPointsLabelByTheLevel) {
    const std::pair<Level, forms::Color> levels[] = {
        {Leicht, 0x00FF00}, {Normal, 0x00FFFF}, {VollSchwer, 0x0080FF}};
    for (const GameCase& c : kGames) {
        for (const auto& [level, colour] : levels) {
            ProgramHarness h;
            h.run();
            frmstart& s = h.start();
            SCOPED_TRACE(h.program.screen(c.game).name() + " at level " + std::to_string(level));
            h.startGame(s.*c.option, levelOption(s, level));
            h.ticks(c.ticksToGetReady);
            winGame(h, c.game);
            ASSERT_EQ(h.active(), &s);
            EXPECT_EQ((s.*c.option).ForeColor, colour);
            EXPECT_EQ((s.*c.points).ForeColor, colour);
            EXPECT_NE((s.*c.points).Caption, "0");
            for (const GameCase& other : kGames) {
                if (other.option != c.option) {
                    EXPECT_EQ((s.*other.option).ForeColor, forms::colors::Black);
                    EXPECT_EQ((s.*other.points).Caption, "0");
                }
            }
        }
    }
}

// Where a control shows on its form, frames around it counted: its right and bottom edges. A
// transparent label shows only its text, placed in its box as it is aligned.
std::pair<int, int> farEdges(const forms::Control& c, const forms::TextMetricsService& metrics) {
    int right = c.Left + c.Width;
    int bottom = c.Top + c.Height;
    if (c.kind() == forms::ControlKind::Line) {
        const auto& line = static_cast<const forms::Line&>(c);
        right = std::max(line.X1, line.X2);
        bottom = std::max(line.Y1, line.Y2);
    } else if (c.kind() == forms::ControlKind::Label &&
               static_cast<const forms::Label&>(c).Transparent) {
        const auto& label = static_cast<const forms::Label&>(c);
        const int text = metrics.measure(label.Font, label.Caption).Width;
        const int unused = std::max(0, c.Width - text);
        right -= label.Alignment == forms::TextAlign::Left     ? unused
                 : label.Alignment == forms::TextAlign::Center ? unused / 2
                                                               : 0;
    }
    for (const forms::Frame* f = c.container(); f != nullptr; f = f->container()) {
        right += f->Left;
        bottom += f->Top;
    }
    return {right, bottom};
}

// Flying numbers fly over the whole window: they keep to it, the rest to the layout's area.
bool keepsToTheWindow(const forms::Form& form, const forms::Control& c) {
    return form.name() == "frmWander" && c.name().starts_with("lblZahl");
}

void expectInside(ProgramHarness& h, const forms::Form& form, const char* when) {
    const forms::LayoutArea area = forms::areaOf(forms::layoutFor(h.runtime.screenWidth()));
    for (const forms::Control* c : form.controls()) {
        // The mountain's summit runs on past the window's edge, where the ball leaves the screen.
        if (!c->shown() || (form.name() == "frmBerg" && c->name() == "ln5")) {
            continue;
        }
        const bool window = keepsToTheWindow(form, *c);
        const auto [right, bottom] = farEdges(*c, h.fakes.textMetrics);
        EXPECT_LE(right, window ? form.ScaleWidth : area.width)
            << form.name() << "." << c->name() << " " << when;
        EXPECT_LE(bottom, window ? form.ScaleHeight : area.height)
            << form.name() << "." << c->name() << " " << when;
    }
}

// The area the zoom fits to a view holds every screen of its layout, in play as well.
TEST(EveryScreen, LiesInsideTheAreaItsLayoutIsFittedBy) {
    for (const int width : {kLargeScreen, kSmallScreen}) {
        ProgramHarness h(width);
        h.run();
        expectInside(h, h.start(), "on the start screen");
        for (const GameCase& c : kGames) {
            h.startGame(h.start().*c.option, h.start().optMittel);
            forms::Form& game = h.program.screen(c.game);
            expectInside(h, game, "at the start");
            h.ticks(c.ticksToGetReady);
            h.type("\r");
            h.ticks(100);
            expectInside(h, game, "at the first problem");
            h.runtime.close(game);
        }
    }
}

} // namespace
