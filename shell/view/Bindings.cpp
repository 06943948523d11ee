#include "view/Bindings.h"

#include "view/Fonts.h"
#include "view/Twips.h"
#include "view/View.h"
#include "view/Widgets.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <string>

namespace view {
namespace {

// Remembers what a widget was last given; true when that has to change.
template <class T> bool changed(std::optional<T>& applied, const T& now) {
    if (applied == now) {
        return false;
    }
    applied = now;
    return true;
}

// The colours of a control and the one switch that decides how they are shown.
struct Look {
    forms::Color fore = 0;
    forms::Color back = 0;
    bool flag = false; // transparent label, graphical button, option unlike its frame
    friend bool operator==(const Look&, const Look&) = default;
};

Qt::Alignment qalign(forms::TextAlign align) {
    switch (align) {
    case forms::TextAlign::Right:
        return Qt::AlignRight;
    case forms::TextAlign::Center:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

// A caption's text for a screen reader: without the "&" that marks the Alt key letter.
QString spoken(const std::string& caption) {
    QString text = QString::fromStdString(caption);
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

template <class W> void setAlignment(W* widget, Qt::Alignment align) {
    if (widget->alignment() != align) {
        widget->setAlignment(align);
    }
}

class LabelBinding final : public Binding {
  public:
    LabelBinding(forms::Label& label, QWidget* parent, const Scale& scale)
        : Binding(label, new TextLabel(parent), scale), label_(label) {
        q()->setTextFormat(Qt::PlainText);
    }

  private:
    QLabel* q() const { return static_cast<QLabel*>(widget()); }
    bool letsMouseThrough() const override { return true; }

    void syncOwn() override {
        if (changed(caption_, label_.Caption)) {
            const QString text = QString::fromStdString(label_.Caption);
            q()->setText(text);
            q()->setAccessibleName(text);
        }
        setAlignment(q(), qalign(label_.Alignment) | Qt::AlignTop);
        // A label sized to its text never wraps it; a fixed one wraps at its width.
        if (q()->wordWrap() == label_.AutoSize) {
            q()->setWordWrap(!label_.AutoSize);
        }
        const QFrame::Shape shape = label_.BorderSingle ? QFrame::Box : QFrame::NoFrame;
        if (q()->frameShape() != shape) {
            q()->setFrameShape(shape);
            q()->setFrameShadow(QFrame::Plain);
        }
        if (changed(look_, Look{label_.ForeColor, label_.BackColor, label_.Transparent})) {
            QPalette palette = q()->palette();
            palette.setColor(QPalette::WindowText, qcolor(label_.ForeColor));
            palette.setColor(QPalette::Window, qcolor(label_.BackColor));
            q()->setPalette(palette);
            q()->setAutoFillBackground(!label_.Transparent);
        }
    }

    forms::Label& label_;
    std::optional<std::string> caption_;
    std::optional<Look> look_;
};

class TextBoxBinding final : public Binding {
  public:
    TextBoxBinding(forms::TextBox& box, QWidget* parent, const Scale& scale)
        : Binding(box, new AnswerBox(parent), scale), box_(box) {
        q()->setAccessibleName(QStringLiteral("Antwort"));
        q()->setFocusPolicy(Qt::StrongFocus);
    }

  private:
    QLineEdit* q() const { return static_cast<QLineEdit*>(widget()); }

    void syncOwn() override {
        setAlignment(q(), qalign(box_.Alignment) | Qt::AlignVCenter);
        // Whatever the box shows, it shows the runtime's text with the caret at its end.
        if (changed(text_, box_.Text)) {
            q()->setText(QString::fromStdString(box_.Text));
        }
        if (q()->cursorPosition() != q()->text().size()) {
            q()->setCursorPosition(static_cast<int>(q()->text().size()));
        }
        if (changed(look_, Look{box_.ForeColor, box_.BackColor, false})) {
            QPalette palette = q()->palette();
            palette.setColor(QPalette::Text, qcolor(box_.ForeColor));
            palette.setColor(QPalette::Base, qcolor(box_.BackColor));
            q()->setPalette(palette);
        }
    }

    forms::TextBox& box_;
    std::optional<std::string> text_;
    std::optional<Look> look_;
};

class ButtonBinding final : public Binding {
  public:
    ButtonBinding(forms::CommandButton& button, QWidget* parent, View& view)
        : Binding(button, new QPushButton(parent), view.scale()), button_(button) {
        q()->setAutoDefault(false);
        q()->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(q(), &QPushButton::clicked, q(), [&view, &button] { view.click(button); });
    }

  private:
    QPushButton* q() const { return static_cast<QPushButton*>(widget()); }

    void syncOwn() override {
        if (changed(caption_, button_.Caption)) {
            q()->setText(QString::fromStdString(button_.Caption));
            q()->setAccessibleName(spoken(button_.Caption));
        }
        if (changed(look_, Look{button_.ForeColor, button_.BackColor, button_.Graphical})) {
            QPalette palette = q()->palette();
            palette.setColor(QPalette::ButtonText, qcolor(button_.ForeColor));
            // Only a graphical button is painted in its own colour.
            palette.setColor(QPalette::Button,
                             button_.Graphical ? qcolor(button_.BackColor)
                                               : QApplication::palette().color(QPalette::Button));
            q()->setPalette(palette);
        }
    }

    forms::CommandButton& button_;
    std::optional<std::string> caption_;
    std::optional<Look> look_;
};

class OptionBinding final : public Binding {
  public:
    OptionBinding(forms::OptionButton& option, QWidget* parent, View& view)
        : Binding(option, new QRadioButton(parent), view.scale()), option_(option) {
        q()->setAutoExclusive(false); // the runtime keeps the options of a frame exclusive
        q()->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(q(), &QRadioButton::clicked, q(),
                         [&view, &option] { view.click(option); });
    }

  private:
    QRadioButton* q() const { return static_cast<QRadioButton*>(widget()); }

    void syncOwn() override {
        if (changed(caption_, option_.Caption)) {
            q()->setText(QString::fromStdString(option_.Caption));
            q()->setAccessibleName(spoken(option_.Caption));
        }
        if (q()->isChecked() != option_.Value()) {
            q()->setChecked(option_.Value());
        }
        // An option shows what lies beneath it through, unless its colour differs from that.
        const forms::Color beneath = option_.container() != nullptr ? option_.container()->BackColor
                                                                    : option_.form().BackColor;
        const bool own = option_.BackColor != beneath;
        if (changed(look_, Look{option_.ForeColor, option_.BackColor, own})) {
            QPalette palette = q()->palette();
            palette.setColor(QPalette::WindowText, qcolor(option_.ForeColor));
            palette.setColor(QPalette::Window, qcolor(option_.BackColor));
            palette.setColor(QPalette::Button, qcolor(option_.BackColor));
            q()->setPalette(palette);
            q()->setAutoFillBackground(own);
        }
    }

    forms::OptionButton& option_;
    std::optional<std::string> caption_;
    std::optional<Look> look_;
};

class FrameBinding final : public Binding {
  public:
    FrameBinding(forms::Frame& frame, QWidget* parent, const Scale& scale)
        : Binding(frame, new QGroupBox(parent), scale), frame_(frame) {
        q()->setAutoFillBackground(true);
    }

  private:
    QGroupBox* q() const { return static_cast<QGroupBox*>(widget()); }

    void syncOwn() override {
        if (changed(caption_, frame_.Caption)) {
            q()->setTitle(QString::fromStdString(frame_.Caption));
        }
        if (changed(look_, Look{frame_.ForeColor, frame_.BackColor, false})) {
            QPalette palette = q()->palette();
            palette.setColor(QPalette::WindowText, qcolor(frame_.ForeColor));
            palette.setColor(QPalette::Window, qcolor(frame_.BackColor));
            q()->setPalette(palette);
        }
    }

    forms::Frame& frame_;
    std::optional<std::string> caption_;
    std::optional<Look> look_;
};

// Everything a painted control is drawn from, folded into one number.
std::size_t paintKeyOf(const forms::Control& c) {
    std::size_t key = 0;
    const auto mix = [&key](std::size_t v) { key = key * 1000003u ^ v; };
    switch (c.kind()) {
    case forms::ControlKind::Shape: {
        const auto& s = static_cast<const forms::Shape&>(c);
        mix(static_cast<std::size_t>(s.Kind));
        mix(s.FillColor);
        mix(s.FillSolid);
        mix(s.BorderColor);
        mix(static_cast<std::size_t>(s.BorderWidth));
        break;
    }
    case forms::ControlKind::Line: {
        const auto& l = static_cast<const forms::Line&>(c);
        for (int v : {l.X1, l.Y1, l.X2, l.Y2, l.BorderWidth}) {
            mix(static_cast<std::size_t>(v));
        }
        mix(l.BorderColor);
        break;
    }
    case forms::ControlKind::Image:
        mix(std::hash<std::string>{}(static_cast<const forms::Image&>(c).Picture.resource));
        break;
    default:
        break;
    }
    return key;
}

// Shapes, lines and pictures: drawn by the view, repainted when what they are drawn from
// changes.
class PaintedBinding final : public Binding {
  public:
    PaintedBinding(forms::Control& control, QWidget* parent, View& view)
        : Binding(control, new PaintedControl(control, view.pictures(), view.scale(), parent),
                  view.scale()) {}

  private:
    PaintedControl* q() const { return static_cast<PaintedControl*>(widget()); }
    QRect area() const override { return q()->area(); }
    Place place() const override {
        if (control().kind() != forms::ControlKind::Line) {
            return Binding::place();
        }
        const auto& line = static_cast<const forms::Line&>(control());
        return {line.X1, line.Y1, line.X2, line.Y2, line.BorderWidth};
    }
    bool letsMouseThrough() const override { return true; }

    void syncOwn() override {
        if (changed(paintKey_, paintKeyOf(control()))) {
            q()->update();
        }
    }

    std::optional<std::size_t> paintKey_;
};

} // namespace

Binding::Binding(forms::Control& control, QWidget* widget, const Scale& scale)
    : scale_(scale), control_(control), widget_(widget) {
    widget_->setObjectName(QString::fromStdString(control.name()));
    widget_->setFocusPolicy(Qt::NoFocus);
}

QRect Binding::area() const {
    return scale_.rect(control_.Left, control_.Top, control_.Width, control_.Height);
}

Binding::Place Binding::place() const {
    return {control_.Left, control_.Top, control_.Width, control_.Height, 0};
}

void Binding::sync() {
    const forms::Control& c = control_;
    if (changed(place_, std::make_pair(place(), scale_.zoom()))) {
        widget_->setGeometry(area());
    }
    if (widget_->isHidden() == c.Visible) {
        widget_->setVisible(c.Visible);
    }
    if (widget_->isEnabled() != c.Enabled) {
        widget_->setEnabled(c.Enabled);
    }
    if (changed(tip_, c.ToolTipText)) {
        widget_->setToolTip(QString::fromStdString(c.ToolTipText));
    }
    const bool through = letsMouseThrough() && c.ToolTipText.empty();
    if (widget_->testAttribute(Qt::WA_TransparentForMouseEvents) != through) {
        widget_->setAttribute(Qt::WA_TransparentForMouseEvents, through);
    }
    if (changed(font_, std::make_pair(c.Font, scale_.zoom()))) {
        widget_->setFont(qfont(c.Font, scale_.zoom()));
    }
    syncOwn();
}

std::unique_ptr<Binding> bind(forms::Control& control, QWidget* parent, View& view) {
    using forms::ControlKind;
    switch (control.kind()) {
    case ControlKind::Label:
        return std::make_unique<LabelBinding>(static_cast<forms::Label&>(control), parent,
                                              view.scale());
    case ControlKind::TextBox:
        return std::make_unique<TextBoxBinding>(static_cast<forms::TextBox&>(control), parent,
                                                view.scale());
    case ControlKind::CommandButton:
        return std::make_unique<ButtonBinding>(static_cast<forms::CommandButton&>(control), parent,
                                               view);
    case ControlKind::OptionButton:
        return std::make_unique<OptionBinding>(static_cast<forms::OptionButton&>(control), parent,
                                               view);
    case ControlKind::Frame:
        return std::make_unique<FrameBinding>(static_cast<forms::Frame&>(control), parent,
                                              view.scale());
    case ControlKind::Shape:
    case ControlKind::Line:
    case ControlKind::Image:
        return std::make_unique<PaintedBinding>(control, parent, view);
    }
    return nullptr;
}

} // namespace view
