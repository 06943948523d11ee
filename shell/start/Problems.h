#pragma once

// What every game does alike when it poses a problem and takes its answer.

#include "forms/Basic.h"
#include "forms/Controls.h"
#include "forms/KeyCodes.h"

namespace zifferix {

// A whole number drawn as Int(Rnd * count) + from: from .. from + count - 1.
struct Range {
    int from;
    int count;
};

inline forms::Single draw(Range range, forms::Single rnd) {
    return forms::Int(rnd * static_cast<forms::Single>(range.count)) +
           static_cast<forms::Single>(range.from);
}

using forms::kBackspace;
using forms::kComma;
using forms::kEnter;

// The keys of an answer other than Enter: Backspace empties the whole box, and every key but a
// digit is swallowed.
inline void digitsOnly(int& KeyAscii, forms::TextBox& box) {
    if (KeyAscii == kBackspace) {
        box.Text.clear();
    } else if (KeyAscii < '0' || KeyAscii > '9') {
        KeyAscii = 0;
    }
}

// The same with one decimal comma: a second one is swallowed until Backspace has emptied the
// box. KommaGesetzt is the game's own: it forgets the comma with every Enter.
inline void digitsAndOneComma(int& KeyAscii, forms::TextBox& box, bool& KommaGesetzt) {
    if (KeyAscii == kBackspace) {
        KommaGesetzt = false;
        box.Text.clear();
    } else if (KeyAscii == kComma) {
        if (KommaGesetzt) {
            KeyAscii = 0;
        } else {
            KommaGesetzt = true;
        }
    } else if (KeyAscii < '0' || KeyAscii > '9') {
        KeyAscii = 0;
    }
}

} // namespace zifferix
