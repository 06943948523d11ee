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

// The controls the small layout moves, with their design places. The problem row keeps its
// size; the pictures and the home button shrink.
struct Moved {
    forms::Control& control;
    forms::Placement design;
    bool resized;
};

std::array<Moved, 8> moved(frmNetz& f) {
    return {{
        {f.Image1, {870, 1050, 9075, 1515}, true},
        {f.Image2, {4545, 3705, 2865, 3240}, true},
        {f.lbla, {10815, 1762, 645, 540}, false},
        {f.lblb, {12105, 1762, 645, 540}, false},
        {f.Label2, {11685, 1785, 210, 540}, false},
        {f.Label4, {12810, 1770, 495, 495}, false},
        {f.txtergebnis, {13440, 1755, 990, 555}, false},
        {f.cmdEnde, {13710, 9510, 945, 540}, true},
    }};
}

} // namespace

void frmNetz::buildScene() {
    for (const Strand& s : kWeb) {
        forms::Line& line = this->*s.line;
        line.BorderWidth = 2;
        line.Visible = false;
    }
    placeScene();
}

void frmNetz::placeScene() {
    for (const Moved& m : moved(*this)) {
        m.control.Move(m.design);
    }
    for (const Strand& s : kWeb) {
        (this->*s.line).set(s.design);
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
        program_.lost("Das Netz ist fertig, die Spinne hat dich gefangen.");
    } else if (Fehler == kCompleteWeb) {
        Announce("Falsch. Das Netz ist fertig: noch ein Fehler, und die Spinne hat dich.");
    } else {
        Announce("Falsch. Die Spinne knüpft weiter, " + std::to_string(Fehler) + " von " +
                 std::to_string(kCompleteWeb) + " Fäden.");
    }
}

void frmNetz::NetzWeiterknuepfen() {
    if (Fehler > kCompleteWeb) {
        Grundstellung();
        Hide();
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

void frmNetz::LayoutVerkleinern() {
    using namespace layout;
    if (!isSmall(ScreenWidth())) {
        return;
    }
    for (const Moved& m : moved(*this)) {
        forms::Control& c = m.control;
        c.Left = scaleX(c.Left);
        c.Top = scaleY(c.Top);
        if (m.resized) {
            c.Height = scaleY(c.Height);
            c.Width = scaleX(c.Width);
        }
    }
    for (const Strand& s : kWeb) {
        forms::Line& line = this->*s.line;
        line.set(scaleX(line.X1), scaleY(line.Y1), scaleX(line.X2), scaleY(line.Y2));
    }
}

// The strands are whole twips: dividing their shrunk end points would let them drift by a
// twip a game, so the design values are written back as they are.
void frmNetz::Grundstellung() {
    // The small layout puts the home button at or below 12000; the design has it at 13710.
    if (cmdEnde.Left > layout::kSmallScreenWidth) {
        return;
    }
    placeScene();
}

} // namespace zifferix
