#pragma once

// "die Waage halten": a + b on the left pan, c + ? on the right. A right answer keeps the
// balance level, a wrong one tips it and costs points. The level counter starts at 9, goes down
// with every right answer and up with every wrong one, and shows in the colour of the pans;
// below 0 the game is won.

#include "start/GameForm.h"

namespace zifferix {

class frmwaage : public GameForm {
  public:
    static constexpr Game kGame = Game::Waage;
    explicit frmwaage(Zifferix& program);

    forms::Image Image1{*this, "Image1"}; // the instructions, always shown

    // The balance: beam, post, hangers, pans and what stands on them.
    forms::Line lnwaage{*this, "lnwaage"};
    forms::Line Line4{*this, "Line4"};
    forms::Line lnLinks{*this, "lnLinks"};
    forms::Line lnRechts{*this, "lnRechts"};
    forms::Shape shpLinks{*this, "shpLinks"};
    forms::Shape shpRechts{*this, "shpRechts"};
    forms::Label lblLinks{*this, "lblLinks"};
    forms::Label lblRechts{*this, "lblRechts"};

    forms::Label lblrichtig{*this, "lblrichtig"};
    forms::Label lblkorrekt1{*this, "lblkorrekt1"}; // the right number after a too large answer
    forms::Label lblkorrekt2{*this, "lblkorrekt2"}; // the right number after a too small one

    // The colour chart, best at the top.
    forms::Label Label6{*this, "Label6"};
    forms::Label Label10{*this, "Label10"};
    forms::Label Label9{*this, "Label9"};
    forms::Label Label8{*this, "Label8"};
    forms::Label Label7{*this, "Label7"};
    forms::Label Label4{*this, "Label4"};
    forms::Label Label5{*this, "Label5"};
    forms::Label Label3{*this, "Label3"};
    forms::Label Label2{*this, "Label2"};
    forms::Label Label1{*this, "Label1"};

    forms::TextBox txtErgebnis{*this, "txtErgebnis"};
    forms::CommandButton cmdStart{*this, "cmdStart"}; // tiny, at the foot of the post
    forms::CommandButton cmdEnde{*this, "cmdEnde"};

    void Form_Activate() override;

  private:
    void cmdStart_Click();
    void txtErgebnis_KeyPress(int& KeyAscii);
    void cmdEnde_Click() override;

    void NaechsteRechnung();
    void judge(forms::Single typed);
    void win();

    // The scene (Balance.cpp).
    ScreenLayout smallLayout();
    void buildScene();
    void colourByLevel();
    void level();
    void tip();

    forms::Single Summand1 = 0; // a and b on the left pan
    forms::Single Summand2 = 0;
    forms::Single Summand3 = 0; // c on the right pan
    int NeigungLinks = 0;       // twips the left side went down at the last answer
    int NeigungRechts = 0;
    int Runde = 0;            // problems posed in this game
    forms::Integer Stufe = 9; // the level: below 0 wins
    forms::Color Stufenfarbe = 0;
};

} // namespace zifferix
