#include "FormWindow.h"

#include "Fonts.h"
#include "Twips.h"
#include "View.h"
#include "Widgets.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <functional>

namespace view {
namespace {

using forms::ControlKind;

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

const std::string* captionOf(const forms::Control& c) {
    switch (c.kind()) {
    case ControlKind::Label:
        return &static_cast<const forms::Label&>(c).Caption;
    case ControlKind::CommandButton:
        return &static_cast<const forms::CommandButton&>(c).Caption;
    case ControlKind::OptionButton:
        return &static_cast<const forms::OptionButton&>(c).Caption;
    case ControlKind::Frame:
        return &static_cast<const forms::Frame&>(c).Caption;
    case ControlKind::TextBox:
        return &static_cast<const forms::TextBox&>(c).Text;
    default:
        return nullptr;
    }
}

// Everything a painted control is drawn from, folded into one number.
std::size_t paintKeyOf(const forms::Control& c) {
    std::size_t key = 0;
    const auto mix = [&key](std::size_t v) { key = key * 1000003u ^ v; };
    switch (c.kind()) {
    case ControlKind::Shape: {
        const auto& s = static_cast<const forms::Shape&>(c);
        mix(static_cast<std::size_t>(s.Kind));
        mix(s.FillColor);
        mix(s.FillSolid);
        mix(s.BorderColor);
        mix(static_cast<std::size_t>(s.BorderWidth));
        break;
    }
    case ControlKind::Line: {
        const auto& l = static_cast<const forms::Line&>(c);
        for (int v : {l.X1, l.Y1, l.X2, l.Y2, l.BorderWidth}) {
            mix(static_cast<std::size_t>(v));
        }
        mix(l.BorderColor);
        break;
    }
    case ControlKind::Image:
        mix(std::hash<std::string>{}(static_cast<const forms::Image&>(c).Picture.resource));
        break;
    default:
        break;
    }
    return key;
}

bool windowed(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::CommandButton ||
           kind == ControlKind::OptionButton || kind == ControlKind::Frame;
}

} // namespace

FormWindow::FormWindow(forms::Form& form, View& view) : form_(form), view_(view) {
    setObjectName(QString::fromStdString(form.name()));
    setAutoFillBackground(true);
    // Widgets are made in the order the form declares its controls: later ones lie on top,
    // and boxes, buttons and frames above the painted controls, as windows do.
    for (forms::Control* control : form.controls()) {
        QWidget* parent = this;
        if (control->container() != nullptr) {
            parent = widgetFor(control->container());
        }
        entries_.push_back({control, create(*control, parent), {}});
    }
    for (Entry& e : entries_) {
        if (windowed(e.control->kind())) {
            e.widget->raise();
        }
    }
}

QWidget* FormWindow::widgetFor(const forms::Control* control) const {
    for (const Entry& e : entries_) {
        if (e.control == control) {
            return e.widget;
        }
    }
    return nullptr;
}

QWidget* FormWindow::create(forms::Control& control, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (control.kind()) {
    case ControlKind::Label: {
        auto* label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        widget = label;
        break;
    }
    case ControlKind::TextBox:
        widget = new AnswerBox(parent);
        widget->setAccessibleName(QStringLiteral("Antwort"));
        break;
    case ControlKind::CommandButton: {
        auto* button = new QPushButton(parent);
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, this,
                         [this, &control] { view_.click(control); });
        widget = button;
        break;
    }
    case ControlKind::OptionButton: {
        auto* option = new QRadioButton(parent);
        option->setAutoExclusive(false); // the runtime keeps the options of a frame exclusive
        QObject::connect(option, &QRadioButton::clicked, this,
                         [this, &control] { view_.click(control); });
        widget = option;
        break;
    }
    case ControlKind::Frame:
        widget = new QGroupBox(parent);
        widget->setAutoFillBackground(true);
        break;
    case ControlKind::Shape:
    case ControlKind::Line:
    case ControlKind::Image:
        widget = new PaintedControl(control, parent);
        break;
    }
    widget->setObjectName(QString::fromStdString(control.name()));
    if (windowed(control.kind()) && control.kind() != ControlKind::Frame) {
        widget->setFocusPolicy(Qt::StrongFocus);
    } else {
        widget->setFocusPolicy(Qt::NoFocus);
    }
    widget->installEventFilter(&view_);
    return widget;
}

void FormWindow::sync() {
    const QString title = QString::fromStdString(form_.Caption);
    if (windowTitle() != title) {
        setWindowTitle(title);
    }
    if (back_ != form_.BackColor) {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, qcolor(form_.BackColor));
        setPalette(palette);
        back_ = form_.BackColor;
    }
    for (Entry& e : entries_) {
        syncControl(e);
    }
    showOrHide();
}

void FormWindow::showOrHide() {
    if (form_.Visible() && isHidden()) {
        // Without a window manager maximizing does nothing, so the window takes the screen
        // itself; with one, it is maximized as usual.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            setGeometry(screen->availableGeometry());
        }
        showMaximized();
    } else if (!form_.Visible() && !isHidden()) {
        hide();
    }
}

void FormWindow::syncControl(Entry& e) {
    forms::Control& c = *e.control;
    QWidget* w = e.widget;

    const QRect area = c.kind() == ControlKind::Line || c.kind() == ControlKind::Shape ||
                               c.kind() == ControlKind::Image
                           ? static_cast<PaintedControl*>(w)->area()
                           : pxRect(c.Left, c.Top, c.Width, c.Height);
    if (w->geometry() != area) {
        w->setGeometry(area);
    }
    if (w->isHidden() == c.Visible) {
        w->setVisible(c.Visible);
    }
    if (w->isEnabled() != c.Enabled) {
        w->setEnabled(c.Enabled);
    }
    const QString tip = QString::fromStdString(c.ToolTipText);
    if (w->toolTip() != tip) {
        w->setToolTip(tip);
    }
    if (e.applied.font != c.Font) {
        w->setFont(qfont(c.Font));
        e.applied.font = c.Font;
    }
    syncColours(e);

    if (const std::string* caption = captionOf(c);
        caption != nullptr && e.applied.text != *caption) {
        const QString text = QString::fromStdString(*caption);
        switch (c.kind()) {
        case ControlKind::Label:
            static_cast<QLabel*>(w)->setText(text);
            w->setAccessibleName(text);
            break;
        case ControlKind::TextBox:
            static_cast<QLineEdit*>(w)->setText(text);
            break;
        case ControlKind::CommandButton:
            static_cast<QPushButton*>(w)->setText(text);
            w->setAccessibleName(spoken(*caption));
            break;
        case ControlKind::OptionButton:
            static_cast<QRadioButton*>(w)->setText(text);
            w->setAccessibleName(spoken(*caption));
            break;
        case ControlKind::Frame:
            static_cast<QGroupBox*>(w)->setTitle(text);
            break;
        default:
            break;
        }
        e.applied.text = *caption;
    }

    switch (c.kind()) {
    case ControlKind::Label: {
        const auto& label = static_cast<const forms::Label&>(c);
        auto* q = static_cast<QLabel*>(w);
        const Qt::Alignment align = qalign(label.Alignment) | Qt::AlignTop;
        if (q->alignment() != align) {
            q->setAlignment(align);
        }
        if (q->wordWrap() == label.AutoSize) {
            q->setWordWrap(!label.AutoSize);
        }
        const QFrame::Shape shape = label.BorderSingle ? QFrame::Box : QFrame::NoFrame;
        if (q->frameShape() != shape) {
            q->setFrameShape(shape);
            q->setFrameShadow(QFrame::Plain);
        }
        break;
    }
    case ControlKind::TextBox: {
        const auto& box = static_cast<const forms::TextBox&>(c);
        auto* q = static_cast<QLineEdit*>(w);
        const Qt::Alignment align = qalign(box.Alignment) | Qt::AlignVCenter;
        if (q->alignment() != align) {
            q->setAlignment(align);
        }
        // Whatever the box shows, it shows the runtime's text with the caret at its end.
        if (q->text() != QString::fromStdString(box.Text)) {
            q->setText(QString::fromStdString(box.Text));
        }
        if (q->cursorPosition() != q->text().size()) {
            q->setCursorPosition(static_cast<int>(q->text().size()));
        }
        break;
    }
    case ControlKind::OptionButton: {
        auto* q = static_cast<QRadioButton*>(w);
        const bool chosen = static_cast<const forms::OptionButton&>(c).Value();
        if (q->isChecked() != chosen) {
            q->setChecked(chosen);
        }
        break;
    }
    case ControlKind::Shape:
    case ControlKind::Line:
    case ControlKind::Image:
        if (const std::size_t key = paintKeyOf(c); key != e.applied.paintKey) {
            e.applied.paintKey = key;
            w->update();
        }
        break;
    default:
        break;
    }
}

void FormWindow::syncColours(Entry& e) {
    const forms::Control& c = *e.control;
    if (e.applied.fore == c.ForeColor && e.applied.back == c.BackColor) {
        return;
    }
    QPalette palette = e.widget->palette();
    const QColor fore = qcolor(c.ForeColor);
    const QColor back = qcolor(c.BackColor);
    switch (c.kind()) {
    case ControlKind::Label: {
        const auto& label = static_cast<const forms::Label&>(c);
        palette.setColor(QPalette::WindowText, fore);
        palette.setColor(QPalette::Window, back);
        e.widget->setAutoFillBackground(!label.Transparent);
        break;
    }
    case ControlKind::TextBox:
        palette.setColor(QPalette::Text, fore);
        palette.setColor(QPalette::Base, back);
        break;
    case ControlKind::CommandButton:
        palette.setColor(QPalette::ButtonText, fore);
        if (static_cast<const forms::CommandButton&>(c).Graphical) {
            palette.setColor(QPalette::Button, back);
        }
        break;
    case ControlKind::OptionButton:
        // An option shows its frame through unless its colour differs from the frame's.
        palette.setColor(QPalette::WindowText, fore);
        palette.setColor(QPalette::Window, back);
        palette.setColor(QPalette::Button, back);
        e.widget->setAutoFillBackground(c.container() == nullptr
                                            ? back != qcolor(form_.BackColor)
                                            : c.BackColor != c.container()->BackColor);
        break;
    case ControlKind::Frame:
        palette.setColor(QPalette::WindowText, fore);
        palette.setColor(QPalette::Window, back);
        break;
    default:
        break;
    }
    e.widget->setPalette(palette);
    e.applied.fore = c.ForeColor;
    e.applied.back = c.BackColor;
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The runtime decides: a game leaves as by its home button, the start screen ends.
    event->ignore();
    view_.close(form_);
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    view_.resized(form_, size());
}

} // namespace view
