#pragma once

// The painted controls (shapes, lines, pictures) and the answer box.

#include "Controls.h"
#include "Twips.h"

#include <QLineEdit>
#include <QWidget>

namespace view {

class Pictures;

// A shape, a line or a picture, drawn from its control.
class PaintedControl : public QWidget {
  public:
    PaintedControl(const forms::Control& control, Pictures& pictures, Scale scale, QWidget* parent);
    // The part of the parent the control covers, in pixels.
    QRect area() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void paintShape(QPainter& painter, const forms::Shape& shape);
    void paintLine(QPainter& painter, const forms::Line& line);
    void paintPicture(QPainter& painter, const forms::Image& image);

    const forms::Control& control_;
    Pictures& pictures_;
    Scale scale_;
};

// A text box whose text only the runtime changes: every key goes through the runtime, and
// pasting, dropping and the context menu are closed, so that no unfiltered text gets in.
class AnswerBox : public QLineEdit {
  public:
    explicit AnswerBox(QWidget* parent);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace view
