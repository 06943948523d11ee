// The spider's scene: the web of 32 strands that grows with every wrong answer, and the
// small layout that shrinks the whole scene on a screen of 800 pixels or less.

#include "spider/frmNetz.h"
#include "start/Layout.h"

#include <array>

namespace zifferix {
namespace {

// A strand, the wrong answer that makes it appear, and its end points in the large layout.
struct Strand {
    forms::Line frmNetz::*line;
    int step;
    forms::Segment design;
};

// Hub at (6000, 5200): the spokes one by one, then the outer ring, the inner ring and the
// middle ring, eight strands at a time.
constexpr Strand kWeb[] = {
    {&frmNetz::ln1, 1, {6000, 5200, 6000, 0}},
    {&frmNetz::ln2, 2, {6000, 10950, 6000, 5200}},
    {&frmNetz::ln3, 3, {0, 5200, 6000, 5200}},
    {&frmNetz::ln4, 4, {6000, 5200, 16000, 5200}},
    {&frmNetz::ln5, 5, {11220, -165, 6015, 5190}},
    {&frmNetz::ln6, 6, {0, 10440, 5985, 5190}},
    {&frmNetz::ln7, 7, {6015, 5205, 12810, 11010}},
    {&frmNetz::ln8, 8, {465, 0, 5985, 5205}},
    {&frmNetz::Line1, 9, {9480, 1620, 10965, 5190}},
    {&frmNetz::Line2, 9, {10950, 5205, 9735, 8385}},
    {&frmNetz::Line3, 9, {6000, 10125, 9735, 8385}},
    {&frmNetz::Line4, 9, {2235, 8475, 6000, 10110}},
    {&frmNetz::Line5, 9, {930, 5190, 2235, 8490}},
    {&frmNetz::Line6, 9, {945, 5205, 2295, 1740}},
    {&frmNetz::Line7, 9, {2310, 1740, 6015, 165}},
    {&frmNetz::Line8, 9, {5985, 165, 9480, 1620}},
    {&frmNetz::Line17, 10, {5985, 6180, 6750, 5835}},
    {&frmNetz::Line18, 10, {6675, 4500, 6975, 5190}},
    {&frmNetz::Line19, 10, {5250, 4530, 6000, 4200}},
    {&frmNetz::Line20, 10, {4995, 5190, 5235, 5850}},
    {&frmNetz::Line21, 10, {5970, 4200, 6675, 4500}},
    {&frmNetz::Line22, 10, {6750, 5835, 6975, 5175}},
    {&frmNetz::Line23, 10, {5235, 5850, 6000, 6180}},
    {&frmNetz::Line24, 10, {5280, 4515, 4995, 5205}},
    {&frmNetz::Line9, 11, {3000, 5205, 3795, 3150}},
    {&frmNetz::Line10, 11, {3810, 3135, 5985, 2220}},
    {&frmNetz::Line11, 11, {3000, 5190, 3735, 7155}},
    {&frmNetz::Line12, 11, {3735, 7170, 5985, 8205}},
    {&frmNetz::Line13, 11, {6000, 8205, 8265, 7125}},
    {&frmNetz::Line14, 11, {8265, 7125, 8985, 5205}},
    {&frmNetz::Line15, 11, {8055, 3060, 9000, 5205}},
    {&frmNetz::Line16, 11, {6000, 2220, 8070, 3060}},
};

constexpr int kCompleteWeb = 11; // one more wrong answer loses

} // namespace

// The small layout shrinks the pictures, the home button and every strand; the problem row
// moves with them and keeps its size.
ScreenLayout frmNetz::smallLayout() {
    using layout::shrunk;
    const auto moved = [](forms::Control& control, forms::Placement design, bool resized) {
        return ScreenLayout::Place{control, design, shrunk(design, {.size = resized})};
    };
    std::vector<ScreenLayout::Ends> strands;
    for (const Strand& s : kWeb) {
        strands.push_back({this->*s.line, s.design, shrunk(s.design)});
    }
    return ScreenLayout(
        {moved(Image1, {870, 1050, 9075, 1515}, true),
         moved(Image2, {4545, 3705, 2865, 3240}, true), moved(lbla, {10815, 1762, 645, 540}, false),
         moved(lblb, {12105, 1762, 645, 540}, false), moved(Label2, {11685, 1785, 210, 540}, false),
         moved(Label4, {12810, 1770, 495, 495}, false),
         moved(txtergebnis, {13440, 1755, 990, 555}, false),
         moved(cmdEnde, {13710, 9510, 945, 540}, true)},
        std::move(strands));
}

void frmNetz::buildScene() {
    for (const Strand& s : kWeb) {
        forms::Line& line = this->*s.line;
        line.BorderWidth = 2;
        line.Visible = false;
    }
}

void frmNetz::hideWeb() {
    for (const Strand& s : kWeb) {
        (this->*s.line).Visible = false;
    }
}

// What a sighted child sees of the web after a wrong answer: how far the spider has come.
void frmNetz::sayWeb() {
    if (Fehler > kCompleteWeb) {
        return; // the web is complete: the game is lost
    }
    if (Fehler == kCompleteWeb) {
        Announce("Falsch. Das Netz ist fertig: noch ein Fehler, und die Spinne hat dich.");
    } else {
        Announce("Falsch. Die Spinne knüpft weiter, " + std::to_string(Fehler) + " von " +
                 std::to_string(kCompleteWeb) + " Fäden.");
    }
}

void frmNetz::NetzWeiterknuepfen() {
    if (Fehler > kCompleteWeb) {
        lost("Das Netz ist fertig, die Spinne hat dich gefangen.");
        return;
    }
    if (Fehler == 1) {
        Image1.Visible = false; // the instructions go at the first mistake
    }
    for (const Strand& s : kWeb) {
        if (s.step == Fehler) {
            (this->*s.line).Visible = true;
        }
    }
}

} // namespace zifferix
