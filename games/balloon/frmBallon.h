#pragma once

// "Ballonfahrt": conversions of masses between t, kg, dag and g. Each right answer fills the
// balloon with helium; a wrong one lets all of it escape. Six right answers in a row lift the
// weight off the screen.

#include "start/Conversion.h"
#include "start/GameForm.h"

namespace zifferix {

class frmBallon : public GameForm {
  public:
    static constexpr Game kGame = Game::Ballon;
    explicit frmBallon(Zifferix& program);

    forms::Label lblzahl{*this, "lblzahl"};
    forms::Label lblbez1{*this, "lblbez1"};
    forms::Label Label3{*this, "Label3"};
    forms::TextBox txtEing{*this, "txtEing"};
    forms::Label lblbez2{*this, "lblbez2"};
    forms::Image Image2{*this, "Image2"}; // the instructions
    forms::Image Image1{*this, "Image1"}; // the weight
    forms::Line ln1{*this, "ln1"};        // the rope
    forms::Shape shpBall{*this, "shpBall"};
    forms::CommandButton cmdEnde{*this, "cmdEnde"};
    forms::Timer tmr{*this, "tmr"};

    void Form_Activate() override;

  private:
    void txtEing_KeyPress(int& KeyAscii);
    void tmr_Timer();
    void cmdEnde_Click() override;

    void NeueAufgabe();
    void Nachfuellen();
    void GasVerlieren();
    void BallonZiel();
    void win();

    int Gas = 0;                // right answers in a row, 0 to 6
    ConversionProblem problem_; // VonEinheit, NachEinheit, Kommastellen, Mantisse, Zahl
    int AufgabenNr = 0;         // problems posed in this game
    int ZielX = 0;              // where the balloon's left edge is heading
    bool KommaGesetzt = false;
    forms::Single Eingabe = 0;
};

} // namespace zifferix
