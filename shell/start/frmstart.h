#pragma once

// The start screen: the choice of game and difficulty, the start and exit buttons, and the
// points table with the best score of each game in this run.

#include "forms/Form.h"
#include "start/Choices.h"
#include "start/Layout.h"
#include "start/Module1.h"
#include "start/Zifferix.h"

namespace zifferix {

class frmstart : public forms::Form {
  public:
    explicit frmstart(Zifferix& program);

    forms::Image Image1{*this, "Image1"};
    forms::Label lblAutor{*this, "lblAutor"};

    forms::Frame Frame1{*this, "Frame1"};
    forms::OptionButton opt1{Frame1, "opt1"};
    forms::OptionButton opt2{Frame1, "opt2"};
    forms::OptionButton opt3{Frame1, "opt3"};
    forms::OptionButton opt4{Frame1, "opt4"};
    forms::OptionButton opt5{Frame1, "opt5"};
    forms::OptionButton opt6{Frame1, "opt6"};
    forms::OptionButton opt8{Frame1, "opt8"};
    forms::OptionButton opt10{Frame1, "opt10"};
    forms::Label lblPunkte1{Frame1, "lblPunkte1"};
    forms::Label lblPunkte2{Frame1, "lblPunkte2"};
    forms::Label lblPunkte3{Frame1, "lblPunkte3"};
    forms::Label lblPunkte4{Frame1, "lblPunkte4"};
    forms::Label lblPunkte5{Frame1, "lblPunkte5"};
    forms::Label lblPunkte6{Frame1, "lblPunkte6"};
    forms::Label lblPunkte8{Frame1, "lblPunkte8"};
    forms::Label lblPunkte10{Frame1, "lblPunkte10"};
    forms::Label Label1{Frame1, "Label1"};
    forms::Label lblGesamt{Frame1, "lblGesamt"};

    forms::Frame Frame2{*this, "Frame2"};
    forms::OptionButton optEinfach{Frame2, "optEinfach"};
    forms::OptionButton optMittel{Frame2, "optMittel"};
    forms::OptionButton optSchwer{Frame2, "optSchwer"};

    forms::CommandButton cmdAnfang{*this, "cmdAnfang"};
    forms::CommandButton cmdEnde{*this, "cmdEnde"};
    // Only in a class: the name the child plays as, and the way to another name.
    forms::Label lblKind{*this, "lblKind"};
    forms::CommandButton cmdNichtDu{*this, "cmdNichtDu"};

    void Form_Activate() override;
    // Closing the start screen ends the program, as its exit button does.
    void Form_QueryClose() override { cmdEnde_Click(); }
    bool relaysOut() const override { return true; }
    // The welcome, the control that has the focus, and what "Los und hopp" would start.
    std::string Spoken() const override;
    void Form_Resize() override;

    // Clears the difficulty buttons; every game does this when it is activated.
    void clearDifficulty();

    // Clears a game's option, so that no game is chosen.
    void clearChoice(Game game);

    // A win into the table: the game's line, or the row's.
    void recordWin(Game game, Integer score, int level);
    void recordRowWin(Integer total, int level);

    // Whether the table holds points of this run, which a page that is left would lose.
    bool holdsPoints() const;

    // Starts a game as the start button does: the layout put back, the mode set, and the game
    // shown above the start screen until it (and in the row every game after it) has hidden.
    void startGame(Game game, bool row);

    // Chooses a game and a level as a child would by clicking them, and puts the focus on the
    // start button: one press starts. Nothing starts by itself.
    void choose(const Choice& choice);

  private:
    void dress();
    void wire();
    void orderTabs();
    void cmdAnfang_Click();
    void cmdEnde_Click();
    void Grundstellung();
    void showChild();
    // What a screen reader hears: each game with its best points and their level, and what
    // the start button will start.
    void describeChoices();

    // The small layout on a screen of 800 pixels or less, put back before every game.
    ScreenLayout layout_;
    Zifferix& program_;
    Module1& shared_;
};

} // namespace zifferix
