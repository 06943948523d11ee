#include "forms/Utf8.h"

#include <algorithm>

namespace forms::utf8 {
namespace {

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The length of the sequence a byte begins; a stray continuation byte stands alone.
std::size_t sequenceLength(char lead) {
    const auto byte = static_cast<unsigned char>(lead);
    return byte < 0xC0 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
}

} // namespace

char32_t decodeAt(std::string_view text, std::size_t at, std::size_t* length) {
    const std::size_t n = std::min(sequenceLength(text[at]), text.size() - at);
    if (length != nullptr) {
        *length = n;
    }
    const auto lead = static_cast<unsigned char>(text[at]);
    if (n == 1) {
        return lead < 0x80 ? lead : 0;
    }
    char32_t c = lead & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if (!isContinuation(text[at + k])) {
            return 0;
        }
        c = (c << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
    }
    return n == sequenceLength(text[at]) ? c : 0;
}

std::vector<char32_t> codePoints(std::string_view text) {
    std::vector<char32_t> points;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 0;
        const char32_t c = decodeAt(text, i, &length);
        if (i + sequenceLength(text[i]) > text.size()) {
            break;
        }
        points.push_back(c);
        i += length;
    }
    return points;
}

void append(std::string& text, char32_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::size_t characterCount(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !isContinuation(c); }));
}

void eraseLastCharacter(std::string& text) {
    while (!text.empty() && isContinuation(text.back())) {
        text.pop_back();
    }
    if (!text.empty()) {
        text.pop_back();
    }
}

} // namespace forms::utf8
