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

Look lookOf(const Control& c) {
    switch (c.kind()) {
    case ControlKind::Label:
        return {c.ForeColor, c.BackColor, !static_cast<const Label&>(c).Transparent};
    case ControlKind::CommandButton:
        return {c.ForeColor, c.BackColor, static_cast<const CommandButton&>(c).Graphical};
    case ControlKind::OptionButton: {
        const Color beneath =
            c.container() != nullptr ? c.container()->BackColor : c.form().BackColor;
        return {c.ForeColor, c.BackColor, c.BackColor != beneath};
    }
    default:
        return {c.ForeColor, c.BackColor, false};
    }
}

} // namespace forms
