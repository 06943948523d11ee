// The mountain's scene: the path of five lines, the thirteen stations the ball rests at, the
// ball's motion from station to station, and the small layout for a screen of 800 pixels or
// less.

#include "mountain/frmBerg.h"
#include "start/Layout.h"

#include <algorithm>
#include <array>

namespace zifferix {
namespace {

struct Point {
    int left;
    int top;
};

// The ball's left and top at each station. Every left is a multiple of 10 and every top of 5,
// so the ball, moving 10 across and 5 up or down a tick, meets each station exactly.
constexpr std::array<Point, 13> kLargeStations{{
    {0, 8300},
    {1920, 8300},
    {3850, 8300},
    {5090, 7685},
    {6320, 7075},
    {7560, 6460},
    {8000, 6300},
    {9540, 6300},
    {10790, 5675},
    {12050, 5055},
    {13300, 4430},
    {13690, 4300},
    {16000, 4300}, // out of the screen at the top right
}};
constexpr std::array<Point, 13> kSmallStations{{
    {60, 6800},
    {1320, 6800},
    {2850, 6810},
    {3600, 6430},
    {4510, 5980},
    {5570, 5460},
    {6000, 5310},
    {7270, 5310},
    {8150, 4860},
    {9100, 4400},
    {9970, 3950},
    {10390, 3810},
    {12000, 3810},
}};

// Foot, first steep slope, terrace, second steep slope, summit.
constexpr std::array<forms::Segment, 5> kLargePath{{
    {0, 9000, 4300, 9000},
    {4300, 9000, 8300, 7000},
    {8300, 7000, 10000, 7000},
    {10000, 7000, 14000, 5000},
    {14000, 5000, 16000, 5000},
}};
constexpr std::array<forms::Segment, 5> kSmallPath{{
    {0, 7500, 3300, 7500},
    {3300, 7500, 6300, 6000},
    {6300, 6000, 7700, 6000},
    {7700, 6000, 10700, 4500},
    {10700, 4500, 12350, 4500},
}};

constexpr int kAcross = 10; // twips per tick
constexpr int kUpOrDown = 5;
constexpr int kBallSize = 700;

constexpr double kLargeFont = 20;
constexpr double kSmallFont = 18;

std::array<forms::Line*, 5> path(frmBerg& f) {
    return {&f.ln1, &f.ln2, &f.ln3, &f.ln4, &f.ln5};
}

} // namespace

// The small layout scales the problem, the instructions and the buttons, takes a smaller font
// for the problem and a path of its own.
ScreenLayout frmBerg::smallLayout() {
    const auto scaled = [](forms::Control& control, forms::Placement design) {
        return ScreenLayout::Place{control, design, layout::shrunk(design)};
    };
    std::vector<ScreenLayout::Ends> lines;
    for (std::size_t i = 0; i < kLargePath.size(); ++i) {
        lines.push_back({*path(*this)[i], kLargePath[i], kSmallPath[i]});
    }
    std::vector<ScreenLayout::FontSize> fonts;
    for (forms::Control* problem :
         std::array<forms::Control*, 4>{&lblzahl, &lblbez1, &lblbez2, &txtEing}) {
        fonts.push_back({*problem, kLargeFont, kSmallFont});
    }
    return ScreenLayout(
        {scaled(Image1, {945, 3075, 9735, 3285}), scaled(lblzahl, {1065, 1785, 2415, 735}),
         scaled(lblbez1, {3705, 1785, 855, 735}), scaled(lblbez2, {7905, 1785, 855, 735}),
         scaled(Label3, {4785, 1905, 375, 615}), scaled(txtEing, {5295, 1785, 2415, 735}),
         scaled(cmdLos, {4695, 6705, 1305, 450}), scaled(cmdEnde, {13140, 9555, 945, 495})},
        std::move(lines), std::move(fonts));
}

void frmBerg::buildScene() {
    for (forms::Control* c : std::initializer_list<forms::Control*>{&lblzahl, &lblbez1, &Label3,
                                                                    &txtEing, &lblbez2, &cmdLos}) {
        c->Font = {"Arial", kLargeFont, false};
    }
    Label3.Font = {"MS Sans Serif", 24, false};
    Label3.Transparent = true;
    cmdEnde.Font = {"MS Sans Serif", 8, false};
    for (forms::Control* c :
         std::initializer_list<forms::Control*>{&lblzahl, &lblbez1, &lblbez2, &txtEing}) {
        c->BackColor = forms::colors::White;
    }
    lblzahl.Alignment = forms::TextAlign::Right;
    lblbez1.Alignment = forms::TextAlign::Center;
    lblbez2.Alignment = forms::TextAlign::Center;
    txtEing.Alignment = forms::TextAlign::Right;
    txtEing.Entry = forms::TextEntry::Decimal;
    Image1.Picture = {"instructions/mountain.html", 9735, 3285};

    for (forms::Line* line : path(*this)) {
        line->BorderWidth = 3;
        line->BorderColor = 0x214365; // brown earth
    }
    shpStein.Move(13690, 4300, 705, 705);
    shpStein.Kind = forms::ShapeKind::Circle;
    shpStein.FillSolid = true;
    shpStein.FillColor = 0x0040C0;
}

void frmBerg::placeBallAtFoot() {
    const Point foot = (layout_.small() ? kSmallStations : kLargeStations)[0];
    ZielX = foot.left;
    ZielY = foot.top;
    shpStein.Move(ZielX, ZielY, kBallSize, kBallSize);
}

void frmBerg::BallZiel() {
    cmdEnde.Enabled = false; // no leaving while the ball moves
    const Point target =
        (layout_.small()
             ? kSmallStations
             : kLargeStations)[static_cast<std::size_t>(std::clamp(Position, 0, kOutAtTheTop))];
    ZielX = Position >= kOutAtTheTop ? exitLeft(target.left) : target.left;
    ZielY = target.top;
    Timer1_Timer();
}

// The last station lies past the right edge of a 1024-pixel screen. A wider window (a zoomed
// 16:9 screen is 20480 twips wide) moves it on to the window's edge, on the same 10-twip grid,
// so that the ball leaves the screen there too.
int frmBerg::exitLeft(int station) const {
    const int edge = (ScaleWidth + kAcross - 1) / kAcross * kAcross;
    return std::max(station, edge);
}

// One step: 10 across and 5 up or down towards the target. A ball rolling down a steep slope
// turns to the next lower station as soon as it is across, whether or not it is down yet.
void frmBerg::Timer1_Timer() {
    if (shpStein.Left < ZielX) {
        Timer1.Enabled = true;
        shpStein.Left += kAcross;
    } else if (shpStein.Left > ZielX) {
        Timer1.Enabled = true;
        shpStein.Left -= kAcross;
    }
    if (shpStein.Top < ZielY) {
        Timer1.Enabled = true;
        shpStein.Top += kUpOrDown;
    } else if (shpStein.Top > ZielY) {
        Timer1.Enabled = true;
        shpStein.Top -= kUpOrDown;
    }
    if (Rollmodus == kRolling && shpStein.Left == ZielX) {
        Zurueckrollen();
    }
    if (shpStein.Top == ZielY && shpStein.Left == ZielX && Rollmodus != kRolling) {
        if (Position == kOutAtTheTop) {
            win();
        } else {
            NeueAufgabe();
        }
    }
}

} // namespace zifferix
