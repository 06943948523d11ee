#pragma once

// "gegen die Spinne": products of a two-digit number and a small one. Sixteen right answers
// win; every wrong one lets the spider knit a step of its web, and the twelfth ends the game.

#include "start/GameForm.h"

namespace zifferix {

class frmNetz : public GameForm {
  public:
    static constexpr Game kGame = Game::Netz;
    explicit frmNetz(Zifferix& program);

    forms::Image Image1{*this, "Image1"}; // the instructions

    // The web: eight spokes, then the outer, middle and inner rings. The spider sits on it.
    forms::Line ln1{*this, "ln1"};
    forms::Line ln2{*this, "ln2"};
    forms::Line ln3{*this, "ln3"};
    forms::Line ln4{*this, "ln4"};
    forms::Line ln5{*this, "ln5"};
    forms::Line ln6{*this, "ln6"};
    forms::Line ln7{*this, "ln7"};
    forms::Line ln8{*this, "ln8"};
    forms::Line Line1{*this, "Line1"};
    forms::Line Line2{*this, "Line2"};
    forms::Line Line3{*this, "Line3"};
    forms::Line Line4{*this, "Line4"};
    forms::Line Line5{*this, "Line5"};
    forms::Line Line6{*this, "Line6"};
    forms::Line Line7{*this, "Line7"};
    forms::Line Line8{*this, "Line8"};
    forms::Line Line9{*this, "Line9"};
    forms::Line Line10{*this, "Line10"};
    forms::Line Line11{*this, "Line11"};
    forms::Line Line12{*this, "Line12"};
    forms::Line Line13{*this, "Line13"};
    forms::Line Line14{*this, "Line14"};
    forms::Line Line15{*this, "Line15"};
    forms::Line Line16{*this, "Line16"};
    forms::Line Line17{*this, "Line17"};
    forms::Line Line18{*this, "Line18"};
    forms::Line Line19{*this, "Line19"};
    forms::Line Line20{*this, "Line20"};
    forms::Line Line21{*this, "Line21"};
    forms::Line Line22{*this, "Line22"};
    forms::Line Line23{*this, "Line23"};
    forms::Line Line24{*this, "Line24"};
    forms::Image Image2{*this, "Image2"}; // the spider

    forms::Label lbla{*this, "lbla"};
    forms::Label Label2{*this, "Label2"};
    forms::Label lblb{*this, "lblb"};
    forms::Label Label4{*this, "Label4"};
    forms::TextBox txtergebnis{*this, "txtergebnis"};
    forms::CommandButton cmdEnde{*this, "cmdEnde"};

    void Form_Activate() override;

  private:
    void txtergebnis_KeyPress(int& KeyAscii);
    void cmdEnde_Click() override;

    void NeueAufgabe();
    void win();

    // The scene (SpiderWeb.cpp).
    ScreenLayout smallLayout();
    void buildScene();
    void hideWeb();
    void NetzWeiterknuepfen();
    void sayWeb();

    forms::Single FaktorA = 0;
    forms::Single FaktorB = 0;
    forms::Single Produkt = 0;
    int Fehler = 0;                // wrong answers in this game
    forms::Integer AufgabenNr = 0; // problems posed in this game
};

} // namespace zifferix
