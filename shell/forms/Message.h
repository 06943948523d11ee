#pragma once

// A message box as the screens ask for it: prompt, style and title. The style's bits choose
// the icon; every message of the program has one button, OK.

#include <string>

namespace forms {

enum class MessageIcon { None, Critical, Question, Warning, Information };

struct Message {
    std::string prompt;
    int style = 0;
    std::string title;
};

// 16 stop, 32 question, 48 warning, 64 information.
constexpr MessageIcon iconOf(int style) {
    switch (style & 0x70) {
    case 16:
        return MessageIcon::Critical;
    case 32:
        return MessageIcon::Question;
    case 48:
        return MessageIcon::Warning;
    case 64:
        return MessageIcon::Information;
    default:
        return MessageIcon::None;
    }
}

constexpr const char* kMessageButton = "OK";

} // namespace forms
