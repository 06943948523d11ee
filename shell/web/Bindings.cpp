#include "web/Bindings.h"

#include "forms/Caption.h"
#include "forms/Form.h"
#include "forms/Geometry.h"

namespace web {
namespace {

const char* cssAlign(forms::TextAlign align) {
    switch (align) {
    case forms::TextAlign::Right:
        return "right";
    case forms::TextAlign::Center:
        return "center";
    default:
        return "left";
    }
}

// A caption with its Alt key letter underlined, built from text nodes only.
void setCaption(const val& node, const std::string& caption) {
    const forms::Caption c = forms::readCaption(caption);
    setText(node, "");
    if (c.at == std::string::npos) {
        setText(node, c.text);
        return;
    }
    node.call<void>("append", c.text.substr(0, c.at));
    setText(make("u", node), c.text.substr(c.at, c.length));
    node.call<void>("append", c.text.substr(c.at + c.length));
}

class LabelBinding final : public Binding {
  public:
    LabelBinding(forms::Label& label, const val& parent, int id)
        : Binding(label, make("div", parent, "label"), id), label_(label) {}

  private:
    bool letsMouseThrough() const override { return true; }

    void syncOwn(forms::Zoom, const Area&, bool) override {
        if (changed(caption_, label_.Caption)) {
            setText(node_, label_.Caption);
        }
        if (changed(align_, label_.Alignment)) {
            style_.set("textAlign", std::string(cssAlign(label_.Alignment)));
        }
        // A label sized to its text never wraps it; a fixed one wraps at its width.
        if (changed(autoSize_, label_.AutoSize)) {
            style_.set("whiteSpace", std::string(label_.AutoSize ? "pre" : "pre-wrap"));
        }
        if (changed(border_, label_.BorderSingle)) {
            node_["classList"].call<void>("toggle", std::string("bordered"), label_.BorderSingle);
        }
        if (changed(look_, forms::lookOf(label_, contrast_))) {
            setLook(*look_, look_->own);
        }
    }

    forms::Label& label_;
    std::optional<std::string> caption_;
    std::optional<forms::TextAlign> align_;
    std::optional<bool> autoSize_;
    std::optional<bool> border_;
    std::optional<forms::Look> look_;
};

class TextBoxBinding final : public Binding {
  public:
    TextBoxBinding(forms::TextBox& box, const val& parent, int id)
        : Binding(box, make("input", parent, "textbox"), id), box_(box) {
        setAttribute(node_, "type", "text");
        setAttribute(node_, "autocomplete", "off");
        setAttribute(node_, "autocapitalize", "off");
        setAttribute(node_, "autocorrect", "off");
        setAttribute(node_, "spellcheck", "false");
        setAttribute(node_, "enterkeyhint", "enter");
        setEntry(); // before the box is first shown, so that a tap on it opens the right keys
    }

  private:
    // A box waiting between two problems keeps the focus, read-only, so that a tablet's
    // keyboard stays open for the next one: a disabled box would lose it and close the keyboard.
    // The keys a tablet offers: a number pad, with a decimal key where a comma is taken.
    void setEntry() {
        if (changed(entry_, box_.Entry)) {
            constexpr const char* kModes[] = {"text", "numeric", "decimal"};
            setAttribute(node_, "inputmode", kModes[static_cast<int>(box_.Entry)]);
        }
    }

    void enable(bool enabled) override {
        node_.set("readOnly", !enabled);
        setAttribute(node_, "aria-disabled", enabled ? "false" : "true");
        node_["classList"].call<void>("toggle", std::string("disabled"), !enabled);
    }

    void syncOwn(forms::Zoom, const Area&, bool) override {
        // Whatever the box shows, it shows the runtime's text with the caret at its end: an
        // input method may have written into it behind the runtime's back, and what it has
        // composed goes through the runtime when it is done, not while it is composing.
        const bool textChanged = changed(text_, box_.Text);
        if (textChanged || (node_["value"].as<std::string>() != box_.Text &&
                            !node_.call<bool>("hasAttribute", std::string("data-composing")))) {
            node_.set("value", box_.Text);
        }
        if (textChanged && document()["activeElement"] == node_) {
            const int end = node_["value"]["length"].as<int>();
            node_.call<void>("setSelectionRange", end, end);
        }
        if (changed(align_, box_.Alignment)) {
            style_.set("textAlign", std::string(cssAlign(box_.Alignment)));
        }
        setEntry();
        if (changed(look_, forms::lookOf(box_, contrast_))) {
            setLook(*look_, true);
        }
    }

    forms::TextBox& box_;
    std::optional<std::string> text_;
    std::optional<forms::TextAlign> align_;
    std::optional<forms::TextEntry> entry_;
    std::optional<forms::Look> look_;
};

class ButtonBinding final : public Binding {
  public:
    ButtonBinding(forms::CommandButton& button, const val& parent, int id)
        : Binding(button, make("button", parent, "button"), id), button_(button) {
        setAttribute(node_, "type", "button");
    }

  private:
    void syncOwn(forms::Zoom, const Area&, bool) override {
        if (changed(caption_, button_.Caption)) {
            setCaption(node_, button_.Caption);
        }
        if (changed(look_, forms::lookOf(button_, contrast_))) {
            // Only a graphical button is painted in its own colour.
            style_.set("color", cssColour(look_->fore));
            style_.set("backgroundColor", look_->own ? cssColour(look_->back) : std::string());
            setLook(*look_, look_->own);
        }
    }

    forms::CommandButton& button_;
    std::optional<std::string> caption_;
    std::optional<forms::Look> look_;
};

class OptionBinding final : public Binding {
  public:
    OptionBinding(forms::OptionButton& option, const val& parent, int id)
        : Binding(option, make("label", parent, "option"), id), option_(option),
          radio_(make("input", node_)), caption_(make("span", node_)) {
        setAttribute(radio_, "type", "radio");
        // The options of a frame are one group of radio buttons, named by the frame's title.
        if (const forms::Frame* frame = option.container()) {
            setAttribute(radio_, "name", option.form().name() + "." + frame->name());
            setAttribute(parent, "role", "radiogroup");
        }
    }
    const val& focusTarget() const override { return radio_; }

  private:
    void syncOwn(forms::Zoom, const Area&, bool) override {
        if (changed(text_, option_.Caption)) {
            setCaption(caption_, option_.Caption);
        }
        if (changed(value_, option_.Value())) {
            radio_.set("checked", option_.Value());
        }
        if (changed(look_, forms::lookOf(option_, contrast_))) {
            setLook(*look_, look_->own);
        }
    }

    forms::OptionButton& option_;
    val radio_;
    val caption_;
    std::optional<std::string> text_;
    std::optional<bool> value_;
    std::optional<forms::Look> look_;
};

class FrameBinding final : public Binding {
  public:
    FrameBinding(forms::Frame& frame, const val& parent, int id)
        : Binding(frame, make("div", parent, "frame"), id), frame_(frame),
          box_(make("div", node_, "frame-box")), title_(make("span", node_, "frame-title")) {
        setAttribute(title_, "id", "title-" + std::to_string(id));
        setAttribute(node_, "aria-labelledby", "title-" + std::to_string(id));
    }

  private:
    void syncOwn(forms::Zoom, const Area&, bool) override {
        if (changed(caption_, frame_.Caption)) {
            setText(title_, frame_.Caption);
        }
        if (changed(look_, forms::lookOf(frame_, contrast_))) {
            title_["style"].set("color", cssColour(look_->fore));
            style_.set("background", cssColour(look_->back));
        }
    }

    forms::Frame& frame_;
    val box_;
    val title_;
    std::optional<std::string> caption_;
    std::optional<forms::Look> look_;
};

} // namespace

Binding::Binding(forms::Control& control, val node, int id)
    : node_(std::move(node)), style_(node_["style"]), control_(control), id_(id) {
    setAttribute(node_, "data-id", std::to_string(id));
    setAttribute(node_, "data-name", control.name());
}

void Binding::enable(bool enabled) {
    val target = focusTarget();
    if (target["disabled"].isUndefined()) {
        node_["classList"].call<void>("toggle", std::string("disabled"), !enabled);
    } else {
        target.set("disabled", !enabled);
    }
}

Binding::Area Binding::area(forms::Zoom zoom) const {
    return forms::pixelRect(zoom, control_);
}

Binding::Place Binding::place() const {
    return {control_.Left, control_.Top, control_.Width, control_.Height, 0};
}

void Binding::setLook(const forms::Look& look, bool paintsOwn) {
    style_.set("color", cssColour(look.fore));
    style_.set("background", paintsOwn ? cssColour(look.back) : std::string("transparent"));
    style_.call<void>("setProperty", std::string("--edge"),
                      look.edged ? cssColour(look.edge) : std::string());
}

// The name on the element that takes the focus; the description in a hidden text beside the
// element, made when there first is one, and named by aria-describedby.
void Binding::syncSpoken() {
    const val& target = focusTarget();
    if (changed(name_, control_.AccessibleName)) {
        if (name_->empty()) {
            target.call<void>("removeAttribute", std::string("aria-label"));
        } else {
            setAttribute(target, "aria-label", *name_);
        }
    }
    if (changed(description_, control_.AccessibleDescription)) {
        if (described_.isUndefined()) {
            const std::string id = "describes-" + std::to_string(id_);
            described_ = make("span", node_["parentNode"], "description");
            setAttribute(described_, "id", id);
            described_.set("hidden", true);
            setAttribute(target, "aria-describedby", id);
        }
        setText(described_, *description_);
    }
}

void Binding::sync(forms::Zoom zoom, forms::Contrast contrast) {
    contrast_ = contrast;
    const forms::Control& c = control_;
    if (changed(shown_, c.Visible)) {
        style_.set("display", std::string(c.Visible ? "" : "none"));
    }
    if (!c.Visible) {
        return; // a hidden control is brought up to date when it is shown again
    }
    const bool moved = changed(placed_, std::make_pair(place(), zoom.factor()));
    if (moved) {
        area_ = area(zoom);
        style_.set("left", pixels(area_.left));
        style_.set("top", pixels(area_.top));
        style_.set("width", pixels(area_.width));
        style_.set("height", pixels(area_.height));
    }
    if (changed(enabled_, c.Enabled)) {
        enable(c.Enabled);
    }
    if (changed(tip_, c.ToolTipText)) {
        if (c.ToolTipText.empty()) {
            node_.call<void>("removeAttribute", std::string("title"));
        } else {
            setAttribute(node_, "title", c.ToolTipText);
        }
    }
    if (changed(through_, letsMouseThrough() && c.ToolTipText.empty())) {
        style_.set("pointerEvents", std::string(*through_ ? "none" : ""));
    }
    if (hasFont() && changed(font_, std::make_pair(c.Font, zoom.factor()))) {
        style_.set("font", cssFont(c.Font, zoom));
    }
    syncOwn(zoom, area_, moved);
    syncSpoken();
}

std::unique_ptr<Binding> bindingFor(forms::Label& label, const val& parent, int id) {
    return std::make_unique<LabelBinding>(label, parent, id);
}
std::unique_ptr<Binding> bindingFor(forms::TextBox& box, const val& parent, int id) {
    return std::make_unique<TextBoxBinding>(box, parent, id);
}
std::unique_ptr<Binding> bindingFor(forms::CommandButton& button, const val& parent, int id) {
    return std::make_unique<ButtonBinding>(button, parent, id);
}
std::unique_ptr<Binding> bindingFor(forms::OptionButton& option, const val& parent, int id) {
    return std::make_unique<OptionBinding>(option, parent, id);
}
std::unique_ptr<Binding> bindingFor(forms::Frame& frame, const val& parent, int id) {
    return std::make_unique<FrameBinding>(frame, parent, id);
}

} // namespace web
