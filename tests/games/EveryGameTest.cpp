// What every game owes a child, whichever game it is.

#include "GameHarness.h"
#include "Play.h"

#include <gtest/gtest.h>

#include <functional>

using namespace testing_support;
using zifferix::frmstart;
using zifferix::Game;

namespace {

struct GameCase {
    Game game;
    forms::OptionButton frmstart::*option;
    // How much time passes before the child can act.
    int ticksToGetReady;
    // Where the child acts first: the start button where the game has one, else the box.
    std::string firstAct;
};

const GameCase kGames[] = {
    {Game::Uhr, &frmstart::opt1, 0, "cmdAnfang"},
    {Game::Berg, &frmstart::opt2, 0, "cmdLos"},
    {Game::Bruchteile, &frmstart::opt3, 667, "txtErgebnis"},
    {Game::Netz, &frmstart::opt4, 0, "txtergebnis"},
    {Game::Waage, &frmstart::opt5, 0, "txtErgebnis"},
    {Game::Ballon, &frmstart::opt6, 60, "txtEing"},
    {Game::Wander, &frmstart::opt8, 0, "cmdStart"},
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

} // namespace
