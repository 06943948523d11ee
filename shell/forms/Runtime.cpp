#include "forms/Runtime.h"

#include "forms/Caption.h"
#include "forms/Fitting.h"

#include <algorithm>

namespace forms {

Runtime::Runtime(Services services) : services_(services) {}

void Runtime::add(Form& form) {
    forms_.push_back(&form);
    ++formChanges_;
}

void Runtime::remove(Form& form) {
    std::erase(forms_, &form);
    ++formChanges_;
    std::erase_if(stack_, [&](const ModalEntry& e) { return e.form == &form; });
    if (active_ == &form) {
        active_ = nullptr;
    }
}

void Runtime::start(Form& startup) {
    dispatch([&] {
        stack_.clear();
        stack_.push_back({&startup, {}});
        startup.visible_ = true;
        active_ = &startup;
        ++formChanges_;
        activate(startup);
    });
}

Form* Runtime::activeForm() const {
    if (stack_.empty() || !stack_.back().form->visible_) {
        return nullptr;
    }
    return stack_.back().form;
}

bool Runtime::animating() const {
    for (const Form* form : forms_) {
        for (const Timer* timer : form->timers_) {
            if (timer->running_) {
                return true;
            }
        }
    }
    return false;
}

std::optional<std::int64_t> Runtime::nextDue() const {
    std::optional<std::int64_t> next;
    if (message_) {
        return next; // time stands still while a message box is open
    }
    for (const Form* form : forms_) {
        for (const Timer* timer : form->timers_) {
            if (timer->running_ && (!next || timer->due_ < *next)) {
                next = timer->due_;
            }
        }
    }
    return next;
}

void Runtime::run(const std::function<void()>& handler) {
    dispatch(handler);
}

void Runtime::dispatch(const std::function<void()>& handler) {
    if (ended_) {
        return;
    }
    if (busy_) { // called from inside a handler: the outer event settles
        handler();
        return;
    }
    busy_ = true;
    struct Done {
        bool& busy;
        ~Done() { busy = false; }
    } done{busy_};
    handler();
    if (!ended_) {
        settle();
    }
}

// --- time and modal forms ----------------------------------------------------------------

void Runtime::advance(std::int64_t ms) {
    if (!takesInput() || ms <= 0) {
        return; // time stands still while a message box is open
    }
    const std::int64_t target = now_ + ms;
    while (!ended_) {
        Timer* next = nullptr;
        for (Form* form : forms_) {
            for (Timer* timer : form->timers_) {
                if (timer->running_ && timer->due_ <= target &&
                    (next == nullptr || timer->due_ < next->due_)) {
                    next = timer;
                }
            }
        }
        if (next == nullptr) {
            break;
        }
        now_ = next->due_;
        next->due_ += next->period_;
        dispatch([next] {
            if (next->onTimer) {
                next->onTimer();
            }
        });
    }
    now_ = std::max(now_, target);
}

void Runtime::screenChanged() {
    dispatch([this] {
        takeClientSize();
        Form* active = activeForm();
        const int width = services_.screen.widthTwips();
        if (active != nullptr && active->relaysOut() &&
            layoutFor(width) != layoutFor(screenWidth())) {
            takeScreen(width);
            active->Form_Resize();
        }
    });
}

void Runtime::takeClientSize() {
    const Size client = services_.screen.clientSizeTwips();
    for (Form* form : forms_) {
        form->ScaleWidth = client.Width;
        form->ScaleHeight = client.Height;
        for (Control* c : form->controls_) {
            if (c->kind() == ControlKind::Label) {
                static_cast<Label*>(c)->measured_ = false;
            }
        }
    }
}

// A form lays itself out when it is activated, for the screen as it is then; the screen stays
// as it saw it until the next activation, so that a game never mixes two layouts.
void Runtime::activate(Form& form) {
    const int width = services_.screen.widthTwips();
    if (width != screenWidth_) {
        takeScreen(width);
    }
    form.Form_Activate();
}

void Runtime::takeScreen(int width) {
    screenWidth_ = width;
    services_.screen.laidOut(width);
    takeClientSize();
}

// --- what forms and controls call -----------------------------------------------------------

void Runtime::show(Form& form, std::function<void()> whenHidden) {
    if (!busy_) {
        dispatch([&] { show(form, std::move(whenHidden)); });
        return;
    }
    for (const ModalEntry& entry : stack_) {
        if (entry.form == &form) {
            return; // already open: a second modal Show of the same form means nothing
        }
    }
    stack_.push_back({&form, std::move(whenHidden)});
    form.visible_ = true;
    active_ = &form;
    ++formChanges_;
    // A form shown anew starts where the child acts first, not where the last game left the
    // focus: unless its activation puts the focus somewhere, the first box or button takes it.
    form.focus_ = nullptr;
    activate(form);
}

void Runtime::hide(Form& form) {
    if (!busy_) {
        dispatch([&] { hide(form); });
        return;
    }
    form.visible_ = false;
    ++formChanges_;
}

void Runtime::setFocus(Control& control) {
    if (control.canTakeFocus()) {
        control.form().focus_ = &control;
    }
}

void Runtime::message(const std::string& prompt, int style, const std::string& title,
                      std::function<void()> then) {
    message_ = Message{prompt, style, title};
    services_.messageBox.show(prompt, style, title, [this, then = std::move(then)] {
        message_.reset();
        // Inside the handler that opened the message, or as an event of its own.
        if (then) {
            dispatch(then);
        }
    });
}

void Runtime::end() {
    if (ended_) {
        return;
    }
    ended_ = true;
    for (Form* form : forms_) {
        for (Timer* timer : form->timers_) {
            timer->running_ = false;
        }
    }
    services_.programEnd.end();
}

// --- after every event ----------------------------------------------------------------------

void Runtime::settle() {
    unwind();
    sizeLabels();
    for (Form* form : forms_) {
        if (form->visible_) {
            repairFocus(*form);
        }
    }
    scheduleTimers();
    sayNewDescription();
}

// A box's problem is said when the child can answer it: at once where the box keeps the focus,
// or when the focus comes to it (back from a button, or from nowhere while a ball rolled or a
// balloon grew). A control that keeps the focus while its description changes says the new
// one; a control that takes the focus is read whole by a screen reader, and to a voice.
void Runtime::sayNewDescription() {
    const Form* front = activeForm();
    Control* focused = front != nullptr ? front->focus_ : nullptr;
    const std::string& description = focused != nullptr ? focused->AccessibleDescription : "";
    const bool moved = focused != nullptr && focused != voiced_;
    if (moved) {
        speech_.sayToVoice(spokenName(*focused));
    }
    if (focused != nullptr && focused->described_ != focused->told_) {
        speech_.pose(description);
        focused->told_ = focused->described_;
    } else if (focused != nullptr && focused == described_ && description != description_) {
        // A voice hears a button whole again ("Los und hopp: gegen die Spinne, leicht").
        speech_.sayToScreenReader(description);
        if (!moved) {
            speech_.sayToVoice(focused->kind() == ControlKind::TextBox ? description
                                                                       : spokenName(*focused));
        }
    } else if (focused != nullptr && focused->described_ > 0 && speech_.waitsForProblem()) {
        speech_.poseLater(description); // the time left ends with the problem
    }
    if (focused != nullptr) {
        voiced_ = focused;
    }
    // A box that waits while nothing has the focus (a ball rolls, a balloon grows) keeps it in
    // the views: when the focus comes back to it, it is the same box.
    if (focused == nullptr && described_ != nullptr && &described_->form() == front) {
        return;
    }
    described_ = focused;
    description_ = description;
}

// What a screen reader says of a control that takes the focus: its name and what it adds; a
// box says its problem as it is posed.
std::string Runtime::spokenName(const Control& control) {
    if (control.kind() == ControlKind::TextBox) {
        return "";
    }
    std::string name = control.AccessibleName;
    if (name.empty()) {
        if (control.kind() == ControlKind::CommandButton) {
            name = readCaption(static_cast<const CommandButton&>(control).Caption).text;
        } else if (control.kind() == ControlKind::OptionButton) {
            name = readCaption(static_cast<const OptionButton&>(control).Caption).text;
        }
    }
    if (!control.AccessibleDescription.empty()) {
        name += (name.empty() ? "" : ": ") + control.AccessibleDescription;
    }
    return name.empty() ? "" : name + ".";
}

std::string Runtime::takeSpoken() {
    Said said = speech_.take();
    if (reading_) {
        reading_->hear(said);
    }
    return std::move(said.heard);
}

void Runtime::readAloud(Voice* voice) {
    reading_.reset();
    voiced_ = nullptr; // the voice hears the focused control at the next event
    if (voice != nullptr) {
        reading_.emplace(*voice);
    }
}

void Runtime::sayAgain() {
    const Form* front = activeForm();
    if (reading_ && front != nullptr && !ended_) {
        reading_->again(front->Spoken());
    }
}

// While the top form is hidden, pop it and run its caller's continuation. A form that the
// unwinding leaves visible on top becomes the active window and is activated; a form whose
// continuation hides it again never is.
void Runtime::unwind() {
    while (!stack_.empty() && !ended_) {
        ModalEntry& top = stack_.back();
        if (!top.form->visible_) {
            if (stack_.size() == 1) {
                return; // the start-up form hid itself: there is nothing beneath it
            }
            std::function<void()> whenHidden = std::move(top.whenHidden);
            stack_.pop_back();
            ++formChanges_;
            if (whenHidden) {
                whenHidden();
            }
            continue;
        }
        if (top.form != active_) {
            active_ = top.form;
            ++formChanges_;
            activate(*active_);
            continue;
        }
        return;
    }
}

// Only the labels of visible forms: a hidden form's are measured when it is shown again.
void Runtime::sizeLabels() {
    for (Form* form : forms_) {
        if (!form->visible_) {
            continue;
        }
        for (Control* c : form->controls_) {
            if (c->kind() != ControlKind::Label) {
                continue;
            }
            auto& label = static_cast<Label&>(*c);
            if (!label.AutoSize || (label.measured_ && label.measuredCaption_ == label.Caption &&
                                    label.measuredFont_ == label.Font)) {
                continue;
            }
            const Size size = services_.textMetrics.measure(label.Font, label.Caption);
            label.Width = size.Width;
            label.Height = size.Height;
            label.measuredCaption_ = label.Caption;
            label.measuredFont_ = label.Font;
            label.measured_ = true;
        }
    }
}

void Runtime::repairFocus(Form& form) {
    Control* focused = form.focus_;
    if (focused != nullptr && focused->canTakeFocus()) {
        return;
    }
    form.focus_ = focused != nullptr ? focusAfter(form, focused, 1) : firstFocusable(form);
}

void Runtime::scheduleTimers() {
    for (Form* form : forms_) {
        for (Timer* timer : form->timers_) {
            const bool shouldRun = timer->Enabled && timer->Interval > 0 && form->visible_;
            const int period = std::max(timer->Interval, Timer::kShortestPeriod);
            if (!shouldRun) {
                timer->running_ = false;
            } else if (!timer->running_ || timer->period_ != period) {
                timer->running_ = true;
                timer->period_ = period;
                timer->due_ = now_ + period;
            }
        }
    }
}

} // namespace forms
