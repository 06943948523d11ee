// Input from the child: clicks, keys, Tab and the arrows, Alt + letter, and the tab order.

#include "forms/Caption.h"
#include "forms/KeyCodes.h"
#include "forms/Runtime.h"
#include "forms/Utf8.h"

#include <algorithm>

namespace forms {
namespace {

const std::string* captionOf(const Control& c) {
    if (c.kind() == ControlKind::CommandButton) {
        return &static_cast<const CommandButton&>(c).Caption;
    }
    if (c.kind() == ControlKind::OptionButton) {
        return &static_cast<const OptionButton&>(c).Caption;
    }
    return nullptr;
}

// No box takes more than a few characters: a paste of a whole book is cut, not typed.
constexpr std::size_t kLongestPaste = 64;

} // namespace

// --- input -------------------------------------------------------------------------------

void Runtime::click(Control& control) {
    if (!takesInput() || &control.form() != activeForm() || !control.shown() || !control.usable()) {
        return;
    }
    dispatch([&] {
        Form& form = control.form();
        switch (control.kind()) {
        case ControlKind::CommandButton: {
            auto& button = static_cast<CommandButton&>(control);
            form.focus_ = &button;
            if (button.onClick) {
                button.onClick();
            }
            break;
        }
        case ControlKind::OptionButton:
            choose(static_cast<OptionButton&>(control));
            break;
        case ControlKind::TextBox:
            form.focus_ = &control;
            break;
        default:
            break;
        }
    });
}

void Runtime::choose(OptionButton& option) {
    option.setValue(true);
    option.form().focus_ = &option;
    if (option.onClick) {
        option.onClick();
    }
}

void Runtime::keyPress(int keyAscii) {
    Form* form = activeForm();
    if (!takesInput() || form == nullptr || form->focus_ == nullptr ||
        !form->focus_->canTakeFocus()) {
        return;
    }
    Control& target = *form->focus_;
    dispatch([&] {
        switch (target.kind()) {
        case ControlKind::TextBox:
            pressKeyOnTextBox(static_cast<TextBox&>(target), keyAscii);
            break;
        case ControlKind::CommandButton:
            if (keyAscii == kEnter || keyAscii == kSpace) {
                auto& button = static_cast<CommandButton&>(target);
                if (button.onClick) {
                    button.onClick();
                }
            }
            break;
        case ControlKind::OptionButton:
            if (keyAscii == kSpace) {
                choose(static_cast<OptionButton&>(target));
            }
            break;
        default:
            break;
        }
    });
}

void Runtime::paste(std::string_view text) {
    const Form* form = activeForm();
    if (form == nullptr || form->focus_ == nullptr ||
        form->focus_->kind() != ControlKind::TextBox) {
        return;
    }
    std::size_t typed = 0;
    for (const char32_t c : utf8::codePoints(text)) {
        if (typed < kLongestPaste && c >= kSpace && c != kDelete) {
            keyPress(static_cast<int>(c));
            ++typed;
        }
    }
}

void Runtime::pressKeyOnTextBox(TextBox& box, int keyAscii) {
    int key = keyAscii;
    if (box.onKeyPress) {
        box.onKeyPress(key);
    }
    if (key == 0) {
        return;
    }
    if (key == kBackspace) {
        utf8::eraseLastCharacter(box.Text);
        return;
    }
    if (key < kSpace || key == kDelete || key > 0x10FFFF) {
        return;
    }
    if (box.MaxLength > 0 &&
        utf8::characterCount(box.Text) >= static_cast<std::size_t>(box.MaxLength)) {
        return;
    }
    utf8::append(box.Text, static_cast<char32_t>(key));
}

void Runtime::navigate(Navigation key) {
    Form* form = activeForm();
    if (!takesInput() || form == nullptr) {
        return;
    }
    dispatch([&] {
        Control* focused = form->focus_;
        int direction =
            key == Navigation::Previous || key == Navigation::Left || key == Navigation::Up ? -1
                                                                                            : 1;
        if (key != Navigation::Next && key != Navigation::Previous && focused != nullptr) {
            if (focused->kind() == ControlKind::OptionButton) {
                moveWithinOptions(static_cast<OptionButton&>(*focused), direction);
                return;
            }
            if (focused->kind() == ControlKind::TextBox) {
                return; // the arrows belong to the box
            }
        }
        if (Control* next = focusAfter(*form, focused, direction)) {
            form->focus_ = next;
        }
    });
}

void Runtime::moveWithinOptions(OptionButton& option, int direction) {
    std::vector<Control*> group;
    for (Control* c : inTabOrder(option.form())) {
        if (c->kind() == ControlKind::OptionButton && c->container() == option.container() &&
            c->canTakeFocus()) {
            group.push_back(c);
        }
    }
    const auto at = std::find(group.begin(), group.end(), &option);
    if (at == group.end() || group.size() < 2) {
        return;
    }
    const auto n = static_cast<std::ptrdiff_t>(group.size());
    const auto i = ((at - group.begin()) + direction + n) % n;
    choose(static_cast<OptionButton&>(*group[static_cast<std::size_t>(i)]));
}

bool Runtime::mnemonic(char32_t letter) {
    Form* form = activeForm();
    if (!takesInput() || form == nullptr) {
        return false;
    }
    for (Control* c : inTabOrder(*form)) {
        const std::string* caption = captionOf(*c);
        if (caption != nullptr && c->canTakeFocus() &&
            readCaption(*caption).letter == lowerLetter(letter)) {
            if (c->kind() == ControlKind::CommandButton) {
                click(*c);
            } else {
                dispatch([&] { choose(static_cast<OptionButton&>(*c)); });
            }
            return true;
        }
    }
    return false;
}

void Runtime::focus(Control& control) {
    if (!takesInput() || &control.form() != activeForm() || !control.canTakeFocus()) {
        return;
    }
    dispatch([&] { control.form().focus_ = &control; });
}

void Runtime::close(Form& form) {
    if (!takesInput() || &form != activeForm()) {
        return;
    }
    dispatch([&] { form.Form_QueryClose(); });
}

// --- tab order ----------------------------------------------------------------------------

std::vector<Control*> Runtime::inTabOrder(const Form& form) {
    std::vector<Control*> ordered = form.controls_;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Control* a, const Control* b) { return a->TabIndex < b->TabIndex; });
    return ordered;
}

// The controls Tab stops at, in tab order. The options of one frame are one stop: the focused
// one, else the chosen one, else the first.
std::vector<Control*> Runtime::tabOrder(const Form& form) {
    const std::vector<Control*> ordered = inTabOrder(form);
    std::vector<Control*> stops;
    std::vector<const Frame*> groupsWithStop;
    for (Control* c : ordered) {
        if (!c->canTakeFocus()) {
            continue;
        }
        if (c->kind() != ControlKind::OptionButton) {
            stops.push_back(c);
            continue;
        }
        if (std::find(groupsWithStop.begin(), groupsWithStop.end(), c->container()) !=
            groupsWithStop.end()) {
            continue;
        }
        groupsWithStop.push_back(c->container());
        Control* stop = nullptr;
        for (Control* other : ordered) {
            if (other->kind() != ControlKind::OptionButton ||
                other->container() != c->container() || !other->canTakeFocus()) {
                continue;
            }
            if (other == form.focus_) {
                stop = other;
                break;
            }
            if (stop == nullptr && static_cast<OptionButton*>(other)->Value()) {
                stop = other;
            }
        }
        stops.push_back(stop != nullptr ? stop : c);
    }
    return stops;
}

Control* Runtime::firstFocusable(const Form& form) {
    const std::vector<Control*> stops = tabOrder(form);
    // A box first, so that a child can type at once; buttons are a Tab away.
    for (Control* c : stops) {
        if (c->kind() == ControlKind::TextBox) {
            return c;
        }
    }
    return stops.empty() ? nullptr : stops.front();
}

// The next tab stop after `from` (which need not be a stop itself) in the given direction.
Control* Runtime::focusAfter(const Form& form, const Control* from, int direction) {
    const std::vector<Control*> stops = tabOrder(form);
    if (stops.empty()) {
        return nullptr;
    }
    if (from == nullptr) {
        return direction > 0 ? stops.front() : stops.back();
    }
    const std::vector<Control*> ordered = inTabOrder(form);
    const auto n = static_cast<std::ptrdiff_t>(ordered.size());
    const auto start = std::find(ordered.begin(), ordered.end(), from) - ordered.begin();
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        Control* c = ordered[static_cast<std::size_t>(((start + direction * step) % n + n) % n)];
        if (std::find(stops.begin(), stops.end(), c) != stops.end()) {
            return c;
        }
    }
    return nullptr;
}

} // namespace forms
