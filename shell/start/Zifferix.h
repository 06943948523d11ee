#pragma once

// The program: the shared state, the start screen and one instance of every game, each created
// when it is first needed and kept for the whole run. The games themselves come from the
// composition root as a table of factories, so that the shell depends on no game. A game knows
// only the program: what it does to the start screen and where the row goes on after it, it
// asks of the program.

#include "forms/Runtime.h"
#include "start/Choices.h"
#include "start/ClassResults.h"
#include "start/Games.h"
#include "start/Module1.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace zifferix {

class frmName;
class frmstart;
class GameForm;
class Zifferix;

// Makes a game's screen for the program; one per game, at the place of its id.
using ScreenFactory = std::unique_ptr<GameForm> (*)(Zifferix& program);
using ScreenTable = std::array<ScreenFactory, kGameCount>;

class Zifferix {
  public:
    Zifferix(forms::Runtime& runtime, const ScreenTable& screens);
    ~Zifferix();
    Zifferix(const Zifferix&) = delete;
    Zifferix& operator=(const Zifferix&) = delete;

    // Shows the start screen; the program runs until its exit button.
    void run();
    // The child came in by a class's link: called before run, which then asks the child's name
    // first unless the view remembered one. Every game ended from then on goes to the link.
    void joinClass(ClassLink& link, ClassInfo info);
    bool inClass() const { return link_ != nullptr; }
    // The class's name and the child's, empty outside a class.
    const std::string& className() const { return class_.name; }
    const std::string& child() const { return class_.child; }
    // "Wie heißt du?" above the start screen; the start screen comes back with the name chosen.
    void askName();
    // The child has said its name: the class remembers it.
    void chose(const std::string& child);
    // A game has ended: in a class, its result goes to the class.
    void record(const GameResult& result);
    // A link's choice that came while the name was asked, for the start screen to make now.
    std::optional<Choice> takeChoice() { return std::exchange(waitingChoice_, std::nullopt); }

    forms::Runtime& runtime() const { return runtime_; }
    Module1& shared() { return shared_; }
    frmstart& start() { return *start_; }
    forms::Form& screen(Game game);
    // Shows a game from its beginning above the screen in front.
    void showGame(Game game, std::function<void()> whenHidden);

    // A game won alone: its score into its line of the table if it beats the best so far, and
    // its option and line coloured by the level. A screen reader hears that it was won.
    void recordWin(Game game, Integer score, int level);
    // A game won in the row: its points go to the row's total, and the next game is shown; when
    // that one has hidden, so does this one. The last game adds the row's bonus, writes the
    // total into the row's line of the table by the same rules as a single game, and hides.
    void wonInRow(GameForm& self);
    // A game lost: a screen reader hears why, before the screen beneath comes back.
    void lost(const std::string& why);

    // What a game does to the start screen's choice when it is activated or begins: the
    // difficulty is cleared, and the clock race clears its own option as well.
    void clearDifficulty();
    void clearChoice(Game game);

    // A teacher may give a child more time: the clock race's minute and the glass's draining
    // last twice as long, for the rest of the run. Points are counted as ever.
    void giveMoreTime(bool more) { moreTime_ = more; }
    bool moreTime() const { return moreTime_; }
    int timeFactor() const { return moreTime_ ? 2 : 1; }

    // Chooses on the start screen as a child would, when the start screen is in front and takes
    // input, and gives more time as the choice says; false while a game or a message is in
    // front. While the name is asked, the start screen makes the choice when it comes back.
    bool choose(const Choice& choice);

  private:
    GameForm& game(Game game);

    forms::Runtime& runtime_;
    const ScreenTable& screens_;
    Module1 shared_;
    std::unique_ptr<frmstart> start_;
    // Declared after the start screen, so the games, which hold on to it, go first.
    std::array<std::unique_ptr<GameForm>, kGameCount> games_;
    bool moreTime_ = false;
    ClassLink* link_ = nullptr;
    ClassInfo class_;
    std::unique_ptr<frmName> names_;
    std::optional<Choice> waitingChoice_;
};

// The sign a timed game shows while more time is given: at a place, visible only then.
void showMoreTime(forms::Label& sign, forms::Placement place, bool more);

} // namespace zifferix
