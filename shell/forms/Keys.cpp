#include "forms/Keys.h"

#include "forms/Caption.h"
#include "forms/KeyCodes.h"
#include "forms/Runtime.h"
#include "forms/Utf8.h"

#include <algorithm>
#include <utility>

namespace forms {
namespace {

// The most characters of one piece of text that are typed.
constexpr std::size_t kLongestText = 64;

constexpr std::pair<KeyName, int> kKeyCodes[] = {
    {KeyName::Enter, kEnter},
    {KeyName::Backspace, kBackspace},
    {KeyName::Escape, kEscape},
};

constexpr std::pair<KeyName, Navigation> kNavigationKeys[] = {
    {KeyName::Left, Navigation::Left},
    {KeyName::Right, Navigation::Right},
    {KeyName::Up, Navigation::Up},
    {KeyName::Down, Navigation::Down},
};

// The letter of an Alt key press: the letter the key types, else the letter of its place, so
// that a Mac's or an iPad's keyboard, whose Option key turns L into "¬" and A into "å", still
// finds "L" and "A".
char32_t altLetter(const Key& key) {
    const std::vector<char32_t> typed = utf8::codePoints(key.text);
    if (typed.size() == 1 && placeOf(static_cast<int>(typed[0])) != 0) {
        return placeOf(static_cast<int>(typed[0]));
    }
    return key.place;
}

} // namespace

bool Keyboard::press(const Key& key) {
    if ((key.ctrl && !key.altGraph) || key.meta) {
        return false; // the toolkit's own shortcuts
    }
    // A held Enter or Space presses once: a child who keeps the key down after an answer must
    // not press the button that gets the focus next.
    const bool space = key.name == KeyName::Character && key.text == " ";
    if (key.repeat && (key.name == KeyName::Enter || space)) {
        return true;
    }
    if (key.name == KeyName::Alt) {
        return true; // alone, it would open a menu bar
    }
    if (key.alt && !key.altGraph) {
        const char32_t letter = altLetter(key);
        return letter != 0 && runtime_.mnemonic(letter);
    }
    for (const auto& [name, code] : kKeyCodes) {
        if (key.name == name) {
            runtime_.keyPress(code);
            return true;
        }
    }
    if (key.name == KeyName::Tab) {
        runtime_.navigate(key.shift ? Navigation::Previous : Navigation::Next);
        return true;
    }
    for (const auto& [name, navigation] : kNavigationKeys) {
        if (key.name == name) {
            runtime_.navigate(navigation);
            return true;
        }
    }
    if (key.name == KeyName::Editing) {
        return true;
    }
    if (key.name == KeyName::SayAgain) {
        runtime_.sayAgain();
        return runtime_.reading() != nullptr;
    }
    if (key.name != KeyName::Character) {
        return false;
    }
    // The keypad's decimal key is a comma, as on a German keyboard.
    if (key.keypad && (key.text == "." || key.text == ",")) {
        runtime_.keyPress(kComma);
        return true;
    }
    for (const char32_t c : utf8::codePoints(key.text)) {
        type(c);
    }
    return true;
}

void Keyboard::text(std::string_view typed) {
    std::vector<char32_t> characters = utf8::codePoints(typed);
    characters.resize(std::min(characters.size(), kLongestText));
    for (const char32_t c : characters) {
        type(c);
    }
}

void Keyboard::paste(std::string_view pasted) {
    std::string text(pasted);
    if (decimalBox()) {
        std::replace(text.begin(), text.end(), '.', ',');
    }
    runtime_.paste(text);
}

void Keyboard::type(char32_t c) {
    runtime_.keyPress(c == U'.' && decimalBox() ? kComma : static_cast<int>(c));
}

bool Keyboard::decimalBox() const {
    const Form* active = runtime_.activeForm();
    const Control* focused = active != nullptr ? active->ActiveControl() : nullptr;
    return pointIsComma_ && focused != nullptr && focused->kind() == ControlKind::TextBox &&
           static_cast<const TextBox*>(focused)->Entry == TextEntry::Decimal;
}

} // namespace forms
