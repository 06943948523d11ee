#include "mountain/frmBerg.h"

#include "mountain/Lengths.h"
#include "start/Levels.h"
#include "start/Problems.h"
#include "start/Spoken.h"

#include <algorithm>
#include <array>

namespace zifferix {
namespace {

using forms::Integer;

constexpr Levels<> kLevels{{15, 10}, {22, 13}, {30, 15}};

// A wrong answer on or at the top of a steep slope lets the ball roll on down it.
constexpr std::array<int, 6> kSteep{4, 5, 6, 9, 10, 11};

} // namespace

frmBerg::frmBerg(Zifferix& program) : GameForm(program, kGame) {
    layout_ = smallLayout();
    BackColor = 0xC0FFC0;
    buildScene();

    // The example the screen shows until the first game starts.
    lblzahl.Caption = "345,6";
    lblbez1.Caption = "cm";
    txtEing.Text = "? ? ?";
    lblbez2.Caption = "m";
    Label3.Caption = "=";

    txtEing.onKeyPress = [this](int& KeyAscii) { txtEing_KeyPress(KeyAscii); };
    cmdLos.Caption = "Los";
    cmdLos.onClick = [this] { cmdLos_Click(); };
    homeButton(cmdEnde);
    Timer1.Interval = 1;
    Timer1.onTimer = [this] { Timer1_Timer(); };

    cmdLos.TabIndex = 0;
    txtEing.TabIndex = 1;
    cmdEnde.TabIndex = 2;
}

void frmBerg::Form_Activate() {
    KommaGesetzt = false;
    AufgabenNr = 0;
    Position = 0;
    program_.clearDifficulty();
    shared_.Punkte = kLevels[shared_.Schwierigkeit].startPoints;
    cmdEnde.Enabled = false;
    txtEing.Enabled = false;
    cmdLos.Visible = true;
    Image1.Visible = true;
    Rollmodus = 0;
    LayoutVerkleinern();
    placeBallAtFoot();
    // The summit runs off the screen, however wide the window.
    ln5.X2 = std::max(ln5.X2, ScaleWidth);
}

void frmBerg::cmdLos_Click() {
    txtEing.Enabled = true;
    txtEing.Text.clear();
    cmdEnde.Enabled = true;
    Image1.Visible = false;
    cmdLos.Visible = false;
    NeueAufgabe();
}

void frmBerg::NeueAufgabe() {
    cmdEnde.Enabled = true;
    if (AufgabenNr >= 1) {
        txtEing.Enabled = true;
        txtEing.Text.clear();
        txtEing.SetFocus();
    }
    Timer1.Enabled = false;
    Randomize();
    problem_ = kLengths.draw(shared_.Schwierigkeit, [this] { return Rnd(); });
    lblbez1.Caption = std::string(kLengths.unit(problem_.VonEinheit).text);
    lblbez2.Caption = std::string(kLengths.unit(problem_.NachEinheit).text);
    lblzahl.Caption = forms::CStr(problem_.Zahl);
    pose(txtEing, kLengths.question(lblzahl.Caption, problem_));
    if (AufgabenNr >= 1) {
        Announce(Position == 0 ? std::string("Der Ball liegt am Fuß des Berges.")
                               : "Der Ball ist auf Station " + std::to_string(Position) + " von " +
                                     std::to_string(kOutAtTheTop) + ".");
    }
    ++AufgabenNr;
}

void frmBerg::txtEing_KeyPress(int& KeyAscii) {
    cmdEnde.Enabled = true;
    if (KeyAscii == kEnter) {
        KommaGesetzt = false;
        Auswerten();
    } else {
        digitsAndOneComma(KeyAscii, txtEing, KommaGesetzt);
    }
}

void frmBerg::Auswerten() {
    txtEing.Enabled = false;
    const std::optional<forms::Single> typed = forms::CSng(txtEing.Text);
    if (!typed) {
        // Nothing typed, or no number: a lone comma, or one beyond a single's range. It costs
        // nothing, and the box is emptied so that a comma may be typed again.
        txtEing.Text.clear();
        txtEing.Enabled = true;
        txtEing.SetFocus();
        return;
    }
    Eingabe = *typed;
    const bool right = forms::SingleEquals(Eingabe, kLengths.expected(problem_));
    answered(txtEing.Text, right);
    if (right) {
        Announce("Richtig.");
        Vorruecken();
    } else {
        Announce("Falsch.");
        Zurueckrollen();
    }
}

void frmBerg::Vorruecken() {
    ++Position;
    BallZiel();
}

void frmBerg::Zurueckrollen() {
    shared_.Punkte = static_cast<Integer>(shared_.Punkte - 1);
    if (Position == 0) {
        Rollmodus = 0;
        NeueAufgabe();
        return;
    }
    Rollmodus =
        std::find(kSteep.begin(), kSteep.end(), Position) != kSteep.end() ? kRolling : kSingleStep;
    --Position;
    BallZiel();
}

void frmBerg::win() {
    won(kLevels[shared_.Schwierigkeit].bonus);
}

void frmBerg::cmdEnde_Click() {
    leave();
}

} // namespace zifferix
