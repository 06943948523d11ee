#include "view/View.h"

#include "view/Fonts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include <algorithm>
#include <utility>

namespace view {
namespace {

constexpr int kEnter = 13;
constexpr int kBackspace = 8;
constexpr int kComma = ',';

// The keys that move the focus rather than type.
constexpr std::pair<int, forms::Navigation> kNavigationKeys[] = {
    {Qt::Key_Tab, forms::Navigation::Next},  {Qt::Key_Backtab, forms::Navigation::Previous},
    {Qt::Key_Left, forms::Navigation::Left}, {Qt::Key_Right, forms::Navigation::Right},
    {Qt::Key_Up, forms::Navigation::Up},     {Qt::Key_Down, forms::Navigation::Down},
};

} // namespace

View::View(forms::Runtime& runtime, forms::FittedScreen* screen)
    : runtime_(runtime), screen_(screen),
      scale_(screen != nullptr ? screen->zoom().factor() : 1.0) {
    driver_.setTimerType(Qt::PreciseTimer);
    driver_.setSingleShot(true);
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
    followZoom();
    for (forms::Form* form : runtime_.forms()) {
        if (window(*form) == nullptr) {
            windows_.push_back(std::make_unique<FormWindow>(*form, *this));
        }
    }
    for (const auto& w : windows_) {
        w->sync();
    }
    showActive();
    schedule();
}

// A tick changes what the child sees in front; the windows beneath are covered by it and are
// brought up to date as soon as anything else happens. So a frame syncs one window, unless the
// tick has brought another form to the front or a form has been shown or hidden.
void View::afterTick() {
    forms::Form* active = runtime_.activeForm();
    const bool sameWindows = !runtime_.ended() && active != nullptr && active == raised_ &&
                             windows_.size() == runtime_.forms().size() &&
                             std::all_of(windows_.begin(), windows_.end(), [](const auto& w) {
                                 return w->form().Visible() != w->isHidden();
                             });
    if (!sameWindows) {
        afterEvent();
        return;
    }
    window(*active)->sync();
    showActive();
    schedule();
}

// Only the top form of the modal chain takes input; the others wait beneath it.
void View::showActive() {
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
}

// The driver wakes when the next tick is due and not before: virtual time passes with real
// time, and between two ticks nothing needs the processor.
void View::schedule() {
    const std::optional<std::int64_t> due = runtime_.nextDue();
    if (!due) {
        driver_.stop();
        clock_.invalidate(); // time stands still until something moves again
        return;
    }
    if (!clock_.isValid()) {
        clock_.start();
        passed_ = 0;
    }
    const qint64 wait = passed_ + (*due - runtime_.now()) - clock_.elapsed();
    driver_.start(static_cast<int>(std::max<qint64>(0, wait)));
}

// Virtual time catches up with real time. A frame that comes late, because the machine stalled,
// passes on at most kLongestFrame beyond the tick it was woken for, so that a stall never
// causes a burst of ticks.
void View::frame() {
    qint64 elapsed = clock_.elapsed() - passed_;
    const std::optional<std::int64_t> due = runtime_.nextDue();
    const qint64 allowed = (due ? *due - runtime_.now() : 0) + kLongestFrame;
    if (elapsed > allowed) {
        passed_ += elapsed - allowed;
        elapsed = allowed;
    }
    passed_ += elapsed;
    runtime_.advance(elapsed);
    afterTick();
}

void View::click(forms::Control& control) {
    runtime_.click(control);
    afterEvent();
}

void View::close(forms::Form& form) {
    runtime_.close(form);
    afterEvent();
}

// Every window is maximized, so the one in front tells the area the screens have: a window
// manager's title bar and panels are off it. A window being shown may pass through other sizes
// first; only the one in front counts.
void View::resized(forms::Form& form, QSize size) {
    const FormWindow* w = window(form);
    if (screen_ == nullptr || w == nullptr || !w->isVisible() || &form != runtime_.activeForm() ||
        size.isEmpty()) {
        return;
    }
    if (screen_->width() == size.width() && screen_->height() == size.height()) {
        return;
    }
    screen_->setArea(size.width(), size.height());
    runtime_.screenChanged();
    afterEvent();
}

// A new zoom redraws every window at it, and message boxes grow or shrink with the screens.
void View::followZoom() {
    if (screen_ == nullptr || scale_.zoom() == screen_->zoom().factor()) {
        return;
    }
    scale_ = Scale(screen_->zoom().factor());
    QApplication::setFont(qfont(forms::Font{}, scale_.zoom()));
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
