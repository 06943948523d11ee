#include "glass/frmbruchteile.h"

#include "start/Levels.h"
#include "start/Problems.h"
#include "start/Spoken.h"

#include <cmath>

namespace zifferix {
namespace {

using forms::Integer;
using forms::Single;

struct Rules {
    int drainInterval; // ms per drain tick
    Single limit;      // Zahl / Nenner stays below it
};

constexpr Levels<Rules> kLevels{
    {30, 5, {600, 10}},
    {37, 10, {400, 12}},
    {45, 15, {300, 15}},
};

constexpr int kFirstFilling = 2000; // the first filling stops at the first level above it
constexpr int kFillStep = 3;
constexpr int kDrainStep = 10;
constexpr int kPour = 500; // a right answer
constexpr int kFull = 6000;
constexpr int kEmpty = 10;
constexpr int kLow = kFull / 6; // below it a screen reader warns that the glass runs dry

// The glass: walls from top to bottom, and its floor. The water rises from the bottom.
struct GlassPlace {
    int top;
    int bottom;
    int floor;
};
constexpr GlassPlace kLargeGlass{4000, 10000, 9980};
constexpr GlassPlace kSmallGlass{2000, 8000, 8000};
constexpr int kLeftWall = 7000;
constexpr int kRightWall = 10000;

constexpr forms::Placement kMehrZeit{7000, 300, 3600, 450};

const forms::Font kArial18Bold{"Arial", 18, true};
constexpr forms::Color kLightCyan = 0xFFFFC0;
constexpr forms::Color kLightBlue = 0xFFC0C0;

// The walls of a glass.
struct Walls {
    forms::Segment left;
    forms::Segment right;
    forms::Segment floor;
};
constexpr Walls wallsOf(GlassPlace glass) {
    return {{kLeftWall, glass.top, kLeftWall, glass.bottom},
            {kRightWall, glass.top, kRightWall, glass.bottom},
            {kLeftWall, glass.floor, kRightWall, glass.floor}};
}

// The small layout shrinks the instructions and the home button and stands the glass higher;
// the problem row and the answer box stay.
ScreenLayout layoutOf(frmbruchteile& f) {
    constexpr forms::Placement kImage1{330, 2445, 9075, 1935};
    constexpr forms::Placement kEnde{13815, 9450, 1110, 540};
    constexpr Walls kLarge = wallsOf(kLargeGlass);
    constexpr Walls kSmall = wallsOf(kSmallGlass);
    return ScreenLayout({{f.Image1, kImage1, {layout::scaleX(kImage1.Left), 3200, 6500, 1400}},
                         {f.cmdEnde, kEnde, layout::shrunk(kEnde, {.size = false})}},
                        {{f.Line2, kLarge.left, kSmall.left},
                         {f.Line3, kLarge.right, kSmall.right},
                         {f.Line4, kLarge.floor, kSmall.floor}});
}

} // namespace

frmbruchteile::frmbruchteile(Zifferix& program) : GameForm(program, kGame) {
    layout_ = layoutOf(*this);
    BackColor = kLightCyan;

    Image1.Picture = {"instructions/glass.html", Image1.Width, Image1.Height};

    struct ProblemLabel {
        forms::Label& label;
        const char* caption;
        forms::Placement place;
        bool autoSize;
    };
    for (const ProblemLabel& p : {
             ProblemLabel{lblZähler, "Zähler", {390, 960, 1215, 495}, false},
             ProblemLabel{lblNenner, "Nenner", {420, 1635, 1215, 495}, false},
             ProblemLabel{lblvon, "von", {1980, 1350, 660, 435}, true},
             ProblemLabel{lblZahl, "Zahl", {2955, 1350, 1215, 495}, false},
             ProblemLabel{lblgleich, "=", {4320, 1350, 210, 435}, true},
         }) {
        p.label.Move(p.place);
        p.label.Caption = p.caption;
        p.label.Font = kArial18Bold;
        p.label.Alignment = forms::TextAlign::Center;
        p.label.Transparent = true;
        p.label.AutoSize = p.autoSize;
    }
    Line1.set(405, 1545, 1650, 1545);
    Line1.BorderWidth = 3;

    txtErgebnis.Move(4785, 1335, 1215, 495);
    txtErgebnis.Text = "Ergebnis";
    txtErgebnis.Font = kArial18Bold;
    txtErgebnis.Alignment = forms::TextAlign::Center;
    txtErgebnis.MaxLength = 3;
    txtErgebnis.Entry = forms::TextEntry::Digits;
    txtErgebnis.onKeyPress = [this](int& KeyAscii) { txtErgebnis_KeyPress(KeyAscii); };
    showProblem(false);

    for (forms::Line* wall : {&Line2, &Line3, &Line4}) {
        wall->BorderWidth = 3;
    }
    shpGlas.Move(kLeftWall, kLargeGlass.top, kRightWall - kLeftWall, kFull);
    shpGlas.Kind = forms::ShapeKind::Rectangle;
    shpGlas.FillSolid = true;
    shpGlas.FillColor = kLightBlue;
    shpGlas.BorderColor = kLightBlue;
    homeButton(cmdEnde);

    Timer1.onTimer = [this] { Timer1_Timer(); };
    Timer2.Interval = 1;
    Timer2.onTimer = [this] { Timer2_Timer(); };
}

void frmbruchteile::Form_Activate() {
    program_.clearDifficulty();
    LayoutVerkleinern();

    const Level<Rules>& level = kLevels[shared_.Schwierigkeit];
    // More time: the glass drains half as fast.
    Timer1.Interval = level.rules.drainInterval * program_.timeFactor();
    showMoreTime(lblMehrZeit, kMehrZeit, program_.moreTime());
    shared_.Punkte = level.startPoints;

    cmdEnde.Enabled = false;
    Timer2.Enabled = true;
    Image1.Visible = true;
    showProblem(false);

    Fuellstand = 0;
    warnedLow_ = false;
    showWater(); // an empty glass from the start, not the last game's water
    VorfuellungPruefen();
}

void frmbruchteile::Timer2_Timer() {
    Fuellstand += kFillStep;
    showWater();
    VorfuellungPruefen();
}

void frmbruchteile::VorfuellungPruefen() {
    if (Fuellstand > kFirstFilling) {
        Timer2.Enabled = false;
        showProblem(true);
        NeueAufgabe();
    }
}

void frmbruchteile::NeueAufgabe() {
    // The home button stays off during the very first problem of the run.
    if (AufgabenNr >= 1) {
        cmdEnde.Enabled = true;
        txtErgebnis.SetFocus();
    }
    Timer1.Enabled = true;
    Randomize();
    const bool improper = shared_.Schwierigkeit == difficulty::VollSchwer;
    do {
        Zaehler = forms::Int(Rnd() * 10) + 1;
        Nenner = forms::Int(Rnd() * 10) + 1;
    } while (improper ? Zaehler == Nenner : Zaehler >= Nenner);
    const Single limit = kLevels[shared_.Schwierigkeit].rules.limit;
    do {
        Zahl = forms::Int(Rnd() * 100) + 1;
    } while (std::fmod(Zahl, Nenner) != 0 || Zahl / Nenner >= limit);
    Ergebnis = Zaehler * (Zahl / Nenner);

    lblZähler.Caption = forms::CStr(Zaehler);
    lblNenner.Caption = forms::CStr(Nenner);
    lblZahl.Caption = forms::CStr(Zahl);
    pose(txtErgebnis, spoken::fraction(static_cast<int>(Zaehler), static_cast<int>(Nenner)) +
                          " von " + lblZahl.Caption);
    txtErgebnis.Text.clear();
    txtErgebnis.Enabled = true;
    ++AufgabenNr;
}

void frmbruchteile::win() {
    won(kLevels[shared_.Schwierigkeit].bonus);
}

void frmbruchteile::Timer1_Timer() {
    Fuellstand -= kDrainStep;
    if (Fuellstand < kEmpty) {
        lost("Das Glas ist leer.");
    } else if (Fuellstand < kLow && !warnedLow_) {
        Announce("Vorsicht, das Glas ist fast leer!");
        warnedLow_ = true;
    }
    showWater();
}

void frmbruchteile::txtErgebnis_KeyPress(int& KeyAscii) {
    const double typed = forms::Val(txtErgebnis.Text);
    if (typed > 0 && KeyAscii == kEnter) {
        shared_.Punkte = static_cast<Integer>(shared_.Punkte - 1);
        const bool right = forms::SingleEquals(Ergebnis, typed);
        answered(txtErgebnis.Text, right);
        if (right) {
            Fuellstand += kPour;
            Image1.Visible = false; // the instructions go at the first right answer
            sayHowFull();
            if (Fuellstand >= kFull) {
                win();
            } else {
                NeueAufgabe();
            }
        } else {
            Announce("Falsch.");
            txtErgebnis.Text.clear();
        }
    } else {
        digitsOnly(KeyAscii, txtErgebnis);
    }
}

// "Das Glas ist zu 40 Prozent voll", to the nearest tenth, as a sighted child sees it.
void frmbruchteile::sayHowFull() {
    warnedLow_ = Fuellstand < kLow;
    if (Fuellstand >= kFull) {
        Announce("Richtig. Das Glas ist voll.");
        return;
    }
    // Nearly full is not full: that is said when it is.
    const int percent = std::min((Fuellstand * 10 + kFull / 2) / kFull * 10, 90);
    Announce("Richtig. Das Glas ist zu " + std::to_string(percent) + " Prozent voll.");
}

void frmbruchteile::cmdEnde_Click() {
    leave();
}

// The water rises from the glass's floor; it is drawn anew only at the timers' ticks.
void frmbruchteile::showWater() {
    const int bottom = layout_.small() ? kSmallGlass.bottom : kLargeGlass.bottom;
    shpGlas.Top = bottom - Fuellstand;
    shpGlas.Height = Fuellstand;
}

void frmbruchteile::showProblem(bool visible) {
    for (forms::Control* c : std::initializer_list<forms::Control*>{
             &lblZähler, &lblNenner, &lblZahl, &lblgleich, &lblvon, &Line1, &txtErgebnis}) {
        c->Visible = visible;
    }
}

} // namespace zifferix
