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

} // namespace forms
