#pragma once

// "die Zeit läuft": the small multiplication table against the clock. A minute to reach 10, 20
// or 30 right products while a hand turns once round a shrinking clock face.

#include "start/GameForm.h"

namespace zifferix {

class frmUhr : public GameForm {
  public:
    static constexpr Game kGame = Game::Uhr;
    explicit frmUhr(Zifferix& program);

    // The instructions for leicht, normal and voll schwer.
    forms::Image Image1{*this, "Image1"};
    forms::Image Image2{*this, "Image2"};
    forms::Image Image3{*this, "Image3"};
    forms::Shape shpkreis{*this, "shpkreis"}; // the clock face
    forms::Line lin1{*this, "lin1"};          // the hand
    forms::CommandButton cmdAnfang{*this, "cmdAnfang"};
    forms::Label lblZahl1{*this, "lblZahl1"};
    forms::Label lblZahl2{*this, "lblZahl2"};
    forms::TextBox txtErgebnis{*this, "txtErgebnis"};
    forms::Label lblZähler{*this, "lblZähler"}; // the counter: " 7 richtig"
    forms::Label lblWiederholung{*this, "lblWiederholung"};
    forms::CommandButton start{*this, "start"}; // "nochmal"
    forms::CommandButton cmdEnde{*this, "cmdEnde"};
    forms::Label lblMehrZeit{*this, "lblMehrZeit"}; // while a teacher gives more time
    forms::Timer ZEITGEBER{*this, "ZEITGEBER"};

    void Form_Activate() override;

  private:
    void dress();
    void wire();
    void orderTabs();
    void cmdAnfang_Click();
    void start_Click();
    void txtErgebnis_KeyPress(int& KeyAscii);
    void ZEITGEBER_Timer();
    void cmdEnde_Click() override;

    void judge();
    void sayTimeLeft();
    void resetClockFace();

    forms::Integer Richtige = 0; // right answers in this attempt
    int Sekunden = 0;            // seconds of this attempt
    double Winkel = 90;          // the hand's angle in degrees
    double Bogen = 0;            // the same in radians
    forms::Single Ergebnis = 0;  // the product to type
};

} // namespace zifferix
