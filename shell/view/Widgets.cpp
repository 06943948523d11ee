#include "view/Widgets.h"

#include "view/Pictures.h"
#include "view/Twips.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include <cmath>

namespace view {
namespace {

QRect lineArea(const forms::Line& line, Scale scale) {
    const int pad = static_cast<int>(std::ceil(scale.pen(line.BorderWidth)));
    const QPoint a(scale.px(line.X1), scale.px(line.Y1));
    const QPoint b(scale.px(line.X2), scale.px(line.Y2));
    return QRect(a, b).normalized().adjusted(-pad, -pad, pad, pad);
}

} // namespace

PaintedControl::PaintedControl(const forms::Control& control, Pictures& pictures,
                               const Scale& scale, QWidget* parent)
    : QWidget(parent), control_(control), pictures_(pictures), scale_(scale) {
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setObjectName(QString::fromStdString(control.name()));
}

QRect PaintedControl::area() const {
    if (control_.kind() == forms::ControlKind::Line) {
        return lineArea(static_cast<const forms::Line&>(control_), scale_);
    }
    return scale_.rect(control_.Left, control_.Top, control_.Width, control_.Height);
}

void PaintedControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (control_.kind()) {
    case forms::ControlKind::Shape:
        paintShape(painter, static_cast<const forms::Shape&>(control_));
        break;
    case forms::ControlKind::Line:
        paintLine(painter, static_cast<const forms::Line&>(control_));
        break;
    case forms::ControlKind::Image:
        paintPicture(painter, static_cast<const forms::Image&>(control_));
        break;
    default:
        break;
    }
}

void PaintedControl::paintShape(QPainter& painter, const forms::Shape& shape) {
    QRectF box = rect();
    const bool square = shape.Kind == forms::ShapeKind::Square ||
                        shape.Kind == forms::ShapeKind::Circle ||
                        shape.Kind == forms::ShapeKind::RoundedSquare;
    if (square) {
        const qreal side = std::min(box.width(), box.height());
        box = QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    }
    // The border lies inside the shape's rectangle.
    const double pen = scale_.pen(std::max(1, shape.BorderWidth));
    box.adjust(pen / 2, pen / 2, -pen / 2, -pen / 2);
    painter.setPen(QPen(qcolor(shape.BorderColor), pen));
    painter.setBrush(shape.FillSolid ? QBrush(qcolor(shape.FillColor)) : Qt::NoBrush);
    switch (shape.Kind) {
    case forms::ShapeKind::Oval:
    case forms::ShapeKind::Circle:
        painter.drawEllipse(box);
        break;
    case forms::ShapeKind::RoundedRectangle:
    case forms::ShapeKind::RoundedSquare:
        painter.drawRoundedRect(box, 8, 8);
        break;
    default:
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawRect(box);
        break;
    }
}

void PaintedControl::paintLine(QPainter& painter, const forms::Line& line) {
    const QPoint origin = lineArea(line, scale_).topLeft();
    painter.setPen(QPen(qcolor(line.BorderColor), scale_.pen(std::max(1, line.BorderWidth)),
                        Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPoint(scale_.px(line.X1), scale_.px(line.Y1)) - origin,
                     QPoint(scale_.px(line.X2), scale_.px(line.Y2)) - origin);
}

// A picture is stretched to the control: an SVG drawing scales sharply, and an instruction
// text is laid out at the size it was written for, in design pixels, and scaled with the
// control and the zoom.
void PaintedControl::paintPicture(QPainter& painter, const forms::Image& image) {
    const forms::Picture& picture = image.Picture;
    if (picture.resource.ends_with(".svg")) {
        if (QSvgRenderer* renderer = pictures_.svg(picture.resource)) {
            renderer->render(&painter, QRectF(rect()));
        }
        return;
    }
    if (picture.resource.ends_with(".html")) {
        const int naturalWidth = std::max(1, Scale().px(picture.naturalWidth));
        const int naturalHeight = std::max(1, Scale().px(picture.naturalHeight));
        QTextDocument& document = pictures_.richText(picture.resource, naturalWidth);
        painter.scale(width() / double(naturalWidth), height() / double(naturalHeight));
        document.drawContents(&painter, QRectF(0, 0, naturalWidth, naturalHeight));
    }
}

TextLabel::Look TextLabel::look() const {
    return {text(),       font(),      palette().color(foregroundRole()),
            size(),       alignment(), wordWrap(),
            frameShape(), isEnabled(), devicePixelRatioF()};
}

void TextLabel::paintEvent(QPaintEvent*) {
    const Look now = look();
    if (now.size.isEmpty()) {
        return;
    }
    if (drawn_ != now) {
        picture_ = QPixmap(size() * now.pixelRatio);
        picture_.setDevicePixelRatio(now.pixelRatio);
        picture_.fill(Qt::transparent);
        QPainter painter(&picture_);
        painter.setFont(font());
        drawLabel(painter);
        drawn_ = now;
    }
    QPainter(this).drawPixmap(0, 0, picture_);
}

// The frame and the text where a label draws them: inside its frame, and a frame also keeps
// the text half an "x" away from the side it is aligned to.
void TextLabel::drawLabel(QPainter& painter) {
    drawFrame(&painter);
    QRect inside = contentsRect();
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    const int indent = frameWidth() > 0 ? fontMetrics().horizontalAdvance(u'x') / 2 : 0;
    if (indent > 0) {
        if (align & Qt::AlignLeft) {
            inside.setLeft(inside.left() + indent);
        }
        if (align & Qt::AlignRight) {
            inside.setRight(inside.right() - indent);
        }
        if (align & Qt::AlignTop) {
            inside.setTop(inside.top() + indent);
        }
        if (align & Qt::AlignBottom) {
            inside.setBottom(inside.bottom() - indent);
        }
    }
    const int flags = int(align) | (wordWrap() ? int(Qt::TextWordWrap) : 0);
    style()->drawItemText(&painter, inside, flags, palette(), isEnabled(), text(),
                          foregroundRole());
}

AnswerBox::AnswerBox(QWidget* parent) : QLineEdit(parent) {
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setDragEnabled(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

// The middle button pastes the X11 selection: not into an answer.
void AnswerBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void AnswerBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

} // namespace view
