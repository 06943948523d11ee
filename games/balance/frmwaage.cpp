#include "balance/frmwaage.h"

#include "start/Levels.h"
#include "start/Problems.h"
#include "start/Spoken.h"

namespace zifferix {
namespace {

using forms::Integer;
using forms::Single;

struct Summands {
    Range a;
    Range b;
    Range c; // drawn again until it is below a + b and differs from both
};

constexpr Levels<Summands> kLevels{
    {15, 10, {{3, 23}, {2, 14}, {1, 35}}},
    {22, 13, {{3, 38}, {2, 19}, {1, 50}}},
    {30, 15, {{3, 70}, {2, 30}, {1, 50}}},
};

constexpr Integer kWrongAnswer = 2;
constexpr Integer kStartLevel = 9;
constexpr Integer kWorstLevel = 17;

} // namespace

frmwaage::frmwaage(Zifferix& program) : GameForm(program, kGame) {
    layout_ = smallLayout();
    BackColor = 0xC0FFFF;
    buildScene();

    txtErgebnis.MaxLength = 3;
    txtErgebnis.Entry = forms::TextEntry::Digits;
    txtErgebnis.onKeyPress = [this](int& KeyAscii) { txtErgebnis_KeyPress(KeyAscii); };
    cmdStart.onClick = [this] { cmdStart_Click(); };
    cmdStart.AccessibleName = "nächste Aufgabe";
    homeButton(cmdEnde);

    cmdStart.TabIndex = 0;
    txtErgebnis.TabIndex = 1;
    cmdEnde.TabIndex = 2;
}

void frmwaage::Form_Activate() {
    program_.clearDifficulty();
    LayoutVerkleinern();
    shared_.Punkte = kLevels[shared_.Schwierigkeit].startPoints;
    Runde = 0;
    Stufe = kStartLevel;
    cmdStart.Enabled = true;
    cmdStart_Click();
}

void frmwaage::cmdStart_Click() {
    cmdStart.Enabled = false;
    NaechsteRechnung();
}

void frmwaage::NaechsteRechnung() {
    if (Runde >= 1) {
        txtErgebnis.Enabled = true;
        txtErgebnis.SetFocus();
    }
    colourByLevel();
    for (forms::Label* message : {&lblrichtig, &lblkorrekt1, &lblkorrekt2}) {
        message->Caption.clear();
    }
    level();
    if (Stufe > kWorstLevel) {
        Stufe = kWorstLevel;
    }
    if (Stufe < 0) {
        win();
        return;
    }

    Randomize();
    const Summands& summands = kLevels[shared_.Schwierigkeit].rules;
    Summand1 = draw(summands.a, Rnd());
    Summand2 = draw(summands.b, Rnd());
    do {
        Summand3 = draw(summands.c, Rnd());
    } while (Summand3 >= Summand1 + Summand2 || Summand3 == Summand1 || Summand3 == Summand2);

    lblLinks.Caption = forms::CStr(Summand1) + " + " + forms::CStr(Summand2);
    lblRechts.Caption = forms::CStr(Summand3) + " + ";
    pose(txtErgebnis, spoken::missingSummand(forms::CStr(Summand1), forms::CStr(Summand2),
                                             forms::CStr(Summand3)));
    txtErgebnis.Enabled = true;
    txtErgebnis.Text.clear();
    ++Runde;
}

void frmwaage::txtErgebnis_KeyPress(int& KeyAscii) {
    const double typed = forms::Val(txtErgebnis.Text);
    if (typed > 0 && KeyAscii == kEnter) {
        judge(static_cast<Single>(typed));
    } else {
        digitsOnly(KeyAscii, txtErgebnis);
    }
}

// The balance stays level for the right number and tips towards the heavier side for a wrong
// one; the right number stands under the right pan, with the blank of Str before it.
void frmwaage::judge(Single typed) {
    const Single missing = Summand1 + Summand2 - Summand3;
    answered(txtErgebnis.Text, typed == missing);
    if (typed == missing) {
        --Stufe;
        NeigungLinks = 0;
        NeigungRechts = 0;
        lblrichtig.Caption = "richtig";
        Announce(Stufe >= 0 ? "Richtig, die Waage bleibt gerade. Stufe " + forms::CStr(Stufe) + "."
                            : std::string("Richtig, geschafft!"));
    } else {
        shared_.Punkte = static_cast<Integer>(shared_.Punkte - kWrongAnswer);
        ++Stufe;
        const bool tooLarge = typed > missing;
        NeigungLinks = tooLarge ? -500 : 500;
        NeigungRechts = -NeigungLinks;
        (tooLarge ? lblkorrekt1 : lblkorrekt2).Caption = forms::Str(missing);
        Announce("Falsch, richtig ist " + forms::CStr(missing) + ". Die Waage kippt. Stufe " +
                 forms::CStr(std::min(Stufe, kWorstLevel)) + ".");
    }
    tip();
    // The next Enter poses the next problem instead of judging this one again.
    cmdStart.Enabled = true;
    cmdStart.SetFocus();
    txtErgebnis.Enabled = false;
}

void frmwaage::win() {
    won(kLevels[shared_.Schwierigkeit].bonus);
}

void frmwaage::cmdEnde_Click() {
    leave();
}

} // namespace zifferix
