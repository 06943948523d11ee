#pragma once

// Where a control lies on the screen and how it looks, worked out once for every view: its
// rectangle in whole pixels, a shape's outline, a line's box, and the colours it shows.

#include "forms/Contrast.h"
#include "forms/Controls.h"
#include "forms/Zoom.h"

namespace forms {

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Edges are rounded, not sizes, so that neighbouring controls never leave a gap.
PixelRect pixelRect(Zoom zoom, int left, int top, int width, int height);
// Where a control is drawn in its parent: a line's box holds its pen around both ends.
PixelRect pixelRect(Zoom zoom, const Control& control);

// A shape within its rectangle of width x height pixels: a square, a circle and a rounded
// square take the largest size that fits, centred; the pen's middle lies half a pen inside.
struct Outline {
    enum class Figure { Rectangle, RoundedRectangle, Ellipse };
    Figure figure = Figure::Rectangle;
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    double pen = 1;
    friend bool operator==(const Outline&, const Outline&) = default;
};
constexpr double kCornerRadius = 8; // of a rounded shape, in pixels

Outline outlineOf(const Shape& shape, Zoom zoom, int width, int height);

// A line's two ends in its box.
struct LineEnds {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    double pen = 1;
    friend bool operator==(const LineEnds&, const LineEnds&) = default;
};
LineEnds endsOf(const Line& line, Zoom zoom);

// The colours a control shows and the one switch that decides how: a label that lets the form
// show through, a button painted in its own colour, an option whose colour differs from what
// lies beneath it (which it otherwise shows through). With more contrast, a box, a button and
// an option's mark have an edge that stands out against what lies around them.
struct Look {
    Color fore = 0;
    Color back = 0;
    bool own = false;
    bool edged = false;
    Color edge = 0;
    friend bool operator==(const Look&, const Look&) = default;
};
Look lookOf(const Control& control, Contrast contrast = Contrast::AsDesigned);
// The form's own background.
Color backOf(const Form& form, Contrast contrast);
// What a line or a shape is drawn in: with more contrast, a colour that stands out against the
// form or the frame beneath it.
Color drawnOf(const Control& control, Color colour, Contrast contrast);

} // namespace forms
