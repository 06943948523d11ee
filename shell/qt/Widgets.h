#pragma once

// The label that draws its text once, and the answer box.

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QWidget>

#include <optional>

namespace qt {

// A label that draws its text once into a picture and from then on only copies it, until its
// text or look changes: a number that moves across the screen costs a copy a frame instead of
// laying out and drawing its glyphs again. It stays a QLabel for assistive technology.
class TextLabel : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Look {
        QString text;
        QFont font;
        QColor colour;
        QSize size;
        Qt::Alignment alignment;
        bool wordWrap = false;
        int frame = 0;
        bool enabled = true;
        qreal pixelRatio = 1;
        bool operator==(const Look&) const = default;
    };
    Look look() const;
    void drawLabel(QPainter& painter);

    QPixmap picture_;
    std::optional<Look> drawn_;
};

// What the screens announce, said by the screen reader: a label without size in the role of a
// notification, which Orca reads aloud each time it is shown. Qt 6.4 has no announcement of its
// own (6.8 brought one), drops its alert events on the way to the accessibility bus and sends a
// changed description without its text, so a notification is the one way Orca hears.
class Announcer : public QLabel {
  public:
    explicit Announcer(QWidget* parent);
    void announce(const QString& text);
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

} // namespace qt
