// Input from the page: clicks, keys and text, fed into the runtime as on the desktop.

#include "web/View.h"

#include "forms/Utf8.h"

#include <string_view>
#include <utility>

namespace web {
namespace {

// The page's names of the keys that do more than type.
constexpr std::pair<std::string_view, forms::KeyName> kNamedKeys[] = {
    {"Enter", forms::KeyName::Enter},    {"Backspace", forms::KeyName::Backspace},
    {"Escape", forms::KeyName::Escape},  {"Tab", forms::KeyName::Tab},
    {"ArrowLeft", forms::KeyName::Left}, {"ArrowRight", forms::KeyName::Right},
    {"ArrowUp", forms::KeyName::Up},     {"ArrowDown", forms::KeyName::Down},
    {"Alt", forms::KeyName::Alt},        {"Delete", forms::KeyName::Editing},
    {"Home", forms::KeyName::Editing},   {"End", forms::KeyName::Editing},
    {"PageUp", forms::KeyName::Editing}, {"PageDown", forms::KeyName::Editing},
    {"Insert", forms::KeyName::Editing}, {"F2", forms::KeyName::SayAgain},
};

// A key as the runtime's keyboard takes it: a name or the character it types, and the letter
// of its place ("KeyL").
forms::Key keyOf(const KeyEvent& e) {
    forms::Key key{.text = e.key,
                   .alt = e.alt,
                   .ctrl = e.ctrl,
                   .meta = e.meta,
                   .altGraph = e.altGraph,
                   .shift = e.shift,
                   .repeat = e.repeat,
                   .keypad = e.code.starts_with("Numpad")};
    if (e.code.size() == 4 && e.code.starts_with("Key")) {
        key.place = forms::placeOf(e.code[3]);
    }
    for (const auto& [name, named] : kNamedKeys) {
        if (e.key == name) {
            key.name = named;
            return key;
        }
    }
    // One character is a key that types it; any other name ("Dead", "F5") is the browser's.
    key.name = forms::utf8::codePoints(e.key).size() == 1 ? forms::KeyName::Character
                                                          : forms::KeyName::Other;
    return key;
}

} // namespace

void View::click(int id) {
    if (forms::Control* c = controlOf(id)) {
        runtime_.click(*c);
        afterEvent();
    }
}

void View::focus(int id) {
    if (forms::Control* c = controlOf(id)) {
        runtime_.focus(*c);
        afterEvent();
    }
}

void View::close(int layer) {
    if (layer >= 0 && static_cast<std::size_t>(layer) < layers_.size()) {
        runtime_.close(*layers_[static_cast<std::size_t>(layer)].form);
        afterEvent();
    }
}

bool View::key(const KeyEvent& e) {
    if (runtime_.ended()) {
        return false;
    }
    const bool taken = keyboard_.press(keyOf(e));
    afterEvent();
    return taken;
}

void View::text(const std::string& text) {
    keyboard_.text(text);
    afterEvent();
}

void View::paste(const std::string& text) {
    keyboard_.paste(text);
    afterEvent();
}

// A new viewport, a window resized or a device turned: the screens are zoomed to fit it at once,
// and the start screen takes the layout that suits it best; a game keeps its layout until it
// ends, so that nothing in play jumps to another place.
void View::resize(double width, double height) {
    if (runtime_.ended()) {
        return;
    }
    services_.screen.setArea(width, height);
    runtime_.screenChanged();
    afterEvent();
}

void View::dismissMessage() {
    services_.messageBox.dismiss();
    afterEvent();
}

} // namespace web
