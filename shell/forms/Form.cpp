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

namespace {

// A picture's text as sentences. Its lines are paragraphs or lines broken by hand: a line that
// ends without a full stop goes on where the next begins in lower case ("in / das Feld"), and
// is a heading, ended, where the next begins a sentence.
bool goesOn(std::string_view next) {
    const unsigned char c = next.empty() ? 'A' : static_cast<unsigned char>(next.front());
    return (c >= 'a' && c <= 'z') || c == '(' || next.starts_with("ä") || next.starts_with("ö") ||
           next.starts_with("ü");
}

std::string asSentences(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t to = text.find('\n', from);
        to = to == std::string::npos ? text.size() : to;
        const std::string line = text.substr(from, to - from);
        from = to + 1;
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first != std::string::npos) {
            lines.push_back(line.substr(first, line.find_last_not_of(" \t\r") - first + 1));
        }
    }
    std::string said;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool ended = std::string_view(".!?:").find(lines[i].back()) != std::string_view::npos;
        const bool joined = !ended && i + 1 < lines.size() && goesOn(lines[i + 1]);
        said += lines[i] + (ended || joined ? "" : ".") + (i + 1 < lines.size() ? " " : "");
    }
    return said;
}

} // namespace

std::string Form::Spoken() const {
    if (focus_ != nullptr && focus_->kind() == ControlKind::TextBox &&
        !focus_->AccessibleDescription.empty()) {
        return focus_->AccessibleDescription;
    }
    std::string text;
    for (const Control* c : controls_) {
        if (c->kind() == ControlKind::Image && c->shown() && runtime_.pictureText) {
            const std::string said =
                asSentences(runtime_.pictureText(static_cast<const Image*>(c)->Picture));
            text += (text.empty() || said.empty() ? "" : " ") + said;
        }
    }
    const std::string focused = focus_ != nullptr ? Runtime::spokenName(*focus_) : "";
    return text + (text.empty() || focused.empty() ? "" : " ") + focused;
}

} // namespace forms
