#include "spider/frmNetz.h"

#include "start/Levels.h"
#include "start/Problems.h"
#include "start/Spoken.h"

#include <climits>

namespace zifferix {
namespace {

using forms::Integer;
using forms::Single;

struct Factors {
    Range a;
    Range b;
    int productBelow; // pairs with a larger product are drawn again
};

constexpr Levels<Factors> kLevels{
    {16, 9, {{12, 4}, {2, 4}, INT_MAX}},
    {18, 17, {{11, 15}, {2, 7}, 120}},
    {22, 23, {{11, 20}, {2, 10}, INT_MAX}},
};

constexpr Integer kWrongAnswer = 2;
constexpr Integer kLastProblem = 16; // its right answer wins

const forms::Font kArial24{"Arial", 24, false};

} // namespace

frmNetz::frmNetz(Zifferix& program) : GameForm(program, kGame) {
    layout_ = smallLayout();
    buildScene();
    Image1.Picture = {"instructions/spider.html", 9075, 1515};
    Image2.Picture = {"spider.svg", 266 * 15, 330 * 15};

    for (forms::Label* label : {&lbla, &Label2, &lblb, &Label4}) {
        label->Alignment = forms::TextAlign::Center;
        label->Font = kArial24;
    }
    lbla.Caption = "FA";
    lbla.BackColor = 0xFFFFC0;
    lblb.Caption = "FB";
    lblb.BackColor = 0x80C0FF;
    // The signs show the form through: on a small screen they overlap the factors' boxes.
    Label2.Caption = "x";
    Label2.Transparent = true;
    Label4.Caption = "=";
    Label4.Transparent = true;

    txtergebnis.Text = "Ergebnis";
    txtergebnis.Alignment = forms::TextAlign::Center;
    txtergebnis.MaxLength = 3;
    txtergebnis.Entry = forms::TextEntry::Digits;
    txtergebnis.Font = kArial24;
    txtergebnis.onKeyPress = [this](int& KeyAscii) { txtergebnis_KeyPress(KeyAscii); };

    homeButton(cmdEnde);
}

void frmNetz::Form_Activate() {
    LayoutVerkleinern();
    program_.clearDifficulty();
    shared_.Punkte = kLevels[shared_.Schwierigkeit].startPoints;
    hideWeb();
    Image1.Visible = true;
    Fehler = 0;
    AufgabenNr = 0;
    NeueAufgabe();
}

void frmNetz::NeueAufgabe() {
    ++AufgabenNr;
    Randomize();
    const Factors& factors = kLevels[shared_.Schwierigkeit].rules;
    do {
        FaktorA = draw(factors.a, Rnd());
        FaktorB = draw(factors.b, Rnd());
    } while (FaktorA * FaktorB >= static_cast<Single>(factors.productBelow));
    Produkt = FaktorA * FaktorB;
    lbla.Caption = forms::CStr(FaktorA);
    lblb.Caption = forms::CStr(FaktorB);
    pose(txtergebnis, lbla.Caption + " mal " + lblb.Caption);
    txtergebnis.Text.clear();
}

void frmNetz::win() {
    won(kLevels[shared_.Schwierigkeit].bonus);
}

void frmNetz::txtergebnis_KeyPress(int& KeyAscii) {
    const double typed = forms::Val(txtergebnis.Text);
    if (typed > 0 && KeyAscii == kEnter) {
        const bool right = forms::SingleEquals(Produkt, typed);
        answered(txtergebnis.Text, right);
        if (right) {
            if (AufgabenNr >= kLastProblem) {
                win();
                return;
            }
            Announce("Richtig. Noch " +
                     spoken::count(kLastProblem - AufgabenNr, "Aufgabe", "Aufgaben") + ".");
            NeueAufgabe();
        } else {
            ++Fehler;
            sayWeb();
            NetzWeiterknuepfen();
            txtergebnis.Text.clear();
            shared_.Punkte = static_cast<Integer>(shared_.Punkte - kWrongAnswer);
        }
    } else {
        digitsOnly(KeyAscii, txtergebnis);
    }
}

void frmNetz::cmdEnde_Click() {
    txtergebnis.SetFocus();
    leave();
}

} // namespace zifferix
