#include "forms/Geometry.h"

#include "forms/Form.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace forms {

PixelRect pixelRect(Zoom zoom, int left, int top, int width, int height) {
    const int x = zoom.px(left);
    const int y = zoom.px(top);
    return {x, y, zoom.px(left + width) - x, zoom.px(top + height) - y};
}

PixelRect pixelRect(Zoom zoom, const Control& control) {
    if (control.kind() != ControlKind::Line) {
        return pixelRect(zoom, control.Left, control.Top, control.Width, control.Height);
    }
    const auto& line = static_cast<const Line&>(control);
    const int pad = static_cast<int>(std::ceil(zoom.pen(line.BorderWidth)));
    const int x1 = zoom.px(line.X1);
    const int y1 = zoom.px(line.Y1);
    const int x2 = zoom.px(line.X2);
    const int y2 = zoom.px(line.Y2);
    return {std::min(x1, x2) - pad, std::min(y1, y2) - pad, std::abs(x2 - x1) + 1 + 2 * pad,
            std::abs(y2 - y1) + 1 + 2 * pad};
}

Outline outlineOf(const Shape& shape, Zoom zoom, int width, int height) {
    Outline o;
    o.width = width;
    o.height = height;
    if (shape.Kind == ShapeKind::Square || shape.Kind == ShapeKind::Circle ||
        shape.Kind == ShapeKind::RoundedSquare) {
        const double side = std::min(o.width, o.height);
        o.x = (o.width - side) / 2;
        o.y = (o.height - side) / 2;
        o.width = o.height = side;
    }
    o.pen = zoom.pen(std::max(1, shape.BorderWidth));
    o.x += o.pen / 2;
    o.y += o.pen / 2;
    o.width = std::max(0.0, o.width - o.pen);
    o.height = std::max(0.0, o.height - o.pen);
    switch (shape.Kind) {
    case ShapeKind::Oval:
    case ShapeKind::Circle:
        o.figure = Outline::Figure::Ellipse;
        break;
    case ShapeKind::RoundedRectangle:
    case ShapeKind::RoundedSquare:
        o.figure = Outline::Figure::RoundedRectangle;
        break;
    default:
        o.figure = Outline::Figure::Rectangle;
        break;
    }
    return o;
}

LineEnds endsOf(const Line& line, Zoom zoom) {
    const PixelRect box = pixelRect(zoom, line);
    return {zoom.px(line.X1) - box.left, zoom.px(line.Y1) - box.top, zoom.px(line.X2) - box.left,
            zoom.px(line.Y2) - box.top, zoom.pen(std::max(1, line.BorderWidth))};
}

namespace {

// What a control shows where it has no colour of its own: its frame, or the form.
Color beneath(const Control& c) {
    return c.container() != nullptr ? c.container()->BackColor : c.form().BackColor;
}

Look designedLook(const Control& c) {
    switch (c.kind()) {
    case ControlKind::Label:
        return {c.ForeColor, c.BackColor, !static_cast<const Label&>(c).Transparent};
    case ControlKind::CommandButton:
        return {c.ForeColor, c.BackColor, static_cast<const CommandButton&>(c).Graphical};
    case ControlKind::OptionButton:
        return {c.ForeColor, c.BackColor, c.BackColor != beneath(c)};
    default:
        return {c.ForeColor, c.BackColor, false};
    }
}

} // namespace

Look lookOf(const Control& c, Contrast contrast) {
    Look look = designedLook(c);
    if (contrast == Contrast::AsDesigned) {
        return look;
    }
    const Color around = strongBackground(beneath(c));
    const ControlKind kind = c.kind();
    // A box and a frame always paint their own background, and with more contrast so does
    // every button.
    const bool paints = look.own || kind == ControlKind::TextBox || kind == ControlKind::Frame ||
                        kind == ControlKind::CommandButton;
    look.own = look.own || kind == ControlKind::CommandButton;
    look.back = paints ? strongBackground(look.back) : around;
    look.fore = standingOut(look.fore, look.back, kTextContrast);
    if (kind == ControlKind::TextBox || kind == ControlKind::CommandButton ||
        kind == ControlKind::OptionButton) {
        look.edged = true;
        look.edge = edgeAgainst(around);
    }
    return look;
}

Color backOf(const Form& form, Contrast contrast) {
    return contrast == Contrast::More ? strongBackground(form.BackColor) : form.BackColor;
}

Color drawnOf(const Control& control, Color colour, Contrast contrast) {
    return contrast == Contrast::More
               ? standingOut(colour, strongBackground(beneath(control)), kEdgeContrast)
               : colour;
}

} // namespace forms
