#pragma once

// "ein Glas füllen": fractions of whole numbers. A glass fills by itself to a third, then
// drains all the time; every right answer pours more in. A full glass wins, an empty one ends
// the game.

#include "start/GameForm.h"

namespace zifferix {

class frmbruchteile : public GameForm {
  public:
    static constexpr Game kGame = Game::Bruchteile;
    explicit frmbruchteile(Zifferix& program);

    forms::Image Image1{*this, "Image1"};
    forms::Label lblZähler{*this, "lblZähler"}; // the fraction's numerator
    forms::Line Line1{*this, "Line1"};
    forms::Label lblNenner{*this, "lblNenner"}; // and its denominator
    forms::Label lblvon{*this, "lblvon"};
    forms::Label lblZahl{*this, "lblZahl"};
    forms::Label lblgleich{*this, "lblgleich"};
    forms::TextBox txtErgebnis{*this, "txtErgebnis"};
    forms::Shape shpGlas{*this, "shpGlas"};
    forms::Line Line2{*this, "Line2"}; // the walls stand in front of the water
    forms::Line Line3{*this, "Line3"};
    forms::Line Line4{*this, "Line4"};
    forms::CommandButton cmdEnde{*this, "cmdEnde"};
    forms::Label lblMehrZeit{*this, "lblMehrZeit"}; // while a teacher gives more time
    forms::Timer Timer1{*this, "Timer1"};           // drains the glass
    forms::Timer Timer2{*this, "Timer2"};           // the first filling

    void Form_Activate() override;

  private:
    void Timer1_Timer();
    void Timer2_Timer();
    void txtErgebnis_KeyPress(int& KeyAscii);
    void cmdEnde_Click() override;

    void NeueAufgabe();
    void VorfuellungPruefen();
    void showWater();
    void showProblem(bool visible);
    void sayHowFull();
    void win();

    forms::Single Zaehler = 0;
    forms::Single Nenner = 0;
    forms::Single Zahl = 0;
    forms::Single Ergebnis = 0;
    int Fuellstand = 0;            // twips of water: 0 empty, 6000 full
    forms::Integer AufgabenNr = 0; // problems posed since the program started
    bool warnedLow_ = false;       // a screen reader was told that the glass runs dry
};

} // namespace zifferix
