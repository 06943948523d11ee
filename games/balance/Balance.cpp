// The balance's scene: the beam on its post with the two pans, the colour of the level and
// its chart, the tipping, and the small layout for a screen of 800 pixels or less.

#include "balance/frmwaage.h"
#include "start/Layout.h"

#include <iterator>

namespace zifferix {
namespace {

// The chart, best first: a cell for every two levels, 0 and 1 (and -1, which wins) at the top,
// 16 and 17 at the bottom. In the small layout it is a row, worst on the left.
struct ChartCell {
    forms::Label frmwaage::*cell;
    forms::Color colour;
    const char* caption;
    int top;
    int smallLeft;
};

constexpr ChartCell kChart[] = {
    {&frmwaage::Label10, 0x00FF00, "toll", 3255, 10300},
    {&frmwaage::Label9, 0x80FF80, "", 3875, 9100},
    {&frmwaage::Label8, 0xC0FFC0, "", 4495, 7900},
    {&frmwaage::Label7, 0xFFC0C0, "", 5115, 6700},
    {&frmwaage::Label4, 0xFF8080, "Start", 5735, 5500},
    {&frmwaage::Label5, 0xFF0000, "", 6355, 4300},
    {&frmwaage::Label3, 0xC0C0FF, "", 6975, 3100},
    {&frmwaage::Label2, 0x8080FF, "", 7595, 1900},
    {&frmwaage::Label1, 0x0000FF, "Achtung", 8220, 700},
};
constexpr int kChartLeft = 11835;
constexpr int kChartWidth = 1215;
constexpr int kChartHeight = 495;
constexpr int kSmallCellTop = 6700;
constexpr int kSmallCellWidth = 900;
constexpr int kSmallCellHeight = 400;

// The level balance: the beam at 3000, the pans hanging 1000 below it.
constexpr int kBeam = 3000;
constexpr int kPan = 4000;
constexpr int kOnPan = 4030;

constexpr forms::Color kGrey = 0xC0C0C0;
const forms::Font kOnPanFont{"MS Sans Serif", 18, true};
const forms::Font kChartFont{"Arial", 9.75, true};

} // namespace

// The balance keeps its place; the home button and the instructions shrink, the message moves
// beside the balance and the chart becomes a row beneath it, worst on the left.
ScreenLayout frmwaage::smallLayout() {
    using layout::shrunk;
    constexpr forms::Placement kEnde{13710, 9735, 1230, 555};
    constexpr forms::Placement kImage1{1500, 6210, 9075, 2895};
    constexpr forms::Placement kRichtig{3615, 1665, 4800, 990};
    constexpr forms::Placement kLabel6{11820, 2640, 1215, 495};
    std::vector<ScreenLayout::Place> places{
        {cmdEnde, kEnde, shrunk(kEnde)},
        {Image1,
         kImage1,
         {2500, 500, layout::scaleX(kImage1.Width), layout::scaleY(kImage1.Height)}},
        {lblrichtig, kRichtig, {7600, 5000, kRichtig.Width, kRichtig.Height}},
        {Label6, kLabel6, {640, 6000, kLabel6.Width, kLabel6.Height}},
    };
    for (const ChartCell& c : kChart) {
        places.push_back({this->*c.cell,
                          {kChartLeft, c.top, kChartWidth, kChartHeight},
                          {c.smallLeft, kSmallCellTop, kSmallCellWidth, kSmallCellHeight}});
    }
    return ScreenLayout(std::move(places));
}

void frmwaage::buildScene() {
    Image1.Picture = {"instructions/balance.html", Image1.Width, Image1.Height};

    lnwaage.set(2000, kBeam, 10000, kBeam);
    lnwaage.BorderWidth = 3;
    Line4.set(6000, kBeam, 6000, 6000);
    Line4.BorderWidth = 5;
    Line4.BorderColor = 0x000080;
    lnLinks.set(2000, kBeam, 2000, kPan);
    lnRechts.set(10000, kBeam, 10000, kPan);
    for (forms::Line* hanger : {&lnLinks, &lnRechts}) {
        hanger->BorderWidth = 3;
    }
    shpLinks.Move(1000, kPan, 2055, 495);
    shpRechts.Move(9000, kPan, 1995, 495);
    for (forms::Shape* pan : {&shpLinks, &shpRechts}) {
        pan->Kind = forms::ShapeKind::RoundedRectangle;
        pan->BorderColor = 0x404040;
        pan->BorderWidth = 3;
        pan->FillSolid = true;
        pan->FillColor = kGrey;
    }
    lblLinks.Move(1000, kOnPan, 2055, 420);
    lblRechts.Move(9000, kOnPan, 1575, 420);
    for (forms::Label* sum : {&lblLinks, &lblRechts}) {
        sum->Alignment = forms::TextAlign::Center;
        sum->Transparent = true; // the pan's colour shows through
        sum->Font = kOnPanFont;
    }
    txtErgebnis.Move(10105, kOnPan, 615, 435);
    txtErgebnis.Font = kOnPanFont;
    txtErgebnis.BackColor = kGrey;

    cmdStart.Move(5970, 5880, 75, 195);
    cmdStart.Graphical = true;
    cmdStart.BackColor = 0x004080;

    lblrichtig.Caption = "richtig";
    lblrichtig.Alignment = forms::TextAlign::Center;
    lblrichtig.Font = {"MS Sans Serif", 24, true};
    lblrichtig.ForeColor = 0x0040C0;
    lblkorrekt1.Move(9345, 5130, 1215, 495);
    lblkorrekt2.Move(9480, 4005, 1215, 495);
    for (forms::Label* correction : {&lblkorrekt1, &lblkorrekt2}) {
        correction->Alignment = forms::TextAlign::Right;
        correction->ForeColor = forms::colors::Red;
        correction->Font = {"MS Sans Serif", 18, false};
    }
    for (forms::Label* message : {&lblrichtig, &lblkorrekt1, &lblkorrekt2}) {
        message->Transparent = true;
    }

    Label6.Caption = "Levelfarb- karte";
    Label6.Alignment = forms::TextAlign::Center;
    Label6.Font = kChartFont;
    Label6.Transparent = true;
    for (const ChartCell& c : kChart) {
        forms::Label& cell = this->*c.cell;
        cell.BackColor = c.colour;
        cell.Caption = c.caption;
        cell.Alignment = forms::TextAlign::Center;
        cell.Font = kChartFont;
    }
}

// The pans and the answer box take the colour of the level; at 18 they keep the one they had.
void frmwaage::colourByLevel() {
    if (Stufe < 0) {
        Stufenfarbe = kChart[0].colour;
    } else if (Stufe / 2 < static_cast<int>(std::size(kChart))) {
        Stufenfarbe = kChart[Stufe / 2].colour;
    }
    shpLinks.FillColor = Stufenfarbe;
    shpRechts.FillColor = Stufenfarbe;
    txtErgebnis.BackColor = Stufenfarbe;
}

void frmwaage::level() {
    lnwaage.Y1 = kBeam;
    lnwaage.Y2 = kBeam;
    for (forms::Line* hanger : {&lnLinks, &lnRechts}) {
        hanger->Y1 = kBeam;
        hanger->Y2 = kPan;
    }
    shpLinks.Top = kPan;
    shpRechts.Top = kPan;
    lblLinks.Top = kOnPan;
    lblRechts.Top = kOnPan;
    txtErgebnis.Top = kOnPan;
}

// Y grows downwards: a side that goes down by 500 takes its end of the beam, its hanger, its pan
// and what stands on it along.
void frmwaage::tip() {
    lnwaage.Y1 += NeigungLinks;
    lnLinks.Y1 += NeigungLinks;
    lnLinks.Y2 += NeigungLinks;
    shpLinks.Top += NeigungLinks;
    lblLinks.Top += NeigungLinks;
    lnwaage.Y2 += NeigungRechts;
    lnRechts.Y1 += NeigungRechts;
    lnRechts.Y2 += NeigungRechts;
    shpRechts.Top += NeigungRechts;
    lblRechts.Top += NeigungRechts;
    txtErgebnis.Top += NeigungRechts;
}

} // namespace zifferix
