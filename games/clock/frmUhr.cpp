#include "clock/frmUhr.h"

#include "start/Ending.h"
#include "start/Layout.h"
#include "start/Levels.h"
#include "start/Problems.h"
#include "start/Spoken.h"

#include <array>
#include <cmath>

namespace zifferix {
namespace {

using forms::Integer;
using forms::Single;

struct Rules {
    Integer target; // right answers needed in the minute
    const char* instructions;
};
// The clock race keeps the 0 points the start button gave it.
constexpr Levels<Rules> kLevels{
    {0, 5, {10, "instructions/clock1.html"}},
    {0, 10, {20, "instructions/clock2.html"}},
    {0, 15, {30, "instructions/clock3.html"}},
};

constexpr Range kFactor{2, 8};  // 2 to 9 at every level
constexpr int kMinute = 60;     // new problems come until then
constexpr int kLastSecond = 62; // the tick after it ends the attempt

// The clock: its face is centred at x 3000 and shrinks by 14 twips a second while its red rim
// thickens by a pixel; the hand of 2000 twips turns about (3000, 3000) by 6 degrees a second.
constexpr int kFaceLeft = 1000;
constexpr int kFaceSize = 4000;
constexpr int kCentre = 3000;
constexpr int kHand = 2000;

constexpr forms::Color kLightYellow = 0xC0FFFF;
constexpr forms::Color kNavy = 0x800000;

const forms::Font kArial18Bold{"Arial", 18, true};
constexpr forms::Placement kMehrZeit{1000, 250, 3600, 450};

// The small layout moves the buttons, the message and the pictures to the left.
ScreenLayout layoutOf(frmUhr& f) {
    using layout::shrunk;
    constexpr layout::Shrink kLeftOnly{.top = false, .size = false};
    constexpr forms::Placement kImage1{2918, 1005, 9150, 4800};
    constexpr forms::Placement kImage2{2903, 1020, 9150, 4800};
    constexpr forms::Placement kImage3{2918, 1020, 9150, 4800};
    constexpr forms::Placement kAnfang{9923, 6165, 2145, 1080};
    constexpr forms::Placement kWiederholung{5535, 6165, 3900, 570};
    constexpr forms::Placement kNochmal{6360, 7110, 945, 600};
    constexpr forms::Placement kAus{7725, 7110, 945, 600};
    constexpr layout::Shrink kPicture{.top = false, .size = false, .dx = -1000};
    return ScreenLayout({
        {f.lblWiederholung, kWiederholung, shrunk(kWiederholung, kLeftOnly)},
        {f.start, kNochmal, shrunk(kNochmal, kLeftOnly)},
        {f.cmdEnde, kAus, shrunk(kAus, {.top = false, .size = false, .dx = 300})},
        {f.Image1, kImage1, shrunk(kImage1, kPicture)},
        {f.Image2, kImage2, shrunk(kImage2, kPicture)},
        {f.Image3, kImage3, shrunk(kImage3, kPicture)},
        {f.cmdAnfang, kAnfang, shrunk(kAnfang, kLeftOnly)},
    });
}

} // namespace

frmUhr::frmUhr(Zifferix& program) : GameForm(program, kGame) {
    layout_ = layoutOf(*this);
    dress();
    wire();
    orderTabs();
}

void frmUhr::dress() {
    BackColor = kLightYellow;
    std::array<forms::Image*, 3> pictures{&Image1, &Image2, &Image3};
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        pictures[i]->Picture = {kLevels[static_cast<int>(i) + 1].rules.instructions, 9150, 4800};
        pictures[i]->Visible = false;
    }

    cmdAnfang.Caption = "An&fang";
    cmdAnfang.Graphical = true;
    cmdAnfang.BackColor = 0x00FF00;

    lblZahl1.Move(7515, 2235, 1215, 495);
    lblZahl1.BackColor = 0xFFC0FF;
    lblZahl2.Move(9570, 2235, 1215, 495);
    lblZahl2.BackColor = 0xFFC0C0;
    for (forms::Label* factor : {&lblZahl1, &lblZahl2}) {
        factor->Alignment = forms::TextAlign::Center;
        factor->Font = kArial18Bold;
    }
    txtErgebnis.Move(8595, 3420, 1215, 495);
    txtErgebnis.Alignment = forms::TextAlign::Center;
    txtErgebnis.MaxLength = 2;
    txtErgebnis.Entry = forms::TextEntry::Digits;
    txtErgebnis.Font = kArial18Bold;

    lblZähler.Move(8220, 4305, 2085, 1110);
    lblZähler.BackColor = kNavy;
    lblZähler.ForeColor = forms::colors::Red;
    lblZähler.Font = {"Arial", 24, false};

    lblWiederholung.Alignment = forms::TextAlign::Center;
    lblWiederholung.Font = {"Arial", 12, true};
    start.Caption = "&nochmal";
    cmdEnde.Caption = "&aus";

    shpkreis.Move(kFaceLeft, kFaceLeft, kFaceSize, kFaceSize);
    shpkreis.Kind = forms::ShapeKind::Circle;
    shpkreis.BorderColor = forms::colors::Red;
    shpkreis.FillSolid = true;
    shpkreis.FillColor = 0xC0FFC0;
    lin1.BorderWidth = 3;
    lin1.Visible = false;
    ZEITGEBER.Interval = 1000;
}

void frmUhr::wire() {
    cmdAnfang.onClick = [this] { cmdAnfang_Click(); };
    txtErgebnis.onKeyPress = [this](int& KeyAscii) { txtErgebnis_KeyPress(KeyAscii); };
    start.onClick = [this] { start_Click(); };
    cmdEnde.onClick = [this] { cmdEnde_Click(); };
    ZEITGEBER.onTimer = [this] { ZEITGEBER_Timer(); };
}

// The buttons first: when the start button hides, the answer box after them takes the focus,
// and after a failure "nochmal" does.
void frmUhr::orderTabs() {
    cmdAnfang.TabIndex = 0;
    start.TabIndex = 1;
    cmdEnde.TabIndex = 2;
    txtErgebnis.TabIndex = 3;
}

void frmUhr::Form_Activate() {
    LayoutVerkleinern();
    // Only the level's own instructions: a game left before it began may have shown others.
    Image1.Visible = shared_.Schwierigkeit == difficulty::Leicht;
    Image2.Visible = shared_.Schwierigkeit == difficulty::Normal;
    Image3.Visible = shared_.Schwierigkeit == difficulty::VollSchwer;
    BackColor = kLightYellow;
    for (forms::Control* c : std::initializer_list<forms::Control*>{
             &start, &cmdEnde, &lblWiederholung, &lblZahl1, &lblZahl2, &lblZähler, &txtErgebnis,
             &shpkreis, &lin1}) {
        c->Visible = false;
    }
    cmdAnfang.Visible = true;
    Richtige = 0;
    Sekunden = 0;
    resetClockFace();
    // More time: the hand turns half as fast, so the minute lasts two.
    ZEITGEBER.Interval = 1000 * program_.timeFactor();
    showMoreTime(lblMehrZeit, kMehrZeit, program_.moreTime());
}

void frmUhr::cmdAnfang_Click() {
    program_.clearDifficulty();
    program_.clearChoice(game());
    BackColor = kNavy;
    for (forms::Control* c : std::initializer_list<forms::Control*>{&Image1, &Image2, &Image3}) {
        c->Visible = false;
    }
    for (forms::Control* c : std::initializer_list<forms::Control*>{
             &lblZahl1, &lblZahl2, &shpkreis, &lin1, &txtErgebnis, &lblZähler}) {
        c->Visible = true;
    }
    cmdAnfang.Visible = false;
    cmdEnde.Visible = false;
    start_Click();
}

// Poses the next problem while the minute lasts, and judges the attempt once it is over.
void frmUhr::start_Click() {
    txtErgebnis.Enabled = true;
    if (Sekunden > kMinute) {
        judge();
        return;
    }
    if (Sekunden == 0) {
        resetClockFace(); // "nochmal" starts with the whole face
    }
    ZEITGEBER.Enabled = true;
    for (forms::Control* c :
         std::initializer_list<forms::Control*>{&start, &cmdEnde, &lblWiederholung}) {
        c->Visible = false;
    }
    Randomize();
    const Single Zahl1 = draw(kFactor, Rnd());
    const Single Zahl2 = draw(kFactor, Rnd());
    lblZahl1.Caption = forms::Str(Zahl1);
    lblZahl2.Caption = forms::Str(Zahl2);
    pose(txtErgebnis,
         spoken::number(lblZahl1.Caption) + " mal " + spoken::number(lblZahl2.Caption));
    Ergebnis = Zahl2 * Zahl1;
    txtErgebnis.Text.clear();
    lblZähler.Caption = " " + forms::CStr(Richtige) + " richtig";
}

void frmUhr::judge() {
    ZEITGEBER.Enabled = false;
    const int level = shared_.Schwierigkeit;
    const Level<Rules>& table = kLevels[level];
    if (Richtige >= table.rules.target) {
        won(table.bonus);
        return;
    }
    attemptLost();
    lblWiederholung.Caption =
        "Das war nicht genug, du hast nur " + forms::CStr(Richtige) + " richtig gerechnet.";
    Announce(lblWiederholung.Caption);
    lblWiederholung.Visible = true;
    txtErgebnis.Enabled = false;
    start.Visible = true;
    cmdEnde.Visible = true;
    Richtige = 0;
    shared_.Punkte = 0;
    Sekunden = 0;
}

void frmUhr::txtErgebnis_KeyPress(int& KeyAscii) {
    if (KeyAscii == kEnter) {
        // An empty box reads as 0: a wrong answer.
        const bool right = forms::SingleEquals(Ergebnis, forms::Val(txtErgebnis.Text));
        answered(txtErgebnis.Text, right);
        if (right) {
            shared_.Punkte = static_cast<Integer>(shared_.Punkte + 1);
            ++Richtige;
            Announce("Richtig, " + forms::CStr(Richtige) + " richtig.");
            start_Click();
        } else if (Sekunden <= kMinute) {
            Announce("Falsch.");
            txtErgebnis.Text.clear();
        } else {
            start_Click();
        }
    } else {
        digitsOnly(KeyAscii, txtErgebnis);
    }
}

void frmUhr::ZEITGEBER_Timer() {
    ++Sekunden;
    Winkel = 90 - 6 * Sekunden;
    Bogen = Winkel * 3.1415927 / 180;
    // y grows downwards: the hand starts at 12 o'clock and turns clockwise once a minute.
    lin1.Y2 = layout::twips(kCentre - std::sin(Bogen) * kHand);
    lin1.X2 = layout::twips(std::cos(Bogen) * kHand + kCentre);
    shpkreis.Left = 7 * Sekunden + kFaceLeft;
    shpkreis.Width = kFaceSize - 14 * Sekunden;
    shpkreis.BorderWidth = Sekunden;
    sayTimeLeft();
    if (Sekunden > kLastSecond) {
        ZEITGEBER.Enabled = false;
        start_Click();
    }
}

// What a sighted child sees on the clock: every ten seconds and the last five, in seconds of
// real time, which more time makes twice as long. The time left never cuts off a verdict or a
// problem: it comes after them, and the problem after it.
void frmUhr::sayTimeLeft() {
    const int left = (kMinute - Sekunden) * ZEITGEBER.Interval / 1000;
    if (Sekunden == kMinute) {
        Announce("Die Zeit ist um.");
    } else if (left > 0 && (left % 10 == 0 || left <= 5)) {
        AnnounceLater("Noch " + spoken::count(left, "Sekunde", "Sekunden") + ".");
    }
}

// The whole face, and the hand at 12 o'clock, where the first tick moves it on by one second.
void frmUhr::resetClockFace() {
    lin1.set(kCentre, kCentre, kCentre, kCentre - kHand);
    shpkreis.BorderWidth = 1;
    shpkreis.Left = kFaceLeft;
    shpkreis.Width = kFaceSize;
}

void frmUhr::cmdEnde_Click() {
    leave();
}

} // namespace zifferix
