#include "WebView.h"

#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <string_view>
#include <utility>

namespace web {
namespace {

constexpr int kEnter = 13;
constexpr int kBackspace = 8;
constexpr int kEscape = 27;
constexpr int kComma = ',';

// The keys that move the focus rather than type.
constexpr std::pair<std::string_view, forms::Navigation> kNavigationKeys[] = {
    {"ArrowLeft", forms::Navigation::Left},
    {"ArrowRight", forms::Navigation::Right},
    {"ArrowUp", forms::Navigation::Up},
    {"ArrowDown", forms::Navigation::Down},
};

// Keys that would edit a box or scroll the page behind the program's back: they do nothing.
constexpr std::string_view kSwallowedKeys[] = {"Delete", "Home",     "End",
                                               "PageUp", "PageDown", "Insert"};

// The most characters of one paste or drop that are typed into a box.
constexpr std::size_t kLongestText = 64;

// A waiting timer further off than this sleeps on a timeout, not on frames.
constexpr double kSleepAbove = 40;

double now() {
    return emscripten_get_now();
}

// The code points of a text, or nothing where it is not UTF-8.
std::vector<char32_t> codePoints(std::string_view text) {
    std::vector<char32_t> points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : 4;
        if (i + length > text.size()) {
            break;
        }
        char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (int k = 1; k < length; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        points.push_back(c);
        i += length;
    }
    return points;
}

// The letter of an Alt key press: the character where it is one, else the key's place, so
// that a keyboard whose Alt (Option) key types other characters still finds "L".
char32_t mnemonicLetter(const KeyEvent& e) {
    const std::vector<char32_t> typed = codePoints(e.key);
    if (typed.size() == 1 && typed[0] > U' ' && typed[0] < 0x250) {
        return typed[0];
    }
    if (e.code.size() == 4 && e.code.starts_with("Key")) {
        return static_cast<char32_t>(e.code[3] - 'A' + 'a');
    }
    return 0;
}

} // namespace

WebView::WebView(forms::Runtime& runtime, WebServices& services)
    : runtime_(runtime), services_(services),
      stage_(document().call<val>("getElementById", std::string("stage"))) {
    stage_.set("hidden", false);
    val goodbye = document().call<val>("getElementById", std::string("goodbye"));
    goodbye.set("hidden", true);
    showZoom();
}

// The page's own pieces (the message box, the close boxes) grow with the screens.
void WebView::showZoom() {
    document()["documentElement"]["style"].call<void>(
        "setProperty", std::string("--zoom"), std::to_string(services_.screen.zoom().factor()));
}

WebView::~WebView() {
    cancelWakeUps();
    for (const Layer& layer : layers_) {
        layer.node.call<void>("remove");
    }
}

void WebView::addLayer(forms::Form& form) {
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
        for (const auto& e : elements_) {
            if (&e->control() == control->container()) {
                parent = e->node();
            }
        }
        elements_.push_back(bind(*control, parent, static_cast<int>(elements_.size())));
        layer.elements.push_back(elements_.back().get());
    }
    layers_.push_back(std::move(layer));
}

void WebView::syncLayer(Layer& layer) {
    const forms::Form& form = *layer.form;
    // A hidden form's layer waits as it is: it is brought up to date when it is shown again.
    if (!form.Visible() && layer.shown == false) {
        return;
    }
    if (layer.back != form.BackColor) {
        layer.node["style"].set("background", cssColour(form.BackColor));
        layer.back = form.BackColor;
    }
    const forms::Zoom zoom = services_.screen.zoom();
    for (Element* e : layer.elements) {
        e->sync(zoom);
    }
    if (layer.shown != form.Visible()) {
        layer.node.set("hidden", !form.Visible());
        layer.shown = form.Visible();
    }
}

void WebView::afterEvent() {
    if (runtime_.ended()) {
        farewell();
        return;
    }
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
    schedule();
}

// Only the top form of the modal chain takes input; the others wait beneath it, covered.
void WebView::showActive() {
    forms::Form* active = runtime_.activeForm();
    if (active != raised_) {
        for (Layer& layer : layers_) {
            const bool top = layer.form == active;
            layer.node.set("inert", !top);
            layer.node["classList"].call<void>("toggle", std::string("active"), top);
        }
        raised_ = active;
    }
    const std::string& title = services_.messageBox.open() ? services_.messageBox.title()
                               : active != nullptr         ? active->Caption
                                                           : title_;
    if (title != title_) {
        document().set("title", title);
        title_ = title;
    }
    if (active == nullptr || services_.messageBox.open()) {
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
    if (Element* e = elementOf(focused)) {
        const val& target = e->focusTarget();
        if (document()["activeElement"] != target) {
            val options = val::object();
            options.set("preventScroll", true);
            target.call<void>("focus", options);
        }
    }
}

// By touch, a shown box of the game in front keeps the focus while the game has put its own
// focus on a button or on nothing, between two problems: the keyboard stays open, and its
// Enter key goes to that button.
bool WebView::keepsKeyboard(const Layer& layer, const forms::Control* focused) const {
    if (!touch_ || (focused != nullptr && focused->kind() == forms::ControlKind::TextBox)) {
        return false;
    }
    const val current = document()["activeElement"];
    for (const Element* e : layer.elements) {
        if (e->control().kind() == forms::ControlKind::TextBox && e->control().shown() &&
            e->node() == current) {
            return true;
        }
    }
    return false;
}

Element* WebView::elementOf(const forms::Control* control) const {
    for (const auto& e : elements_) {
        if (&e->control() == control) {
            return e.get();
        }
    }
    return nullptr;
}

// The run has ended: a page cannot close its tab, so it says goodbye and offers a new run.
void WebView::farewell() {
    cancelWakeUps();
    stage_.set("hidden", true);
    val goodbye = document().call<val>("getElementById", std::string("goodbye"));
    goodbye.set("hidden", false);
    document().set("title", std::string("Zifferix"));
    goodbye.call<val>("querySelector", std::string("button")).call<void>("focus");
}

forms::Control* WebView::controlOf(int id) const {
    if (id < 0 || static_cast<std::size_t>(id) >= elements_.size()) {
        return nullptr;
    }
    return &elements_[static_cast<std::size_t>(id)]->control();
}

// --- input ---------------------------------------------------------------------------------

void WebView::click(int id) {
    if (forms::Control* c = controlOf(id)) {
        runtime_.click(*c);
        afterEvent();
    }
}

void WebView::focus(int id) {
    if (forms::Control* c = controlOf(id)) {
        runtime_.focus(*c);
        afterEvent();
    }
}

void WebView::close(int layer) {
    if (layer >= 0 && static_cast<std::size_t>(layer) < layers_.size()) {
        runtime_.close(*layers_[static_cast<std::size_t>(layer)].form);
        afterEvent();
    }
}

bool WebView::key(const KeyEvent& e) {
    if (runtime_.ended() || (e.ctrl && !e.altGraph) || e.meta) {
        return false; // the browser's own shortcuts
    }
    // A held Enter or Space presses once: a child who keeps the key down after an answer must
    // not press the button that gets the focus next.
    if (e.repeat && (e.key == "Enter" || e.key == " ")) {
        return true;
    }
    if (e.alt && !e.altGraph) {
        const char32_t letter = mnemonicLetter(e);
        const bool taken = letter != 0 && runtime_.mnemonic(letter);
        afterEvent();
        return taken;
    }
    const std::vector<char32_t> typed = codePoints(e.key);
    bool taken = true;
    if (e.key == "Enter") {
        runtime_.keyPress(kEnter);
    } else if (e.key == "Backspace") {
        runtime_.keyPress(kBackspace);
    } else if (e.key == "Escape") {
        runtime_.keyPress(kEscape);
    } else if (e.key == "Tab") {
        runtime_.navigate(e.shift ? forms::Navigation::Previous : forms::Navigation::Next);
    } else if (e.code == "NumpadDecimal") {
        runtime_.keyPress(kComma); // the keypad's decimal key is a comma, as on a German keyboard
    } else if (typed.size() == 1) {
        runtime_.keyPress(this->typed(typed[0]));
    } else {
        taken = false;
        for (const auto& [name, navigation] : kNavigationKeys) {
            if (e.key == name) {
                runtime_.navigate(navigation);
                taken = true;
            }
        }
        taken = taken || std::find(std::begin(kSwallowedKeys), std::end(kSwallowedKeys), e.key) !=
                             std::end(kSwallowedKeys);
    }
    afterEvent();
    return taken;
}

void WebView::text(const std::string& text) {
    std::vector<char32_t> characters = codePoints(text);
    // No box takes more than a few characters: a paste of a whole book is cut, not typed.
    characters.resize(std::min(characters.size(), kLongestText));
    for (const char32_t c : characters) {
        runtime_.keyPress(typed(c));
    }
    afterEvent();
}

// A box that takes a decimal comma takes a point as one: a tablet's decimal key types either.
int WebView::typed(char32_t c) const {
    const forms::Form* active = runtime_.activeForm();
    const forms::Control* focused = active != nullptr ? active->ActiveControl() : nullptr;
    const bool decimal =
        focused != nullptr && focused->kind() == forms::ControlKind::TextBox &&
        static_cast<const forms::TextBox*>(focused)->Entry == forms::TextEntry::Decimal;
    return decimal && c == U'.' ? kComma : static_cast<int>(c);
}

void WebView::resize(double width, double height) {
    services_.screen.setViewport(width, height);
    showZoom();
    const forms::Size client = services_.screen.clientSizeTwips();
    for (forms::Form* form : runtime_.forms()) {
        runtime_.resize(*form, client);
    }
    afterEvent();
}

void WebView::dismissMessage() {
    services_.messageBox.dismiss();
    afterEvent();
}

// --- time ----------------------------------------------------------------------------------

// Frames are asked for only while a tick is near; a timer further off sleeps on a timeout
// until shortly before it is due.
void WebView::schedule() {
    const std::optional<std::int64_t> due = runtime_.nextDue();
    if (!due || runtime_.ended()) {
        cancelWakeUps();
        clockRunning_ = false; // time stands still until something moves again
        return;
    }
    if (!clockRunning_) {
        clockStart_ = now();
        passed_ = 0;
        clockRunning_ = true;
    }
    if (frameRequest_ != 0) {
        return; // the frame schedules again
    }
    if (timeout_ != 0) {
        emscripten_clear_timeout(timeout_); // a timer may have started that ticks sooner
        timeout_ = 0;
    }
    const double wait =
        passed_ + static_cast<double>(*due - runtime_.now()) - (now() - clockStart_);
    if (wait > kSleepAbove) {
        timeout_ = emscripten_set_timeout(&WebView::onTimeout, wait - kSleepAbove / 2, this);
    } else {
        requestFrame();
    }
}

void WebView::requestFrame() {
    if (frameRequest_ == 0) {
        frameRequest_ = emscripten_request_animation_frame(&WebView::onFrame, this);
    }
}

void WebView::cancelWakeUps() {
    if (frameRequest_ != 0) {
        emscripten_cancel_animation_frame(frameRequest_);
        frameRequest_ = 0;
    }
    if (timeout_ != 0) {
        emscripten_clear_timeout(timeout_);
        timeout_ = 0;
    }
}

int WebView::onFrame(double, void* self) {
    auto* view = static_cast<WebView*>(self);
    view->frameRequest_ = 0;
    view->frame();
    return EM_FALSE;
}

void WebView::onTimeout(void* self) {
    auto* view = static_cast<WebView*>(self);
    view->timeout_ = 0;
    view->requestFrame();
}

// Virtual time catches up with real time. A frame that comes late, because the tab was in the
// background or the machine stalled, passes on at most kLongestFrame beyond the tick it was
// woken for, so that a stall never causes a burst of ticks.
void WebView::frame() {
    if (!clockRunning_) {
        schedule();
        return;
    }
    double elapsed = (now() - clockStart_) - passed_;
    const std::optional<std::int64_t> due = runtime_.nextDue();
    const double allowed = (due ? static_cast<double>(*due - runtime_.now()) : 0) + kLongestFrame;
    if (elapsed > allowed) {
        passed_ += elapsed - allowed;
        elapsed = allowed;
    }
    const auto whole = static_cast<std::int64_t>(std::max(0.0, elapsed));
    passed_ += static_cast<double>(whole);
    runtime_.advance(whole);
    afterTick();
}

// A tick changes what the child sees in front; the layers beneath are covered by it and are
// brought up to date as soon as anything else happens.
void WebView::afterTick() {
    forms::Form* active = runtime_.activeForm();
    const bool sameLayers = !runtime_.ended() && active != nullptr && active == raised_ &&
                            layers_.size() == runtime_.forms().size() &&
                            std::all_of(layers_.begin(), layers_.end(), [](const Layer& l) {
                                return l.shown == l.form->Visible();
                            });
    if (!sameLayers) {
        afterEvent();
        return;
    }
    for (Layer& layer : layers_) {
        if (layer.form == active) {
            syncLayer(layer);
        }
    }
    showActive();
    schedule();
}

} // namespace web
