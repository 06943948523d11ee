#pragma once

// The keyboard as every view feeds it: a key with its modifiers, as the toolkit names it, and
// text that comes without keys, turned into the runtime's key presses, navigation and Alt
// letters by one set of rules.

#include <string>
#include <string_view>

namespace forms {

class Runtime;

enum class KeyName {
    Character, // a key that types its text
    Enter,
    Backspace,
    Escape,
    Tab,
    Left,
    Right,
    Up,
    Down,
    Alt,      // the Alt (Option) key alone
    Editing,  // Delete, Home, End, Page Up and Down, Insert: they would edit a box behind the
              // program's back
    SayAgain, // F2: what the screen shows, read aloud again
    Other,
};

struct Key {
    KeyName name = KeyName::Other;
    std::string text;   // what a Character types, UTF-8
    char32_t place = 0; // the letter printed where the key lies, lower case: 'l' for the L key
    bool alt = false;
    bool ctrl = false;
    bool meta = false;
    bool altGraph = false;
    bool shift = false;
    bool repeat = false; // held down
    bool keypad = false;
};

// The ASCII letters a key code stands for, as "KeyL" or Qt's key number name them.
constexpr char32_t placeOf(int asciiLetter) {
    return asciiLetter >= 'A' && asciiLetter <= 'Z'   ? asciiLetter - 'A' + 'a'
           : asciiLetter >= 'a' && asciiLetter <= 'z' ? asciiLetter
                                                      : 0;
}

class Keyboard {
  public:
    // Where a box takes a decimal comma, a point types one: a tablet's decimal pad may offer
    // only a point.
    explicit Keyboard(Runtime& runtime, bool pointIsComma = false)
        : runtime_(runtime), pointIsComma_(pointIsComma) {}

    // True when the key was the program's, so that the toolkit must not act on it as well.
    bool press(const Key& key);
    // Text that came without keys (a tablet's keyboard, an input method): as if typed, a
    // character at a time, and never more than a box could hold.
    void text(std::string_view typed);
    // Text pasted or dropped: into a box only.
    void paste(std::string_view pasted);

  private:
    void type(char32_t c);
    bool decimalBox() const;

    Runtime& runtime_;
    bool pointIsComma_;
};

} // namespace forms
