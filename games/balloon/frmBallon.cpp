#include "balloon/frmBallon.h"

#include "balloon/Masses.h"
#include "start/Levels.h"
#include "start/Problems.h"

#include <array>

namespace zifferix {
namespace {

using forms::Integer;

constexpr Levels<> kLevels{{15, 10}, {20, 15}, {25, 20}};

// Where the balloon's left edge heads for each helium level. Growing by one step per tick
// keeps its bottom edge at 7810 and its centre at 1996, so a target is a size.
constexpr std::array<int, 6> kZielX{1900, 1800, 1700, 1400, 1200, 800};
constexpr int kFullOfGas = 6;

constexpr Integer kWrongWithoutGas = 1;
constexpr Integer kWrongWithGas = 3;

// The balloon, rope and weight at the start of a game; the left edge is 1986, not the design
// 1985, so that every target is reached exactly in steps of 2.
constexpr int kBallLeft = 1986;
constexpr int kBallTop = 7780;
constexpr int kBallWidth = 20;
constexpr int kBallHeight = 30;
constexpr int kRopeTop = 7710;
constexpr int kRopeBottom = 8640;
constexpr int kWeightTop = 8610;
constexpr int kWeightHeight = 2040;

constexpr int kRiseStep = 30; // twips per tick while rising
constexpr int kRiseInterval = 60;

// The scene starts 500 twips above its scaled place in the small layout.
constexpr int sceneTop(int design, bool small) {
    return small ? layout::twips(design * layout::kY - 500) : design;
}

const forms::Font kArial20{"Arial", 20.25, false};
constexpr forms::Color kOrange = 0x0080FF;
constexpr forms::Color kBalloonGreen = 0x00C000;

// The small layout shrinks the instructions and the home button; the problem row stays.
ScreenLayout layoutOf(frmBallon& f) {
    using layout::shrunk;
    constexpr forms::Placement kImage2{3930, 4470, 9075, 2415};
    constexpr forms::Placement kEnde{13275, 9180, 1215, 495};
    return ScreenLayout({
        {f.Image2, kImage2, shrunk(kImage2, {.left = false, .top = false})},
        {f.cmdEnde, kEnde, shrunk(kEnde)},
    });
}

} // namespace

frmBallon::frmBallon(Zifferix& program) : GameForm(program, kGame) {
    layout_ = layoutOf(*this);
    BackColor = kOrange;

    struct Box {
        forms::Label& label;
        forms::Placement place;
        forms::TextAlign alignment;
    };
    for (const Box& b : {Box{lblzahl, {1830, 1425, 2415, 735}, forms::TextAlign::Right},
                         Box{lblbez1, {4470, 1425, 855, 735}, forms::TextAlign::Center},
                         Box{lblbez2, {8670, 1425, 855, 735}, forms::TextAlign::Center}}) {
        b.label.Move(b.place);
        b.label.BackColor = forms::colors::White;
        b.label.BorderSingle = true;
        b.label.Alignment = b.alignment;
        b.label.Font = kArial20;
    }
    Label3.Move(5550, 1545, 375, 615);
    Label3.Caption = "=";
    Label3.Transparent = true;
    Label3.Font = forms::Font{"MS Sans Serif", 24, false};

    txtEing.Move(6030, 1425, 2415, 735);
    txtEing.Alignment = forms::TextAlign::Right;
    txtEing.Entry = forms::TextEntry::Decimal;
    txtEing.Font = kArial20;
    txtEing.onKeyPress = [this](int& KeyAscii) { txtEing_KeyPress(KeyAscii); };

    Image2.Picture = {"instructions/balloon.html", Image2.Width, Image2.Height};
    Image1.Move(1395, kWeightTop, 1230, kWeightHeight);
    Image1.Picture = {"weight.svg", 1230, kWeightHeight};
    ln1.set(2000, kRopeBottom, 2000, kRopeTop);
    shpBall.Move(1985, kBallTop, kBallWidth, kBallHeight);
    shpBall.Kind = forms::ShapeKind::Oval;
    shpBall.FillSolid = true;
    shpBall.FillColor = kBalloonGreen;

    homeButton(cmdEnde);
    cmdEnde.TabIndex = 0;
    txtEing.TabIndex = 1;

    tmr.Interval = 1;
    tmr.onTimer = [this] { tmr_Timer(); };
}

void frmBallon::Form_Activate() {
    KommaGesetzt = false;
    AufgabenNr = 0;
    cmdEnde.Enabled = false;

    for (forms::Control* c : std::initializer_list<forms::Control*>{
             &lblzahl, &lblbez1, &lblbez2, &Label3, &txtEing, &Image1, &Image2, &shpBall}) {
        c->Visible = true;
    }
    LayoutVerkleinern();
    const bool small = layout_.small();
    Image1.Top = sceneTop(kWeightTop, small);
    ln1.Y1 = sceneTop(kRopeBottom, small);
    ln1.Y2 = sceneTop(kRopeTop, small);
    shpBall.Move(kBallLeft, sceneTop(kBallTop, small), kBallWidth, kBallHeight);

    shared_.Punkte = kLevels[shared_.Schwierigkeit].startPoints;
    tmr.Enabled = true;
    tmr.Interval = 1;

    Gas = 0;
    BallonZiel();
}

void frmBallon::BallonZiel() {
    if (Gas >= 0 && Gas < kFullOfGas) {
        ZielX = kZielX[static_cast<std::size_t>(Gas)];
    }
    tmr_Timer();
}

void frmBallon::tmr_Timer() {
    if (shpBall.Left != ZielX && Gas < kFullOfGas) {
        // One step towards the size of the level; the bottom edge and the centre stay.
        txtEing.Enabled = false;
        tmr.Enabled = true;
        const int grow = shpBall.Left > ZielX ? 1 : -1;
        shpBall.Height += 6 * grow;
        shpBall.Width += 4 * grow;
        shpBall.Left -= 2 * grow;
        shpBall.Top -= 6 * grow;
    } else {
        tmr.Enabled = false;
        txtEing.Enabled = true;
        NeueAufgabe();
    }

    if (Gas >= kFullOfGas) {
        if (Image1.Top > -kWeightHeight) {
            for (forms::Control* c : std::initializer_list<forms::Control*>{
                     &lblzahl, &txtEing, &lblbez1, &lblbez2, &Label3}) {
                c->Visible = false;
            }
            tmr.Enabled = true;
            tmr.Interval = kRiseInterval;
            shpBall.Top -= kRiseStep;
            ln1.Y1 -= kRiseStep;
            ln1.Y2 -= kRiseStep;
            Image1.Top -= kRiseStep;
        } else {
            win(); // the weight has left the screen
        }
    }
}

void frmBallon::NeueAufgabe() {
    if (AufgabenNr > 0 && Gas < kFullOfGas) {
        cmdEnde.Enabled = true;
        txtEing.SetFocus();
    }
    tmr.Enabled = false;
    txtEing.Text.clear();
    Randomize();
    problem_ = kMasses.draw(shared_.Schwierigkeit, [this] { return Rnd(); });
    ++AufgabenNr;
    lblbez1.Caption = std::string(kMasses.unit(problem_.VonEinheit).text);
    lblbez2.Caption = std::string(kMasses.unit(problem_.NachEinheit).text);
    lblzahl.Caption = forms::CStr(problem_.Zahl);
    pose(txtEing, kMasses.question(lblzahl.Caption, problem_));
    cmdEnde.Enabled = true;
}

void frmBallon::txtEing_KeyPress(int& KeyAscii) {
    if (!txtEing.Text.empty() && KeyAscii == kEnter) {
        KommaGesetzt = false;
        cmdEnde.Enabled = false;
        // A lone comma is no number: judged as a wrong answer.
        const std::optional<forms::Single> typed = forms::CSng(txtEing.Text);
        Eingabe = typed.value_or(0);
        const bool right = typed && forms::SingleEquals(Eingabe, kMasses.expected(problem_));
        answered(txtEing.Text, right);
        if (right) {
            Nachfuellen();
        } else {
            GasVerlieren();
        }
    } else {
        digitsAndOneComma(KeyAscii, txtEing, KommaGesetzt);
    }
}

void frmBallon::Nachfuellen() {
    ++Gas;
    Announce(Gas >= kFullOfGas ? std::string("Richtig! Der Ballon hebt das Gewicht.")
                               : "Richtig, " + std::to_string(Gas) + " von " +
                                     std::to_string(kFullOfGas) + " in Folge.");
    BallonZiel();
}

void frmBallon::GasVerlieren() {
    if (Gas == 0) {
        Announce("Falsch.");
        shared_.Punkte = static_cast<Integer>(shared_.Punkte - kWrongWithoutGas);
        NeueAufgabe();
        return;
    }
    Announce("Falsch, das Gas ist entwichen.");
    shared_.Punkte = static_cast<Integer>(shared_.Punkte - kWrongWithGas);
    Gas = 0;
    BallonZiel();
}

void frmBallon::win() {
    won(kLevels[shared_.Schwierigkeit].bonus);
}

void frmBallon::cmdEnde_Click() {
    leave();
}

} // namespace zifferix
