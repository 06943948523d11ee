#include "qt/FormWindow.h"

#include "qt/Convert.h"
#include "qt/View.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace qt {
namespace {

// Boxes, buttons, options and frames are windows of their own: they lie above what is drawn.
bool windowed(forms::ControlKind kind) {
    using forms::ControlKind;
    return kind == ControlKind::TextBox || kind == ControlKind::CommandButton ||
           kind == ControlKind::OptionButton || kind == ControlKind::Frame;
}

} // namespace

FormWindow::FormWindow(forms::Form& form, View& view)
    : form_(form), view_(view), announcer_(new Announcer(this)) {
    setObjectName(QString::fromStdString(form.name()));
    setAutoFillBackground(true);
    // Widgets are made in the order the form declares its controls: later ones lie on top.
    for (forms::Control* control : form.controls()) {
        QWidget* parent = control->container() != nullptr ? widgetFor(control->container()) : this;
        bindings_.push_back(bind(*control, parent, view_));
    }
    for (const auto& b : bindings_) {
        if (windowed(b->control().kind())) {
            b->widget()->raise();
        }
    }
}

QWidget* FormWindow::widgetFor(const forms::Control* control) const {
    for (const auto& b : bindings_) {
        if (&b->control() == control) {
            return b->widget();
        }
    }
    return nullptr;
}

forms::Control* FormWindow::controlOf(const QWidget* widget) const {
    for (const auto& b : bindings_) {
        if (b->widget() == widget) {
            return &b->control();
        }
    }
    return nullptr;
}

void FormWindow::sync() {
    // A hidden form's window waits as it is: it is brought up to date when it is shown again.
    if (!form_.Visible() && isHidden()) {
        return;
    }
    if (title_ != form_.Caption) {
        setWindowTitle(QString::fromStdString(form_.Caption));
        title_ = form_.Caption;
    }
    const forms::Color back = forms::backOf(form_, view_.contrast());
    if (back_ != back) {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, qcolor(back));
        setPalette(palette);
        back_ = back;
    }
    for (const auto& b : bindings_) {
        b->sync();
    }
    showOrHide();
}

void FormWindow::announce(const QString& text) {
    announcer_->announce(text);
}

void FormWindow::showSpeaker(bool german) {
    if (sign_ == nullptr) {
        sign_ = new SpeakerSign(german, this);
        connect(sign_, &QAbstractButton::clicked, this, [this] { view_.sayAgain(sign_); });
        sign_->place(view_.zoom().factor());
        sign_->show();
    }
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

void FormWindow::closeEvent(QCloseEvent* event) {
    // The runtime decides: a game leaves as by its home button, the start screen ends.
    event->ignore();
    view_.close(form_);
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    view_.resized(form_, size());
    if (sign_ != nullptr) {
        sign_->place(view_.zoom().factor());
    }
}

} // namespace qt
