#include "forms/Form.h"

#include "forms/Runtime.h"

namespace forms {

Form::Form(Runtime& runtime, std::string name) : runtime_(runtime), name_(std::move(name)) {
    const Size client = runtime.services().screen.clientSizeTwips();
    ScaleWidth = client.Width;
    ScaleHeight = client.Height;
    runtime.add(*this);
}

Form::~Form() {
    runtime_.remove(*this);
}

void Form::Show(std::function<void()> whenHidden) {
    runtime_.show(*this, std::move(whenHidden));
}

void Form::Hide() {
    runtime_.hide(*this);
}

Single Form::Rnd() {
    return runtime_.services().random.next();
}

void Form::Randomize() {
    runtime_.services().random.randomize();
}

void Form::MsgBox(const std::string& prompt, int style, const std::string& title,
                  std::function<void()> then) {
    runtime_.message(prompt, style, title, std::move(then));
}

int Form::ScreenWidth() const {
    return runtime_.screenWidth();
}

void Form::End() {
    runtime_.end();
}

void Form::Announce(std::string text) {
    runtime_.speech().say(std::move(text));
}

void Form::AnnounceLater(std::string text) {
    runtime_.speech().sayLater(std::move(text));
}

std::string Form::Spoken() const {
    if (focus_ != nullptr && focus_->kind() == ControlKind::TextBox &&
        !focus_->AccessibleDescription.empty()) {
        return focus_->AccessibleDescription;
    }
    std::string text;
    for (const Control* c : controls_) {
        if (c->kind() == ControlKind::Image && c->shown() && runtime_.pictureText) {
            const std::string said = runtime_.pictureText(static_cast<const Image*>(c)->Picture);
            text += (text.empty() || said.empty() ? "" : " ") + said;
        }
    }
    const std::string focused = focus_ != nullptr ? Runtime::spokenName(*focus_) : "";
    return text + (text.empty() || focused.empty() ? "" : " ") + focused;
}

} // namespace forms
