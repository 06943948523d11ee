#include "flying/frmWander.h"

#include "start/Ending.h"
#include "start/Levels.h"
#include "start/Problems.h"
#include "start/Spoken.h"

#include <climits>

namespace zifferix {
namespace {

using forms::Integer;
using forms::Single;

struct Growth {
    int largestFactor; // the numbers grow with every right answer up to it
};

constexpr Levels<Growth> kLevels{{-4, 5, {2}}, {1, 10, {4}}, {6, 15, {INT_MAX}}};

constexpr Integer kPointsPerProblem = 2;
constexpr Integer kWrongAnswer = 2;
constexpr Integer kRightToWin = 12;
constexpr int kMostAnswers = 20;
constexpr int kSideMargin = 500; // kept free on the left and on the right

constexpr forms::Color kPositive = 0x008000;
constexpr forms::Color kNegative = 0x0000FF;

const forms::Font kNumberFont{"Comic Sans MS", 26.25, true};

ScreenLayout layoutOf(frmWander& f) {
    constexpr forms::Placement kEing{12090, 4770, 1515, 600};
    constexpr forms::Placement kEnde{13935, 9600, 855, 495};
    return ScreenLayout({{f.txtEing, kEing, layout::shrunk(kEing)},
                         {f.cmdEnde, kEnde, layout::shrunk(kEnde, {.size = false})}});
}

} // namespace

frmWander::frmWander(Zifferix& program) : GameForm(program, kGame) {
    layout_ = layoutOf(*this);
    BackColor = 0xFF80FF;

    Image1.Move(585, 1410, 9075, 2415);
    Image1.Picture = {"instructions/flying.html", 9075, 2415};

    cmdStart.Move(4380, 4800, 1755, 720);
    cmdStart.Caption = "&Start";
    cmdStart.Graphical = true;
    cmdStart.BackColor = 0xFF8080;
    cmdStart.onClick = [this] { cmdStart_Click(); };

    struct Number {
        forms::Label& label;
        const char* caption;
        int left;
        int top;
    };
    for (const Number& n : {Number{lblZahl1, "Z1", 6765, 915}, Number{lblZahl2, "Z2", 960, 4485},
                            Number{lblZahl3, "Z3", 9015, 5580}}) {
        n.label.Move(n.left, n.top, 675, 735);
        n.label.Caption = n.caption;
        n.label.Font = kNumberFont;
        n.label.Transparent = true;
        n.label.AutoSize = true;
        n.label.Visible = false;
    }
    lblZahl1.ForeColor = kPositive;

    txtEing.Alignment = forms::TextAlign::Center;
    txtEing.MaxLength = 3;
    txtEing.Entry = forms::TextEntry::Digits;
    txtEing.Font = forms::Font{"Comic Sans MS", 18, false};
    txtEing.onKeyPress = [this](int& KeyAscii) { txtEing_KeyPress(KeyAscii); };

    homeButton(cmdEnde);

    tmrTimer.Interval = 15;
    tmrTimer.onTimer = [this] { tmrTimer_Timer(); };

    // The start button first, then the answer box, so that the box has the focus as soon as
    // the start button has gone.
    cmdStart.TabIndex = 0;
    txtEing.TabIndex = 1;
    cmdEnde.TabIndex = 2;
}

void frmWander::Form_Activate() {
    LayoutVerkleinern();
    program_.clearDifficulty();
    shared_.Punkte = kLevels[shared_.Schwierigkeit].startPoints;

    for (forms::Control* c :
         std::initializer_list<forms::Control*>{&lblZahl1, &lblZahl2, &lblZahl3, &txtEing}) {
        c->Visible = false;
    }
    cmdStart.Visible = true;
    Image1.Visible = true;
    txtEing.Text.clear();

    Versuche = 0;
    Faktor = 1;
    Richtige = 0;

    SchrittX1 = 50;
    SchrittY1 = 75;
    SchrittX2 = 70;
    SchrittY2 = 55;
    SchrittX3 = 90;
    SchrittY3 = 35;
}

void frmWander::cmdStart_Click() {
    for (forms::Control* c :
         std::initializer_list<forms::Control*>{&lblZahl1, &lblZahl2, &lblZahl3, &txtEing}) {
        c->Visible = true;
    }
    Image1.Visible = false;
    NeueAufgabe();
}

void frmWander::beforeBonus() {
    if (shared_.Punkte < 0) {
        shared_.Punkte = 0;
    }
}

void frmWander::NeueAufgabe() {
    shared_.Punkte = static_cast<Integer>(shared_.Punkte + kPointsPerProblem);
    tmrTimer.Enabled = true;
    cmdStart.Visible = false;
    Randomize();
    const auto draw = [this] { return forms::Int(static_cast<Single>(Faktor) * (Rnd() * 10)) + 1; };
    const auto sign = [this] { return forms::Int(2 * Rnd()); };
    const auto apply = [](Single vorzeichen, Single& zahl, forms::Label& label) {
        if (vorzeichen == 1) {
            zahl = -zahl;
            label.ForeColor = kNegative;
        } else {
            label.ForeColor = kPositive;
        }
    };
    do {
        Zahl1 = draw();
        Zahl2 = draw();
        Zahl3 = draw();
        Vorzeichen1 = sign();
        Vorzeichen2 = sign();
        Vorzeichen3 = sign();
        apply(Vorzeichen1, Zahl1, lblZahl1);
        apply(Vorzeichen2, Zahl2, lblZahl2);
        apply(Vorzeichen3, Zahl3, lblZahl3);
        Summe = Zahl1 + Zahl2 + Zahl3;
    } while (Summe <= 0);
    lblZahl1.Caption = forms::CStr(Zahl1);
    lblZahl2.Caption = forms::CStr(Zahl2);
    lblZahl3.Caption = forms::CStr(Zahl3);
    pose(txtEing, spoken::signedSum({lblZahl1.Caption, lblZahl2.Caption, lblZahl3.Caption}));
}

void frmWander::txtEing_KeyPress(int& KeyAscii) {
    if (KeyAscii == kEnter) {
        if (txtEing.Text.empty()) {
            txtEing.SetFocus();
            return;
        }
        ++Versuche;
        const bool last = Versuche > kMostAnswers;
        if (last) {
            // The game is over before this answer is judged; it still wins if it is the twelfth
            // right one, and is lost otherwise.
            stop();
            Hide();
        }
        Auswerten();
        if (last && Richtige < kRightToWin) {
            endLost(*this, "Keine Antwort mehr übrig."); // already stopped
        }
    } else {
        digitsOnly(KeyAscii, txtEing);
    }
}

void frmWander::Auswerten() {
    const bool right = forms::SingleEquals(Summe, forms::Val(txtEing.Text));
    answered(txtEing.Text, right);
    if (right) {
        ++Richtige;
        if (Faktor < kLevels[shared_.Schwierigkeit].rules.largestFactor) {
            ++Faktor;
        }
        if (Richtige < kRightToWin && Versuche <= kMostAnswers) {
            Announce("Richtig. Noch " + std::to_string(kRightToWin - Richtige) + " richtige, " +
                     answersLeft());
        }
        txtEing.Text.clear();
        if (Richtige >= kRightToWin) {
            won(kLevels[shared_.Schwierigkeit].bonus);
        } else {
            NeueAufgabe();
        }
    } else {
        if (Versuche <= kMostAnswers) {
            Announce("Falsch. Noch " + answersLeft());
        }
        txtEing.Text.clear();
        shared_.Punkte = static_cast<Integer>(shared_.Punkte - kWrongAnswer);
    }
}

// "15 Antworten.": the answers the child has left, the last one counted.
std::string frmWander::answersLeft() const {
    return spoken::count(kMostAnswers + 1 - Versuche, "Antwort", "Antworten") + ".";
}

void frmWander::tmrTimer_Timer() {
    fly(lblZahl1, SchrittX1, SchrittY1);
    fly(lblZahl2, SchrittX2, SchrittY2);
    fly(lblZahl3, SchrittX3, SchrittY3);
}

// One step, then a bounce at each edge the number has reached: the step reverses without
// looking at its direction.
void frmWander::fly(forms::Label& number, int& dx, int& dy) const {
    number.Left += dx;
    number.Top += dy;
    if (number.Top <= 0) {
        dy = -dy;
    }
    if (number.Left <= kSideMargin) {
        dx = -dx;
    }
    if (number.Height + number.Top >= ScaleHeight) {
        dy = -dy;
    }
    if (number.Left + kSideMargin + number.Width >= ScaleWidth) {
        dx = -dx;
    }
}

// The numbers' timer runs on: the next activation hides them, and the next start draws anew.
void frmWander::cmdEnde_Click() {
    cmdStart.Visible = true;
    cmdStart.Enabled = true;
    cmdStart.SetFocus();
    Grundstellung();
    left();
}

} // namespace zifferix
