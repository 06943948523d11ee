#pragma once

// What every game is: a screen of the program, named and titled by its line in the table of
// games, that ends by the program's rules (Ending.h) however it ends: won, lost or left. In a
// class it keeps a record of the problems it posed and the answers it was given, and its end
// writes the record as the game's result.

#include "forms/Form.h"
#include "start/ClassResults.h"
#include "start/Games.h"
#include "start/Layout.h"
#include "start/Module1.h"
#include "start/Zifferix.h"

#include <cstdint>
#include <string>
#include <vector>

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

    // A new game begins: nothing of an earlier one is kept.
    void newGame();
    // The game has ended: in a class, the result goes to the class, once. A game left before
    // any problem was answered was not played and leaves no result.
    void finish(GameEnd end);

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
    // The same, for a game whose timers run on behind its hidden screen.
    void left();
    // The "home" button that leaves the game.
    void homeButton(forms::CommandButton& button);

    // A problem for the answer box, in the words a screen reader hears it in ("7 mal 8").
    void pose(forms::TextBox& box, std::string words);
    // The answer to the problem posed last, as typed, judged right or wrong.
    void answered(const std::string& typed, bool right);
    // A timed attempt is over without a win, and the game offers another: the attempt was lost.
    void attemptLost() { finish(GameEnd::Lost); }

    Zifferix& program_;
    Module1& shared_;
    // Each game gives its own, once its controls are made.
    ScreenLayout layout_;

  private:
    // What a game in a class has done since its first problem. Virtual time passes only while
    // a timer runs, so the stopwatch runs while the record is open.
    struct Record {
        bool open = false;
        std::int64_t began = 0;
        std::int64_t since = 0; // when the problem was posed or last answered
        std::string problem;
        std::vector<ProblemRecord> problems;
    };

    Game game_;
    Record record_;
    forms::Timer tmrStoppuhr{*this, "tmrStoppuhr"};
};

} // namespace zifferix
