#pragma once

// "den Berg hinauf": conversions between mm, cm, dm, m and km. Every right answer moves a ball
// a station up the mountain path; a wrong one rolls it back, on the steep slopes several
// stations, a point for each. When the ball has left the screen at the top, the game is won.

#include "start/Conversion.h"
#include "start/GameForm.h"

namespace zifferix {

class frmBerg : public GameForm {
  public:
    static constexpr Game kGame = Game::Berg;
    explicit frmBerg(Zifferix& program);

    forms::Label lblzahl{*this, "lblzahl"};
    forms::Label lblbez1{*this, "lblbez1"};
    forms::Label Label3{*this, "Label3"};
    forms::TextBox txtEing{*this, "txtEing"};
    forms::Label lblbez2{*this, "lblbez2"};
    forms::Image Image1{*this, "Image1"}; // the instructions
    forms::CommandButton cmdLos{*this, "cmdLos"};
    forms::CommandButton cmdEnde{*this, "cmdEnde"};
    // The path: foot, first steep slope, terrace, second steep slope, summit.
    forms::Line ln1{*this, "ln1"};
    forms::Line ln2{*this, "ln2"};
    forms::Line ln3{*this, "ln3"};
    forms::Line ln4{*this, "ln4"};
    forms::Line ln5{*this, "ln5"};
    forms::Shape shpStein{*this, "shpStein"}; // the ball
    forms::Timer Timer1{*this, "Timer1"};     // moves the ball

    void Form_Activate() override;

  private:
    static constexpr int kOutAtTheTop = 12; // the station that wins
    static constexpr int kRolling = 1;      // Rollmodus: rolling on down a steep slope
    static constexpr int kSingleStep = 2;   // Rollmodus: one station down, then rest

    void cmdLos_Click();
    void txtEing_KeyPress(int& KeyAscii);
    void cmdEnde_Click() override;

    void NeueAufgabe();
    void Auswerten();
    void Vorruecken();
    void Zurueckrollen();
    void win();

    // The scene (MountainPath.cpp).
    ScreenLayout smallLayout();
    void buildScene();
    void placeBallAtFoot();
    void BallZiel();
    int exitLeft(int station) const;
    void Timer1_Timer();

    int Position = 0;           // the ball's station: 0 at the foot, 12 out at the top
    ConversionProblem problem_; // VonEinheit, NachEinheit, Kommastellen, Mantisse, Zahl
    forms::Single Eingabe = 0;
    int AufgabenNr = 0; // problems posed in this game
    bool KommaGesetzt = false;
    int Rollmodus = 0; // 0 at rest, 1 rolling down a steep slope, 2 a single step
    int ZielX = 0;     // where the ball is heading
    int ZielY = 8300;
};

} // namespace zifferix
