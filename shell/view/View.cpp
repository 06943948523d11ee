#include "View.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include <utility>

namespace view {
namespace {

constexpr int kEnter = 13;
constexpr int kBackspace = 8;
constexpr int kComma = ',';

// How often the driver looks at the clock while something moves: often enough that the
// 16 ms ticks come evenly.
constexpr int kDriverInterval = 8;

// The keys that move the focus rather than type.
constexpr std::pair<int, forms::Navigation> kNavigationKeys[] = {
    {Qt::Key_Tab, forms::Navigation::Next},  {Qt::Key_Backtab, forms::Navigation::Previous},
    {Qt::Key_Left, forms::Navigation::Left}, {Qt::Key_Right, forms::Navigation::Right},
    {Qt::Key_Up, forms::Navigation::Up},     {Qt::Key_Down, forms::Navigation::Down},
};

} // namespace

View::View(forms::Runtime& runtime, Scale scale) : runtime_(runtime), scale_(scale) {
    driver_.setTimerType(Qt::PreciseTimer);
    driver_.setInterval(kDriverInterval);
    connect(&driver_, &QTimer::timeout, this, [this] { frame(); });
    // One filter for the whole application sees every key and focus change of our windows.
    qApp->installEventFilter(this);
}

View::~View() {
    qApp->removeEventFilter(this);
}

FormWindow* View::window(const forms::Form& form) const {
    for (const auto& w : windows_) {
        if (&w->form() == &form) {
            return w.get();
        }
    }
    return nullptr;
}

QWidget* View::activeWindow() const {
    forms::Form* active = runtime_.activeForm();
    return active != nullptr ? window(*active) : nullptr;
}

bool View::ours(const QWidget* window) const {
    for (const auto& w : windows_) {
        if (w.get() == window) {
            return true;
        }
    }
    return false;
}

void View::afterEvent() {
    if (runtime_.ended()) {
        driver_.stop();
        return;
    }
    for (forms::Form* form : runtime_.forms()) {
        if (window(*form) == nullptr) {
            windows_.push_back(std::make_unique<FormWindow>(*form, *this));
        }
    }
    for (const auto& w : windows_) {
        w->sync();
    }

    // Only the top form of the modal chain takes input; the others wait beneath it.
    forms::Form* active = runtime_.activeForm();
    for (const auto& w : windows_) {
        const bool enabled = &w->form() == active;
        if (w->isEnabled() != enabled) {
            w->setEnabled(enabled);
        }
    }
    if (FormWindow* top = active != nullptr ? window(*active) : nullptr) {
        if (active != raised_) {
            top->raise();
            top->activateWindow();
            raised_ = active;
        }
        QWidget* focus = top->widgetFor(active->ActiveControl());
        if (focus != nullptr && !focus->hasFocus()) {
            focus->setFocus(Qt::OtherFocusReason);
        }
    }

    if (runtime_.animating() && !driver_.isActive()) {
        clock_.start();
        passed_ = 0;
        driver_.start();
    } else if (!runtime_.animating() && driver_.isActive()) {
        driver_.stop();
    }
}

void View::frame() {
    qint64 elapsed = clock_.elapsed() - passed_;
    if (elapsed > kLongestFrame) {
        passed_ += elapsed - kLongestFrame;
        elapsed = kLongestFrame;
    }
    passed_ += elapsed;
    runtime_.advance(elapsed);
    afterEvent();
}

void View::click(forms::Control& control) {
    runtime_.click(control);
    afterEvent();
}

void View::close(forms::Form& form) {
    runtime_.close(form);
    afterEvent();
}

void View::resized(forms::Form& form, QSize size) {
    runtime_.resize(form, {scale_.twips(size.width()), scale_.twips(size.height())});
}

bool View::eventFilter(QObject* target, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease &&
        type != QEvent::ShortcutOverride && type != QEvent::FocusIn) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(target);
    if (widget == nullptr || !ours(widget->window())) {
        return false; // a message box handles its own keys
    }
    if (type == QEvent::FocusIn) {
        // A box clicked into takes the focus in the runtime as well.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason) {
            auto* formWindow = static_cast<FormWindow*>(widget->window());
            if (forms::Control* c = formWindow->controlOf(widget)) {
                runtime_.focus(*c);
                afterEvent();
            }
        }
        return false;
    }
    // Every key belongs to the runtime: no widget edits, pastes or triggers a shortcut itself.
    event->accept();
    if (type == QEvent::KeyPress) {
        key(*static_cast<QKeyEvent*>(event));
        afterEvent();
    }
    return true;
}

void View::key(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const int key = event.key();
    // A held Enter or Space presses once: a child who keeps the key down after an answer must
    // not press the button that gets the focus next.
    if (event.isAutoRepeat() &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        return;
    }
    if (modifiers & Qt::AltModifier) {
        if (key >= 0x20 && key <= 0xFF) {
            runtime_.mnemonic(QChar(key).toLower().unicode());
        }
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        runtime_.keyPress(kEnter);
        return;
    }
    if (key == Qt::Key_Backspace) {
        runtime_.keyPress(kBackspace);
        return;
    }
    for (const auto& [qtKey, navigation] : kNavigationKeys) {
        if (key == qtKey) {
            runtime_.navigate(navigation);
            return;
        }
    }
    // The keypad's decimal key is a comma, as on a German keyboard.
    if ((modifiers & Qt::KeypadModifier) && (key == Qt::Key_Period || key == Qt::Key_Comma)) {
        runtime_.keyPress(kComma);
        return;
    }
    for (const uint c : event.text().toUcs4()) {
        runtime_.keyPress(static_cast<int>(c));
    }
}

} // namespace view
