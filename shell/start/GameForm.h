#pragma once

// What every game is: a screen of the program, named and titled by its line in the table of
// games, that ends by the program's rules (Ending.h) however it ends: won, lost or left.

#include "forms/Form.h"
#include "start/Games.h"
#include "start/Layout.h"
#include "start/Module1.h"
#include "start/Zifferix.h"

#include <string>

namespace zifferix {

class GameForm : public forms::Form {
  public:
    GameForm(Zifferix& program, Game game);

    Game game() const { return game_; }
    Zifferix& program() const { return program_; }

    // Closing the window leaves the game, as its exit button does.
    void Form_QueryClose() override { cmdEnde_Click(); }

    // What is the game's own when it is won alone, before its bonus is added.
    virtual void beforeBonus() {}

  protected:
    // The exit button: every game has one.
    virtual void cmdEnde_Click() = 0;

    // The small layout on a screen of 800 pixels or less, taken when the game is activated and
    // put back on every way out of it.
    void LayoutVerkleinern() { layout_.fit(ScreenWidth()); }
    void Grundstellung() { layout_.restore(); }
    // On the way out: the game's timers stop, and the design is put back.
    void stop();

    // Won, with the bonus of the level: alone it is scored, in the row the next game follows.
    void won(Integer bonus);
    // Lost: a screen reader hears why, and the screen beneath comes back. Nothing is scored.
    void lost(const std::string& why);
    // Left by the exit button: nothing is scored, and in the row the row ends.
    void leave();
    // The "home" button that leaves the game.
    void homeButton(forms::CommandButton& button);

    Zifferix& program_;
    Module1& shared_;
    // Each game gives its own, once its controls are made.
    ScreenLayout layout_;

  private:
    Game game_;
};

} // namespace zifferix
