#include "forms/Caption.h"

#include "forms/Utf8.h"

namespace forms {

Caption readCaption(std::string_view caption) {
    Caption read;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&' || i + 1 == caption.size()) {
            read.text += caption[i];
            continue;
        }
        ++i; // "&&" is a plain "&"; "&x" marks x
        if (caption[i] != '&' && read.letter == 0) {
            std::size_t length = 0;
            read.letter = lowerLetter(utf8::decodeAt(caption, i, &length));
            read.at = read.text.size();
            read.length = length;
        }
        read.text += caption[i];
    }
    return read;
}

} // namespace forms
