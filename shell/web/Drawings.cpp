// The drawn controls in the page: shapes and lines as SVG, pictures from the page's templates.

#include "web/Bindings.h"

#include <algorithm>
#include <cmath>

namespace web {
namespace {

// What a shape is drawn from, besides where it lies.
struct ShapeLook {
    forms::Outline outline;
    forms::Color fill;
    bool solid;
    forms::Color border;
    friend bool operator==(const ShapeLook&, const ShapeLook&) = default;
};

void setNumber(const val& node, const char* attribute, double value) {
    node.call<void>("setAttribute", std::string(attribute), value);
}

// A shape drawn in SVG as on the desktop.
class ShapeBinding final : public Binding {
  public:
    ShapeBinding(forms::Shape& shape, const val& parent, int id)
        : Binding(shape, makeSvg("svg", parent), id), shape_(shape) {
        node_.call<void>("setAttribute", std::string("class"), std::string("shape"));
    }

  private:
    bool letsMouseThrough() const override { return true; }
    bool hasFont() const override { return false; }

    void syncOwn(forms::Zoom zoom, const Area& area, bool) override {
        const forms::Outline o = forms::outlineOf(shape_, zoom, area.width, area.height);
        const ShapeLook look{o, forms::drawnOf(shape_, shape_.FillColor, contrast_),
                             shape_.FillSolid,
                             forms::drawnOf(shape_, shape_.BorderColor, contrast_)};
        if (!changed(look_, look)) {
            return;
        }
        using Figure = forms::Outline::Figure;
        const char* tag = o.figure == Figure::Ellipse ? "ellipse" : "rect";
        if (drawing_.isUndefined() || drawing_["tagName"].as<std::string>() != tag) {
            if (!drawing_.isUndefined()) {
                drawing_.call<void>("remove");
            }
            drawing_ = makeSvg(tag, node_);
        }
        if (o.figure == Figure::Ellipse) {
            setNumber(drawing_, "cx", o.x + o.width / 2);
            setNumber(drawing_, "cy", o.y + o.height / 2);
            setNumber(drawing_, "rx", o.width / 2);
            setNumber(drawing_, "ry", o.height / 2);
        } else {
            const bool rounded = o.figure == Figure::RoundedRectangle;
            setNumber(drawing_, "x", o.x);
            setNumber(drawing_, "y", o.y);
            setNumber(drawing_, "width", o.width);
            setNumber(drawing_, "height", o.height);
            setNumber(drawing_, "rx", rounded ? forms::kCornerRadius : 0);
            setAttribute(drawing_, "shape-rendering", rounded ? "auto" : "crispEdges");
        }
        setNumber(drawing_, "stroke-width", o.pen);
        setAttribute(drawing_, "stroke", cssColour(look.border));
        setAttribute(drawing_, "fill", look.solid ? cssColour(look.fill) : std::string("none"));
    }

    forms::Shape& shape_;
    val drawing_ = val::undefined();
    std::optional<ShapeLook> look_;
};

// A line in an SVG just large enough for it and its pen.
class LineBinding final : public Binding {
  public:
    LineBinding(forms::Line& line, const val& parent, int id)
        : Binding(line, makeSvg("svg", parent), id), line_(line), drawing_(makeSvg("line", node_)) {
        node_.call<void>("setAttribute", std::string("class"), std::string("line"));
        setAttribute(drawing_, "stroke-linecap", "butt");
    }

  private:
    bool letsMouseThrough() const override { return true; }
    bool hasFont() const override { return false; }
    Place place() const override {
        return {line_.X1, line_.Y1, line_.X2, line_.Y2, line_.BorderWidth};
    }

    void syncOwn(forms::Zoom zoom, const Area&, bool) override {
        const forms::LineEnds ends = forms::endsOf(line_, zoom);
        if (changed(ends_, ends)) {
            setNumber(drawing_, "x1", ends.x1);
            setNumber(drawing_, "y1", ends.y1);
            setNumber(drawing_, "x2", ends.x2);
            setNumber(drawing_, "y2", ends.y2);
            setNumber(drawing_, "stroke-width", ends.pen);
        }
        if (changed(colour_, forms::drawnOf(line_, line_.BorderColor, contrast_))) {
            setAttribute(drawing_, "stroke", cssColour(*colour_));
        }
    }

    forms::Line& line_;
    val drawing_;
    std::optional<forms::LineEnds> ends_;
    std::optional<forms::Color> colour_;
};

// A picture from the page's templates, stretched to the control: a drawing scales sharply, an
// instruction text is laid out at the size it was written for, in design pixels, and scaled
// with the control and the zoom.
class PictureBinding final : public Binding {
  public:
    PictureBinding(forms::Image& image, const val& parent, int id)
        : Binding(image, make("div", parent, "picture"), id), image_(image) {}

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

std::unique_ptr<Binding> bindingFor(forms::Shape& shape, const val& parent, int id) {
    return std::make_unique<ShapeBinding>(shape, parent, id);
}
std::unique_ptr<Binding> bindingFor(forms::Line& line, const val& parent, int id) {
    return std::make_unique<LineBinding>(line, parent, id);
}
std::unique_ptr<Binding> bindingFor(forms::Image& image, const val& parent, int id) {
    return std::make_unique<PictureBinding>(image, parent, id);
}

} // namespace web
