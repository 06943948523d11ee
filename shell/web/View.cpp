#include "web/View.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <utility>

namespace web {

View::View(forms::Runtime& runtime, WebServices& services)
    : runtime_(runtime), services_(services),
      stage_(document().call<val>("getElementById", std::string("stage"))),
      spoken_(document().call<val>("getElementById", std::string("spoken"))) {
    stage_.set("hidden", false);
    val goodbye = document().call<val>("getElementById", std::string("goodbye"));
    goodbye.set("hidden", true);
    showScreen();
}

// The page's own pieces (the message box, the close boxes) grow with the screens. Where the
// screens would be too small to read, the page asks to turn the device, and the game waits.
void View::showScreen() {
    const forms::Zoom zoom = services_.screen.zoom();
    if (zoom != shownZoom_) {
        document()["documentElement"]["style"].call<void>("setProperty", std::string("--zoom"),
                                                          std::to_string(zoom.factor()));
        shownZoom_ = zoom;
    }
    const bool turn = services_.screen.asksToTurn() && !runtime_.ended();
    if (turn != askingToTurn_) {
        document().call<val>("getElementById", std::string("turn")).set("hidden", !turn);
        stage_.set("inert", turn);
        askingToTurn_ = turn;
    }
}

View::~View() {
    cancelWakeUps();
    for (const Layer& layer : layers_) {
        layer.node.call<void>("remove");
    }
}

void View::addLayer(forms::Form& form) {
    // Made and first brought up to date outside the page, then put in at once.
    Layer layer{&form, makeDetached("div", "form"), {}, {}, {}};
    layer.node.call<void>("setAttribute", std::string("data-form"), form.name());
    layer.node.set("hidden", true);
    layer.node.set("inert", true);
    // A game's layer has the close box its window has on the desktop; the start screen has
    // "Aus und Schluss".
    if (&form != runtime_.startupForm()) {
        val box = make("button", layer.node, "close-box");
        box.call<void>("setAttribute", std::string("type"), std::string("button"));
        box.call<void>("setAttribute", std::string("tabindex"), std::string("-1"));
        box.call<void>("setAttribute", std::string("title"), std::string("Schließen"));
        box.call<void>("setAttribute", std::string("aria-label"), std::string("Schließen"));
        box.call<void>("setAttribute", std::string("data-close"), std::to_string(layers_.size()));
    }
    // Elements are made in the order the form declares its controls: later ones lie on top.
    for (forms::Control* control : form.controls()) {
        val parent = layer.node;
        for (const auto& e : bindings_) {
            if (&e->control() == control->container()) {
                parent = e->node();
            }
        }
        bindings_.push_back(bind(*control, parent, static_cast<int>(bindings_.size())));
        layer.bindings.push_back(bindings_.back().get());
    }
    layers_.push_back(std::move(layer));
}

void View::syncLayer(Layer& layer) {
    const forms::Form& form = *layer.form;
    // A hidden form's layer waits as it is: it is brought up to date when it is shown again.
    if (!form.Visible() && layer.shown == false) {
        return;
    }
    const forms::Color back = forms::backOf(form, contrast_);
    if (layer.back != back) {
        layer.node["style"].set("background", cssColour(back));
        layer.back = back;
    }
    const forms::Zoom zoom = services_.screen.zoom();
    for (Binding* e : layer.bindings) {
        e->sync(zoom, contrast_);
    }
    if (layer.shown != form.Visible()) {
        layer.node.set("hidden", !form.Visible());
        layer.shown = form.Visible();
    }
}

void View::afterEvent() {
    if (runtime_.ended()) {
        farewell();
        return;
    }
    showScreen();
    showContrast();
    sync_.everything();
    const std::size_t known = layers_.size();
    for (forms::Form* form : runtime_.forms()) {
        if (std::none_of(layers_.begin(), layers_.end(),
                         [form](const Layer& l) { return l.form == form; })) {
            addLayer(*form);
        }
    }
    for (Layer& layer : layers_) {
        syncLayer(layer);
    }
    for (std::size_t i = known; i < layers_.size(); ++i) {
        stage_.call<void>("appendChild", layers_[i].node);
    }
    showActive();
    speak();
    schedule();
}

// What the screens said during the event, into the live region as a new line of its own, so
// that the same words said twice are heard twice.
void View::speak() {
    const std::string said = runtime_.takeSpoken();
    if (said.empty()) {
        return;
    }
    setText(spoken_, "");
    setText(make("p", spoken_), said);
}

void View::PageVoice::say(const std::string& text) {
    val::global("zifferixVoice").call<void>("say", text);
}

void View::readAloud(bool on) {
    if (on == (runtime_.reading() != nullptr)) {
        return;
    }
    runtime_.readAloud(on ? &voice_ : nullptr);
    runtime_.pictureText = [](const forms::Picture& picture) {
        const val found =
            document().call<val>("getElementById", std::string("asset:") + picture.resource);
        if (found.isNull() || !picture.resource.ends_with(".html")) {
            return std::string();
        }
        // A paragraph a line, as the desktop's rich text gives it; the line breaks within one
        // are spaces.
        std::string text;
        const val paragraphs = found["content"].call<val>("querySelectorAll", std::string("p"));
        for (int i = 0; i < paragraphs["length"].as<int>(); ++i) {
            std::string paragraph = paragraphs[i]["textContent"].as<std::string>();
            std::replace(paragraph.begin(), paragraph.end(), '\n', ' ');
            text += paragraph + "\n";
        }
        return text;
    };
    val::global("zifferixVoice").call<void>("show", on);
}

void View::voiceDone() {
    if (forms::ReadingAloud* reading = runtime_.reading()) {
        reading->done();
    }
}

void View::systemContrast(bool more) {
    systemContrast_ = more;
    afterEvent();
}

void View::linkContrast(bool more) {
    linkContrast_ = more;
    afterEvent();
}

// The page's own pieces (the message box, the goodbye, the focus) follow the screens' look.
void View::showContrast() {
    contrast_ =
        systemContrast_ || linkContrast_ ? forms::Contrast::More : forms::Contrast::AsDesigned;
    if (contrast_ != shownContrast_) {
        document()["documentElement"]["classList"].call<void>(
            "toggle", std::string("more-contrast"), contrast_ == forms::Contrast::More);
        shownContrast_ = contrast_;
    }
}

// Only the top form of the modal chain takes input; the others wait beneath it, covered.
void View::showActive() {
    forms::Form* active = runtime_.activeForm();
    if (active != raised_) {
        for (Layer& layer : layers_) {
            const bool top = layer.form == active;
            layer.node.set("inert", !top);
            layer.node["classList"].call<void>("toggle", std::string("active"), top);
        }
        raised_ = active;
    }
    const std::optional<forms::Message>& message = runtime_.openMessage();
    const std::string& title = message             ? message->title
                               : active != nullptr ? active->Caption
                                                   : title_;
    if (title != title_) {
        document().set("title", title);
        title_ = title;
    }
    if (active == nullptr || message) {
        return;
    }
    const forms::Control* focused = active->ActiveControl();
    for (const Layer& layer : layers_) {
        if (layer.form == active && keepsKeyboard(layer, focused)) {
            return;
        }
    }
    if (focused == nullptr) {
        // Nothing to type into yet: the focus leaves the screens beneath.
        val current = document()["activeElement"];
        if (!current.isNull() && stage_.call<bool>("contains", current)) {
            current.call<void>("blur");
        }
        return;
    }
    if (Binding* e = bindingOf(focused)) {
        const val& target = e->focusTarget();
        if (document()["activeElement"] != target) {
            val options = val::object();
            options.set("preventScroll", true);
            target.call<void>("focus", options);
        }
    }
}

// A shown box of the game in front keeps the focus while the game has put its own focus on
// nothing, between two problems, and by touch also while it is on a button: the keyboard stays
// open, its Enter key goes to that button, and a screen reader hears no wandering focus.
bool View::keepsKeyboard(const Layer& layer, const forms::Control* focused) const {
    if (focused != nullptr && (!touch_ || focused->kind() == forms::ControlKind::TextBox)) {
        return false;
    }
    const val current = document()["activeElement"];
    for (const Binding* e : layer.bindings) {
        if (e->control().kind() == forms::ControlKind::TextBox && e->control().shown() &&
            e->node() == current) {
            return true;
        }
    }
    return false;
}

Binding* View::bindingOf(const forms::Control* control) const {
    for (const auto& e : bindings_) {
        if (&e->control() == control) {
            return e.get();
        }
    }
    return nullptr;
}

// The run has ended: a page cannot close its tab, so it says goodbye and offers a new run.
void View::farewell() {
    cancelWakeUps();
    showScreen();
    stage_.set("hidden", true);
    val goodbye = document().call<val>("getElementById", std::string("goodbye"));
    goodbye.set("hidden", false);
    document().set("title", std::string("Zifferix"));
    goodbye.call<val>("querySelector", std::string("button")).call<void>("focus");
    // The goodbye has nothing to say again; a new run reads aloud as its link asks.
    readAloud(false);
}

forms::Control* View::controlOf(int id) const {
    if (id < 0 || static_cast<std::size_t>(id) >= bindings_.size()) {
        return nullptr;
    }
    return &bindings_[static_cast<std::size_t>(id)]->control();
}

} // namespace web
