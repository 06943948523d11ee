// The drawn controls on the desktop: shapes, lines and pictures, each a small widget painted
// from what its binding last gave it, and repainted only when that changes.

#include "qt/Bindings.h"
#include "qt/Convert.h"
#include "qt/Pictures.h"
#include "qt/View.h"

#include <QPainter>

#include <algorithm>

namespace qt {
namespace {

// A shape's outline and colours.
struct ShapeLook {
    forms::Outline outline;
    forms::Color fill = 0;
    bool solid = false;
    forms::Color border = 0;
    friend bool operator==(const ShapeLook&, const ShapeLook&) = default;
};

class ShapeWidget final : public QWidget {
  public:
    explicit ShapeWidget(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_NoSystemBackground);
    }
    ShapeLook look;

  protected:
    void paintEvent(QPaintEvent*) override {
        using Figure = forms::Outline::Figure;
        const forms::Outline& o = look.outline;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing, o.figure != Figure::Rectangle);
        painter.setPen(QPen(qcolor(look.border), o.pen));
        painter.setBrush(look.solid ? QBrush(qcolor(look.fill)) : Qt::NoBrush);
        const QRectF box(o.x, o.y, o.width, o.height);
        switch (o.figure) {
        case Figure::Ellipse:
            painter.drawEllipse(box);
            break;
        case Figure::RoundedRectangle:
            painter.drawRoundedRect(box, forms::kCornerRadius, forms::kCornerRadius);
            break;
        case Figure::Rectangle:
            painter.drawRect(box);
            break;
        }
    }
};

class ShapeBinding final : public Binding {
  public:
    ShapeBinding(forms::Shape& shape, QWidget* parent, const View& view)
        : Binding(shape, new ShapeWidget(parent), view), shape_(shape) {}

  private:
    ShapeWidget* q() const { return static_cast<ShapeWidget*>(widget()); }
    bool letsMouseThrough() const override { return true; }

    void syncOwn() override {
        const forms::PixelRect area = forms::pixelRect(zoom_, shape_);
        const ShapeLook now{forms::outlineOf(shape_, zoom_, area.width, area.height),
                            forms::drawnOf(shape_, shape_.FillColor, contrast_), shape_.FillSolid,
                            forms::drawnOf(shape_, shape_.BorderColor, contrast_)};
        if (q()->look != now) {
            q()->look = now;
            q()->update();
        }
    }

    forms::Shape& shape_;
};

struct LineLook {
    forms::LineEnds ends;
    forms::Color colour = 0;
    friend bool operator==(const LineLook&, const LineLook&) = default;
};

class LineWidget final : public QWidget {
  public:
    explicit LineWidget(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_NoSystemBackground);
    }
    LineLook look;

  protected:
    void paintEvent(QPaintEvent*) override {
        const forms::LineEnds& e = look.ends;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(qcolor(look.colour), e.pen, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(e.x1, e.y1, e.x2, e.y2);
    }
};

class LineBinding final : public Binding {
  public:
    LineBinding(forms::Line& line, QWidget* parent, const View& view)
        : Binding(line, new LineWidget(parent), view), line_(line) {}

  private:
    LineWidget* q() const { return static_cast<LineWidget*>(widget()); }
    bool letsMouseThrough() const override { return true; }
    Place place() const override {
        return {line_.X1, line_.Y1, line_.X2, line_.Y2, line_.BorderWidth};
    }

    void syncOwn() override {
        const LineLook now{forms::endsOf(line_, zoom_),
                           forms::drawnOf(line_, line_.BorderColor, contrast_)};
        if (q()->look != now) {
            q()->look = now;
            q()->update();
        }
    }

    forms::Line& line_;
};

// A picture is stretched to the control: an SVG drawing scales sharply, and an instruction
// text is laid out at the size it was written for, in design pixels, and scaled with the
// control and the zoom.
class PictureWidget final : public QWidget {
  public:
    PictureWidget(Pictures& pictures, QWidget* parent) : QWidget(parent), pictures_(pictures) {
        setAttribute(Qt::WA_NoSystemBackground);
    }
    forms::Picture picture;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (picture.resource.ends_with(".svg")) {
            if (QSvgRenderer* renderer = pictures_.svg(picture.resource)) {
                renderer->render(&painter, QRectF(rect()));
            }
            return;
        }
        if (picture.resource.ends_with(".html")) {
            const forms::Zoom design;
            const int naturalWidth = std::max(1, design.px(picture.naturalWidth));
            const int naturalHeight = std::max(1, design.px(picture.naturalHeight));
            QTextDocument& document = pictures_.richText(picture.resource, naturalWidth);
            painter.scale(width() / double(naturalWidth), height() / double(naturalHeight));
            document.drawContents(&painter, QRectF(0, 0, naturalWidth, naturalHeight));
        }
    }

  private:
    Pictures& pictures_;
};

class PictureBinding final : public Binding {
  public:
    PictureBinding(forms::Image& image, QWidget* parent, View& view)
        : Binding(image, new PictureWidget(view.pictures(), parent), view), image_(image) {}

  private:
    PictureWidget* q() const { return static_cast<PictureWidget*>(widget()); }
    bool letsMouseThrough() const override { return true; }

    void syncOwn() override {
        if (q()->picture != image_.Picture) {
            q()->picture = image_.Picture;
            q()->update();
        }
    }

    forms::Image& image_;
};

} // namespace

std::unique_ptr<Binding> bindingFor(forms::Shape& shape, QWidget* parent, View& view) {
    return std::make_unique<ShapeBinding>(shape, parent, view);
}
std::unique_ptr<Binding> bindingFor(forms::Line& line, QWidget* parent, View& view) {
    return std::make_unique<LineBinding>(line, parent, view);
}
std::unique_ptr<Binding> bindingFor(forms::Image& image, QWidget* parent, View& view) {
    return std::make_unique<PictureBinding>(image, parent, view);
}

} // namespace qt
