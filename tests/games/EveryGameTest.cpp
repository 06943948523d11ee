// What every game owes a child, whichever game it is.

#include "GameHarness.h"
#include "Play.h"

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

} // namespace
