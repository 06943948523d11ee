// Input from the page: clicks, keys and text, fed into the runtime as on the desktop.

#include "web/WebView.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

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

// The most characters of one piece of text that are typed.
constexpr std::size_t kLongestText = 64;

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

// The letter of an Alt key press: the letter the key types, else the letter of its place, so
// that a Mac's or an iPad's keyboard, whose Option key turns L into "¬", still finds "L".
char32_t mnemonicLetter(const KeyEvent& e) {
    const std::vector<char32_t> typed = codePoints(e.key);
    if (typed.size() == 1 &&
        ((typed[0] >= U'a' && typed[0] <= U'z') || (typed[0] >= U'A' && typed[0] <= U'Z'))) {
        return typed[0];
    }
    if (e.code.size() == 4 && e.code.starts_with("Key")) {
        return static_cast<char32_t>(e.code[3] - 'A' + 'a');
    }
    return 0;
}

} // namespace

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
    if (e.key == "Alt") {
        return true; // alone, it would open the browser's menu bar
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
    // A keyboard sends a character or two at a time; more is cut, not typed.
    characters.resize(std::min(characters.size(), kLongestText));
    for (const char32_t c : characters) {
        runtime_.keyPress(typed(c));
    }
    afterEvent();
}

void WebView::paste(const std::string& text) {
    std::string pasted = text;
    if (decimalBox()) {
        std::replace(pasted.begin(), pasted.end(), '.', ',');
    }
    runtime_.paste(pasted);
    afterEvent();
}

bool WebView::decimalBox() const {
    const forms::Form* active = runtime_.activeForm();
    const forms::Control* focused = active != nullptr ? active->ActiveControl() : nullptr;
    return focused != nullptr && focused->kind() == forms::ControlKind::TextBox &&
           static_cast<const forms::TextBox*>(focused)->Entry == forms::TextEntry::Decimal;
}

// A box that takes a decimal comma takes a point as one: a tablet's decimal key types either.
int WebView::typed(char32_t c) const {
    return decimalBox() && c == U'.' ? kComma : static_cast<int>(c);
}

// A new viewport, a window resized or a device turned: the screens are zoomed to fit it at once,
// and the start screen takes the layout that suits it best; a game keeps its layout until it
// ends, so that nothing in play jumps to another place.
void WebView::resize(double width, double height) {
    if (runtime_.ended()) {
        return;
    }
    services_.screen.setArea(width, height);
    runtime_.screenChanged();
    afterEvent();
}

void WebView::dismissMessage() {
    services_.messageBox.dismiss();
    afterEvent();
}

} // namespace web
