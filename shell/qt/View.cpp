#include "qt/View.h"

#include "qt/Fonts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTextBlock>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <utility>

namespace qt {
namespace {

// Qt's names of the keys that do more than type.
constexpr std::pair<int, forms::KeyName> kNamedKeys[] = {
    {Qt::Key_Return, forms::KeyName::Enter},        {Qt::Key_Enter, forms::KeyName::Enter},
    {Qt::Key_Backspace, forms::KeyName::Backspace}, {Qt::Key_Escape, forms::KeyName::Escape},
    {Qt::Key_F2, forms::KeyName::SayAgain},         {Qt::Key_Tab, forms::KeyName::Tab},
    {Qt::Key_Backtab, forms::KeyName::Tab},         {Qt::Key_Left, forms::KeyName::Left},
    {Qt::Key_Right, forms::KeyName::Right},         {Qt::Key_Up, forms::KeyName::Up},
    {Qt::Key_Down, forms::KeyName::Down},           {Qt::Key_Alt, forms::KeyName::Alt},
    {Qt::Key_Delete, forms::KeyName::Editing},      {Qt::Key_Home, forms::KeyName::Editing},
    {Qt::Key_End, forms::KeyName::Editing},         {Qt::Key_PageUp, forms::KeyName::Editing},
    {Qt::Key_PageDown, forms::KeyName::Editing},    {Qt::Key_Insert, forms::KeyName::Editing},
};

// A key as the runtime's keyboard takes it: a name or the text it types, and the letter of
// its place.
forms::Key keyOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    forms::Key key{.text = event.text().toStdString(),
                   .place = forms::placeOf(event.key()),
                   .alt = (modifiers & Qt::AltModifier) != 0,
                   .ctrl = (modifiers & Qt::ControlModifier) != 0,
                   .meta = (modifiers & Qt::MetaModifier) != 0,
                   .shift = (modifiers & Qt::ShiftModifier) != 0 || event.key() == Qt::Key_Backtab,
                   .repeat = event.isAutoRepeat(),
                   .keypad = (modifiers & Qt::KeypadModifier) != 0};
    key.name = event.text().isEmpty() ? forms::KeyName::Other : forms::KeyName::Character;
    for (const auto& [qtKey, name] : kNamedKeys) {
        if (event.key() == qtKey) {
            key.name = name;
        }
    }
    return key;
}

} // namespace

View::View(forms::Runtime& runtime, forms::FittedScreen* screen)
    : runtime_(runtime), screen_(screen),
      zoom_(screen != nullptr ? screen->zoom() : forms::Zoom{}) {
    elapsed_.start();
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
    sync_.everything();
    for (forms::Form* form : runtime_.forms()) {
        if (window(*form) == nullptr) {
            windows_.push_back(std::make_unique<FormWindow>(*form, *this));
            if (speaker_) {
                windows_.back()->showSpeaker(speaker_->german());
            }
        }
    }
    for (const auto& w : windows_) {
        w->sync();
    }
    showActive();
    speak();
    schedule();
}

// What the screens said during the event, to the screen reader, from the window in front.
void View::speak() {
    const std::string said = runtime_.takeSpoken();
    forms::Form* front = runtime_.activeForm();
    if (said.empty() || front == nullptr) {
        return;
    }
    if (FormWindow* w = window(*front)) {
        w->announce(QString::fromStdString(said));
    }
}

bool View::readAloud() {
    if (speaker_) {
        return speaker_->german();
    }
    speaker_ = std::make_unique<Speaker>([this] {
        if (forms::ReadingAloud* reading = runtime_.reading()) {
            reading->done();
        }
    });
    runtime_.pictureText = [this](const forms::Picture& picture) {
        if (!picture.resource.ends_with(".html")) {
            return std::string();
        }
        const forms::Zoom design;
        // A paragraph a line; the line breaks within one are spaces.
        QString text;
        const QTextDocument& document =
            pictures_.richText(picture.resource, design.px(picture.naturalWidth));
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            text += block.text().replace(QChar::LineSeparator, u' ') + u'\n';
        }
        return text.toStdString();
    };
    if (speaker_->german()) {
        runtime_.readAloud(speaker_.get());
    }
    for (const auto& w : windows_) {
        w->showSpeaker(speaker_->german());
    }
    return speaker_->german();
}

void View::sayAgain(QWidget* sign) {
    if (speaker_ && speaker_->german()) {
        runtime_.sayAgain();
    } else {
        QToolTip::showText(sign->mapToGlobal(QPoint(0, sign->height())), sign->toolTip(), sign);
    }
}

void View::setContrast(forms::Contrast contrast) {
    if (contrast_ != contrast) {
        contrast_ = contrast;
        afterEvent();
    }
}

// A tick changes what the child sees in front; the windows beneath are covered by it and are
// brought up to date as soon as anything else happens.
void View::afterTick() {
    forms::Form* front = sync_.frontOnly();
    if (front == nullptr) {
        afterEvent();
        return;
    }
    window(*front)->sync();
    showActive();
    speak();
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
    const std::optional<double> wait =
        clock_.untilNextTick(static_cast<double>(elapsed_.elapsed()));
    if (!wait) {
        driver_.stop();
        return;
    }
    driver_.start(static_cast<int>(std::max(0.0, std::ceil(*wait))));
}

void View::frame() {
    clock_.frame(static_cast<double>(elapsed_.elapsed()));
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
    if (screen_ == nullptr || zoom_ == screen_->zoom()) {
        return;
    }
    zoom_ = screen_->zoom();
    QApplication::setFont(qfont(forms::Font{}, zoom_.factor()));
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
    keyboard_.press(keyOf(event));
}

} // namespace qt
