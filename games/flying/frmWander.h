#pragma once

// "fliegende Zahlen": three signed numbers bounce across the screen and the child types their
// sum. Right answers bring new, larger numbers; twelve win, the twenty-first answer loses unless
// it is the twelfth right one.

#include "start/GameForm.h"

namespace zifferix {

class frmWander : public GameForm {
  public:
    static constexpr Game kGame = Game::Wander;
    explicit frmWander(Zifferix& program);

    forms::Image Image1{*this, "Image1"};
    forms::CommandButton cmdStart{*this, "cmdStart"};
    forms::Label lblZahl1{*this, "lblZahl1"};
    forms::Label lblZahl2{*this, "lblZahl2"};
    forms::Label lblZahl3{*this, "lblZahl3"};
    forms::TextBox txtEing{*this, "txtEing"};
    forms::CommandButton cmdEnde{*this, "cmdEnde"};
    forms::Timer tmrTimer{*this, "tmrTimer"};

    void Form_Activate() override;
    // Won alone, the game counts from no fewer than 0 points.
    void beforeBonus() override;

  private:
    void cmdStart_Click();
    void tmrTimer_Timer();
    void txtEing_KeyPress(int& KeyAscii);
    void cmdEnde_Click() override;

    void NeueAufgabe();
    void Auswerten();
    std::string answersLeft() const;
    void fly(forms::Label& number, int& dx, int& dy) const;

    forms::Integer Richtige = 0; // right answers in this game
    int Versuche = 0;            // answers given in this game
    int Faktor = 1;              // the numbers reach 10 x Faktor
    forms::Single Zahl1 = 0;
    forms::Single Zahl2 = 0;
    forms::Single Zahl3 = 0;
    forms::Single Vorzeichen1 = 0; // 1 makes the number negative
    forms::Single Vorzeichen2 = 0;
    forms::Single Vorzeichen3 = 0;
    forms::Single Summe = 0;
    int SchrittX1 = 0; // twips per tick
    int SchrittY1 = 0;
    int SchrittX2 = 0;
    int SchrittY2 = 0;
    int SchrittX3 = 0;
    int SchrittY3 = 0;
};

} // namespace zifferix
