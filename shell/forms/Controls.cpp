#include "forms/Controls.h"

#include "forms/Form.h"
#include "forms/Runtime.h"

namespace forms {

Control::Control(Form& form, ControlKind kind, std::string name)
    : form_(form), kind_(kind), name_(std::move(name)) {
    TabIndex = static_cast<int>(form.controls_.size());
    form.controls_.push_back(this);
}

Control::Control(Frame& container, ControlKind kind, std::string name)
    : Control(container.form(), kind, std::move(name)) {
    container_ = &container;
}

void Control::Move(int left, int top, int width, int height) {
    Left = left;
    Top = top;
    Width = width;
    Height = height;
}

void Control::SetFocus() {
    form_.runtime().setFocus(*this);
}

bool Control::shown() const {
    for (const Control* c = this; c != nullptr; c = c->container_) {
        if (!c->Visible) {
            return false;
        }
    }
    return true;
}

bool Control::usable() const {
    for (const Control* c = this; c != nullptr; c = c->container_) {
        if (!c->Enabled) {
            return false;
        }
    }
    return true;
}

bool Control::canTakeFocus() const {
    const bool focusable = kind_ == ControlKind::TextBox || kind_ == ControlKind::CommandButton ||
                           kind_ == ControlKind::OptionButton;
    return focusable && shown() && usable();
}

void OptionButton::setValue(bool value) {
    if (value) {
        for (Control* c : form().controls()) {
            if (c != this && c->kind() == ControlKind::OptionButton &&
                c->container() == container()) {
                static_cast<OptionButton*>(c)->value_ = false;
            }
        }
    }
    value_ = value;
}

void Line::set(int x1, int y1, int x2, int y2) {
    X1 = x1;
    Y1 = y1;
    X2 = x2;
    Y2 = y2;
}

Timer::Timer(Form& form, std::string name) : form_(form), name_(std::move(name)) {
    form.timers_.push_back(this);
}

} // namespace forms
