// The drawn controls in the page: shapes and lines as SVG, pictures from the page's templates.

#include "web/Elements.h"

#include <algorithm>
#include <cmath>

namespace web {
namespace {

// What a shape and a line are drawn from, besides where they lie.
struct ShapeLook {
    forms::ShapeKind kind;
    forms::Color fill;
    bool solid;
    forms::Color border;
    int width;
    friend bool operator==(const ShapeLook&, const ShapeLook&) = default;
};
struct LineLook {
    forms::Color colour;
    int width;
    friend bool operator==(const LineLook&, const LineLook&) = default;
};

void setNumber(const val& node, const char* attribute, double value) {
    node.call<void>("setAttribute", std::string(attribute), value);
}

// A shape drawn in SVG as on the desktop: a square, a circle and a rounded square take the
// largest size that fits, centred; the border lies inside the shape's rectangle.
class ShapeElement final : public Element {
  public:
    ShapeElement(forms::Shape& shape, const val& parent, int id)
        : Element(shape, makeSvg("svg", parent), id), shape_(shape) {
        node_.call<void>("setAttribute", std::string("class"), std::string("shape"));
    }

  private:
    bool letsMouseThrough() const override { return true; }
    bool hasFont() const override { return false; }

    void syncOwn(forms::Zoom zoom, const Area& area, bool moved) override {
        const bool redraw =
            changed(look_, ShapeLook{shape_.Kind, shape_.FillColor, shape_.FillSolid,
                                     shape_.BorderColor, shape_.BorderWidth});
        if (!redraw && !moved) {
            return;
        }
        using forms::ShapeKind;
        const bool round = shape_.Kind == ShapeKind::Oval || shape_.Kind == ShapeKind::Circle;
        const char* tag = round ? "ellipse" : "rect";
        if (drawing_.isUndefined() || drawing_["tagName"].as<std::string>() != tag) {
            if (!drawing_.isUndefined()) {
                drawing_.call<void>("remove");
            }
            drawing_ = makeSvg(tag, node_);
        }
        double x = 0;
        double y = 0;
        double w = area.width;
        double h = area.height;
        if (shape_.Kind == ShapeKind::Square || shape_.Kind == ShapeKind::Circle ||
            shape_.Kind == ShapeKind::RoundedSquare) {
            const double side = std::min(w, h);
            x = (w - side) / 2;
            y = (h - side) / 2;
            w = h = side;
        }
        const double pen = zoom.pen(std::max(1, shape_.BorderWidth));
        x += pen / 2;
        y += pen / 2;
        w = std::max(0.0, w - pen);
        h = std::max(0.0, h - pen);
        if (round) {
            setNumber(drawing_, "cx", x + w / 2);
            setNumber(drawing_, "cy", y + h / 2);
            setNumber(drawing_, "rx", w / 2);
            setNumber(drawing_, "ry", h / 2);
        } else {
            setNumber(drawing_, "x", x);
            setNumber(drawing_, "y", y);
            setNumber(drawing_, "width", w);
            setNumber(drawing_, "height", h);
            const bool rounded = shape_.Kind == ShapeKind::RoundedRectangle ||
                                 shape_.Kind == ShapeKind::RoundedSquare;
            setNumber(drawing_, "rx", rounded ? 8 : 0);
            setAttribute(drawing_, "shape-rendering", rounded ? "auto" : "crispEdges");
        }
        setNumber(drawing_, "stroke-width", pen);
        setAttribute(drawing_, "stroke", cssColour(shape_.BorderColor));
        setAttribute(drawing_, "fill",
                     shape_.FillSolid ? cssColour(shape_.FillColor) : std::string("none"));
    }

    forms::Shape& shape_;
    val drawing_ = val::undefined();
    std::optional<ShapeLook> look_;
};

// A line in an SVG just large enough for it and its pen.
class LineElement final : public Element {
  public:
    LineElement(forms::Line& line, const val& parent, int id)
        : Element(line, makeSvg("svg", parent), id), line_(line), drawing_(makeSvg("line", node_)) {
        node_.call<void>("setAttribute", std::string("class"), std::string("line"));
        setAttribute(drawing_, "stroke-linecap", "butt");
    }

  private:
    bool letsMouseThrough() const override { return true; }
    bool hasFont() const override { return false; }

    Area area(forms::Zoom zoom) const override {
        const int pad = static_cast<int>(std::ceil(zoom.pen(line_.BorderWidth)));
        const int x1 = zoom.px(line_.X1);
        const int y1 = zoom.px(line_.Y1);
        const int x2 = zoom.px(line_.X2);
        const int y2 = zoom.px(line_.Y2);
        return {std::min(x1, x2) - pad, std::min(y1, y2) - pad, std::abs(x2 - x1) + 1 + 2 * pad,
                std::abs(y2 - y1) + 1 + 2 * pad};
    }
    Place place() const override {
        return {line_.X1, line_.Y1, line_.X2, line_.Y2, line_.BorderWidth};
    }

    void syncOwn(forms::Zoom zoom, const Area& area, bool moved) override {
        if (moved) {
            setNumber(drawing_, "x1", zoom.px(line_.X1) - area.left);
            setNumber(drawing_, "y1", zoom.px(line_.Y1) - area.top);
            setNumber(drawing_, "x2", zoom.px(line_.X2) - area.left);
            setNumber(drawing_, "y2", zoom.px(line_.Y2) - area.top);
        }
        if (changed(look_, LineLook{line_.BorderColor, line_.BorderWidth}) || moved) {
            setAttribute(drawing_, "stroke", cssColour(line_.BorderColor));
            setNumber(drawing_, "stroke-width", zoom.pen(std::max(1, line_.BorderWidth)));
        }
    }

    forms::Line& line_;
    val drawing_;
    std::optional<LineLook> look_;
};

// A picture from the page's templates, stretched to the control: a drawing scales sharply, an
// instruction text is laid out at the size it was written for, in design pixels, and scaled
// with the control and the zoom.
class PictureElement final : public Element {
  public:
    PictureElement(forms::Image& image, const val& parent, int id)
        : Element(image, make("div", parent, "picture"), id), image_(image) {}

  private:
    bool letsMouseThrough() const override { return true; }
    bool hasFont() const override { return false; }

    void syncOwn(forms::Zoom, const Area& area, bool moved) override {
        const forms::Picture& picture = image_.Picture;
        const bool fresh = changed(resource_, picture.resource);
        if (fresh) {
            setText(node_, "");
            content_ = val::undefined();
            const val found =
                document().call<val>("getElementById", std::string("asset:") + picture.resource);
            if (!found.isNull()) {
                node_.call<void>("appendChild", found["content"].call<val>("cloneNode", true));
                content_ = node_["firstElementChild"];
            }
        }
        if (content_.isUndefined() || content_.isNull() || !(fresh || moved)) {
            return;
        }
        if (picture.resource.ends_with(".svg")) {
            setAttribute(content_, "preserveAspectRatio", "none");
            setAttribute(content_, "width", "100%");
            setAttribute(content_, "height", "100%");
            return;
        }
        const forms::Zoom design;
        const int naturalWidth = std::max(1, design.px(picture.naturalWidth));
        const int naturalHeight = std::max(1, design.px(picture.naturalHeight));
        val style = content_["style"];
        style.set("width", pixels(naturalWidth));
        style.set("height", pixels(naturalHeight));
        style.set("transform", "scale(" + std::to_string(area.width / double(naturalWidth)) + ", " +
                                   std::to_string(area.height / double(naturalHeight)) + ")");
    }

    forms::Image& image_;
    val content_ = val::undefined();
    std::optional<std::string> resource_;
};

} // namespace

std::unique_ptr<Element> bindDrawing(forms::Control& control, const val& parent, int id) {
    using forms::ControlKind;
    switch (control.kind()) {
    case ControlKind::Shape:
        return std::make_unique<ShapeElement>(static_cast<forms::Shape&>(control), parent, id);
    case ControlKind::Line:
        return std::make_unique<LineElement>(static_cast<forms::Line&>(control), parent, id);
    case ControlKind::Image:
        return std::make_unique<PictureElement>(static_cast<forms::Image&>(control), parent, id);
    default:
        return nullptr;
    }
}

} // namespace web
