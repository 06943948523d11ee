// What every game owes a child, whichever game it is.

#include "Answers.h"
#include "GameHarness.h"

#include <gtest/gtest.h>

#include <functional>

using namespace testing_support;
using zifferix::Game;

namespace {

struct GameCase {
    const char* name;
    Game game;
    forms::OptionButton zifferix::frmstart::*option;
    // Lets time pass until the child can act.
    std::function<void(ProgramHarness&)> getReady;
    // Where the child acts first: the start button where the game has one, else the box.
    std::function<forms::Control&(forms::Form&)> firstAct;
    // Plays on from getReady to a won game.
    std::function<void(ProgramHarness&, forms::Form&)> win;
};

template <class F> F& as(forms::Form& form) {
    return static_cast<F&>(form);
}

const GameCase kGames[] = {
    {"glass", Game::Bruchteile, &zifferix::frmstart::opt3, [](ProgramHarness& h) { h.ticks(667); },
     [](forms::Form& f) -> forms::Control& { return as<zifferix::frmbruchteile>(f).txtErgebnis; },
     [](ProgramHarness& h, forms::Form& f) {
         while (h.active() == &f) {
             h.type(glassAnswer(as<zifferix::frmbruchteile>(f)) + "\r");
         }
     }},
    {"flying numbers", Game::Wander, &zifferix::frmstart::opt8, [](ProgramHarness&) {},
     [](forms::Form& f) -> forms::Control& { return as<zifferix::frmWander>(f).cmdStart; },
     [](ProgramHarness& h, forms::Form& f) {
         h.type("\r");
         for (int i = 0; i < 12; ++i) {
             h.type(flyingAnswer(as<zifferix::frmWander>(f)) + "\r");
         }
     }},
    {"spider", Game::Netz, &zifferix::frmstart::opt4, [](ProgramHarness&) {},
     [](forms::Form& f) -> forms::Control& { return as<zifferix::frmNetz>(f).txtergebnis; },
     [](ProgramHarness& h, forms::Form& f) {
         for (int i = 0; i < 16; ++i) {
             h.type(spiderAnswer(as<zifferix::frmNetz>(f)) + "\r");
         }
     }},
    {"mountain", Game::Berg, &zifferix::frmstart::opt2, [](ProgramHarness&) {},
     [](forms::Form& f) -> forms::Control& { return as<zifferix::frmBerg>(f).cmdLos; },
     [](ProgramHarness& h, forms::Form& f) {
         h.type("\r");
         while (h.active() == &f) {
             h.type(mountainAnswer(as<zifferix::frmBerg>(f)) + "\r");
             h.ticks(300);
         }
     }},
    {"balance", Game::Waage, &zifferix::frmstart::opt5, [](ProgramHarness&) {},
     [](forms::Form& f) -> forms::Control& { return as<zifferix::frmwaage>(f).txtErgebnis; },
     [](ProgramHarness& h, forms::Form& f) {
         for (int i = 0; i < 10; ++i) {
             h.type(balanceAnswer(as<zifferix::frmwaage>(f)) + "\r\r");
         }
     }},
    {"balloon", Game::Ballon, &zifferix::frmstart::opt6, [](ProgramHarness& h) { h.ticks(60); },
     [](forms::Form& f) -> forms::Control& { return as<zifferix::frmBallon>(f).txtEing; },
     [](ProgramHarness& h, forms::Form& f) {
         for (int i = 0; i < 6; ++i) {
             h.type(balloonAnswer(as<zifferix::frmBallon>(f)) + "\r");
             h.ticks(600);
         }
         h.advance(400 * 60);
     }},
};

enum class Ending { Won, Closed };

std::string focused(const forms::Form& form) {
    return form.ActiveControl() != nullptr ? form.ActiveControl()->name() : "nothing";
}

TEST(EveryGame, StartsAgainWithTheFocusWhereTheChildActsFirst) {
    for (const GameCase& c : kGames) {
        for (const Ending ending : {Ending::Won, Ending::Closed}) {
            SCOPED_TRACE(std::string(c.name) +
                         (ending == Ending::Won ? " after a win" : " closed"));
            ProgramHarness h;
            h.run();
            forms::Form& game = h.program.screen(c.game);
            h.startGame(h.start().*c.option, h.start().optMittel);
            c.getReady(h);
            EXPECT_EQ(focused(game), c.firstAct(game).name()) << "the first game";
            if (ending == Ending::Won) {
                c.win(h, game);
            } else {
                h.runtime.close(game);
            }
            ASSERT_EQ(h.active(), &h.start());

            h.startGame(h.start().*c.option, h.start().optMittel);
            c.getReady(h);
            EXPECT_EQ(focused(game), c.firstAct(game).name()) << "the second game";
        }
    }
}

} // namespace
