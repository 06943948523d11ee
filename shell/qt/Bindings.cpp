#include "qt/Bindings.h"

#include "forms/Caption.h"
#include "qt/Convert.h"
#include "qt/Fonts.h"
#include "qt/View.h"
#include "qt/Widgets.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <string>

namespace qt {
namespace {

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

// The text of a box that waits for its next problem.
constexpr forms::Color kWaiting = 0x6D6D6D;

template <class W> void setAlignment(W* widget, Qt::Alignment align) {
    if (widget->alignment() != align) {
        widget->setAlignment(align);
    }
}

// A widget's text and background in a control's colours, by the roles its kind paints with.
void setColours(QWidget* widget, QPalette::ColorRole text, QPalette::ColorRole back,
                forms::Color fore, QColor background) {
    QPalette palette = widget->palette();
    palette.setColor(text, qcolor(fore));
    palette.setColor(back, background);
    widget->setPalette(palette);
}

// With more contrast a box, a button or an option's mark has an edge that stands out against
// what lies around it, and the focus is a thick line in the colour of the text.
void setEdge(QWidget* widget, const forms::Look& look, const QString& selector) {
    if (!look.edged) {
        widget->setStyleSheet({});
        return;
    }
    const QString edge = qcolor(look.edge).name();
    const QString back = qcolor(look.back).name();
    const QString fore = qcolor(look.fore).name();
    widget->setStyleSheet(
        QStringLiteral("%1 { border: 2px solid %2; background: %3; color: %4; }"
                       "%1:focus { border: 4px solid %4; }")
            .arg(selector, edge, look.own ? back : QStringLiteral("transparent"), fore));
}

class LabelBinding final : public Binding {
  public:
    LabelBinding(forms::Label& label, QWidget* parent, const View& view)
        : Binding(label, new TextLabel(parent), view), label_(label) {
        q()->setTextFormat(Qt::PlainText);
    }

  private:
    QLabel* q() const { return static_cast<QLabel*>(widget()); }
    bool letsMouseThrough() const override { return true; }

    void syncOwn() override {
        if (changed(caption_, label_.Caption)) {
            q()->setText(QString::fromStdString(label_.Caption));
        }
        nameFor(label_.Caption);
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
        if (changed(look_, forms::lookOf(label_, contrast_))) {
            setColours(q(), QPalette::WindowText, QPalette::Window, look_->fore,
                       qcolor(look_->back));
            q()->setAutoFillBackground(look_->own);
        }
    }

    forms::Label& label_;
    std::optional<std::string> caption_;
    std::optional<forms::Look> look_;
};

class TextBoxBinding final : public Binding {
  public:
    TextBoxBinding(forms::TextBox& box, QWidget* parent, const View& view)
        : Binding(box, new AnswerBox(parent), view), box_(box) {
        q()->setFocusPolicy(Qt::StrongFocus);
    }

  private:
    QLineEdit* q() const { return static_cast<QLineEdit*>(widget()); }

    // A box waiting between two problems is read-only, not disabled: it keeps the focus, so that
    // a screen reader hears no focus wander off while a ball rolls or a balloon grows.
    void enable(bool enabled) override { q()->setReadOnly(!enabled); }
    bool enabled() const override { return !q()->isReadOnly(); }

    void syncOwn() override {
        setAlignment(q(), qalign(box_.Alignment) | Qt::AlignVCenter);
        // Whatever the box shows, it shows the runtime's text with the caret at its end.
        if (changed(text_, box_.Text)) {
            q()->setText(QString::fromStdString(box_.Text));
        }
        if (q()->cursorPosition() != q()->text().size()) {
            q()->setCursorPosition(static_cast<int>(q()->text().size()));
        }
        nameFor({});
        forms::Look look = forms::lookOf(box_, contrast_);
        if (!box_.Enabled) {
            look.fore = kWaiting;
        }
        if (changed(look_, look)) {
            setColours(q(), QPalette::Text, QPalette::Base, look_->fore, qcolor(look_->back));
            setEdge(q(), *look_, QStringLiteral("QLineEdit"));
        }
    }

    forms::TextBox& box_;
    std::optional<std::string> text_;
    std::optional<forms::Look> look_;
};

class ButtonBinding final : public Binding {
  public:
    ButtonBinding(forms::CommandButton& button, QWidget* parent, View& view)
        : Binding(button, new QPushButton(parent), view), button_(button) {
        q()->setAutoDefault(false);
        q()->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(q(), &QPushButton::clicked, q(), [&view, &button] { view.click(button); });
    }

  private:
    QPushButton* q() const { return static_cast<QPushButton*>(widget()); }

    void syncOwn() override {
        if (changed(caption_, button_.Caption)) {
            q()->setText(QString::fromStdString(button_.Caption));
        }
        nameFor(button_.Caption);
        // Only a graphical button is painted in its own colour.
        if (changed(look_, forms::lookOf(button_, contrast_))) {
            setColours(q(), QPalette::ButtonText, QPalette::Button, look_->fore,
                       look_->own ? qcolor(look_->back)
                                  : QApplication::palette().color(QPalette::Button));
            setEdge(q(), *look_, QStringLiteral("QPushButton"));
        }
    }

    forms::CommandButton& button_;
    std::optional<std::string> caption_;
    std::optional<forms::Look> look_;
};

class OptionBinding final : public Binding {
  public:
    OptionBinding(forms::OptionButton& option, QWidget* parent, View& view)
        : Binding(option, new QRadioButton(parent), view), option_(option) {
        q()->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(q(), &QRadioButton::clicked, q(),
                         [&view, &option] { view.click(option); });
    }

  private:
    QRadioButton* q() const { return static_cast<QRadioButton*>(widget()); }

    void syncOwn() override {
        if (changed(caption_, option_.Caption)) {
            q()->setText(QString::fromStdString(option_.Caption));
        }
        nameFor(option_.Caption);
        // The options of a frame are exclusive, so that a screen reader calls them radio
        // buttons; the runtime keeps them so, and only to clear the chosen one does Qt's own
        // exclusivity step aside.
        if (q()->isChecked() != option_.Value()) {
            q()->setAutoExclusive(option_.Value());
            q()->setChecked(option_.Value());
            q()->setAutoExclusive(true);
        }
        if (changed(look_, forms::lookOf(option_, contrast_))) {
            setColours(q(), QPalette::WindowText, QPalette::Window, look_->fore,
                       qcolor(look_->back));
            QPalette palette = q()->palette();
            palette.setColor(QPalette::Button, qcolor(look_->back));
            q()->setPalette(palette);
            q()->setAutoFillBackground(look_->own);
            setEdge(q(), *look_, QStringLiteral("QRadioButton::indicator"));
        }
    }

    forms::OptionButton& option_;
    std::optional<std::string> caption_;
    std::optional<forms::Look> look_;
};

class FrameBinding final : public Binding {
  public:
    FrameBinding(forms::Frame& frame, QWidget* parent, const View& view)
        : Binding(frame, new QGroupBox(parent), view), frame_(frame) {
        q()->setAutoFillBackground(true);
    }

  private:
    QGroupBox* q() const { return static_cast<QGroupBox*>(widget()); }

    void syncOwn() override {
        if (changed(caption_, frame_.Caption)) {
            q()->setTitle(QString::fromStdString(frame_.Caption));
        }
        nameFor(frame_.Caption);
        if (changed(look_, forms::lookOf(frame_, contrast_))) {
            setColours(q(), QPalette::WindowText, QPalette::Window, look_->fore,
                       qcolor(look_->back));
        }
    }

    forms::Frame& frame_;
    std::optional<std::string> caption_;
    std::optional<forms::Look> look_;
};

} // namespace

Binding::Binding(forms::Control& control, QWidget* widget, const View& view)
    : zoom_(view.zoom()), contrast_(view.contrast()), control_(control), widget_(widget) {
    widget_->setObjectName(QString::fromStdString(control.name()));
    widget_->setFocusPolicy(Qt::NoFocus);
}

Binding::Place Binding::place() const {
    return {control_.Left, control_.Top, control_.Width, control_.Height, 0};
}

void Binding::nameFor(const std::string& caption) {
    const std::string& own = control_.AccessibleName;
    if (changed(name_, own.empty() ? forms::readCaption(caption).text : own)) {
        widget_->setAccessibleName(QString::fromStdString(*name_));
    }
    if (changed(description_, control_.AccessibleDescription)) {
        widget_->setAccessibleDescription(QString::fromStdString(*description_));
    }
}

void Binding::sync() {
    const forms::Control& c = control_;
    if (changed(place_, std::make_pair(place(), zoom_))) {
        widget_->setGeometry(qrect(forms::pixelRect(zoom_, c)));
    }
    if (widget_->isHidden() == c.Visible) {
        widget_->setVisible(c.Visible);
    }
    if (enabled() != c.Enabled) {
        enable(c.Enabled);
    }
    if (changed(tip_, c.ToolTipText)) {
        widget_->setToolTip(QString::fromStdString(c.ToolTipText));
    }
    const bool through = letsMouseThrough() && c.ToolTipText.empty();
    if (widget_->testAttribute(Qt::WA_TransparentForMouseEvents) != through) {
        widget_->setAttribute(Qt::WA_TransparentForMouseEvents, through);
    }
    if (changed(font_, std::make_pair(c.Font, zoom_))) {
        widget_->setFont(qfont(c.Font, zoom_.factor()));
    }
    syncOwn();
}

std::unique_ptr<Binding> bindingFor(forms::Label& label, QWidget* parent, View& view) {
    return std::make_unique<LabelBinding>(label, parent, view);
}
std::unique_ptr<Binding> bindingFor(forms::TextBox& box, QWidget* parent, View& view) {
    return std::make_unique<TextBoxBinding>(box, parent, view);
}
std::unique_ptr<Binding> bindingFor(forms::CommandButton& button, QWidget* parent, View& view) {
    return std::make_unique<ButtonBinding>(button, parent, view);
}
std::unique_ptr<Binding> bindingFor(forms::OptionButton& option, QWidget* parent, View& view) {
    return std::make_unique<OptionBinding>(option, parent, view);
}
std::unique_ptr<Binding> bindingFor(forms::Frame& frame, QWidget* parent, View& view) {
    return std::make_unique<FrameBinding>(frame, parent, view);
}

} // namespace qt
