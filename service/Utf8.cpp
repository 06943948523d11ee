#include "Utf8.h"

#include <array>

namespace zifferix::service {
namespace {

struct Lead {
    unsigned char first; // lead bytes in [first, last] ...
    unsigned char last;
    unsigned char next;     // ... want the second byte in [next, nextLast] ...
    unsigned char nextLast; // ... and this many bytes in all:
    int length;
};

// The well-formed byte sequences of Unicode's table 3-7.
constexpr std::array<Lead, 9> kLeads{{
    {0x00, 0x7F, 0x00, 0x00, 1},
    {0xC2, 0xDF, 0x80, 0xBF, 2},
    {0xE0, 0xE0, 0xA0, 0xBF, 3},
    {0xE1, 0xEC, 0x80, 0xBF, 3},
    {0xED, 0xED, 0x80, 0x9F, 3},
    {0xEE, 0xEF, 0x80, 0xBF, 3},
    {0xF0, 0xF0, 0x90, 0xBF, 4},
    {0xF1, 0xF3, 0x80, 0xBF, 4},
    {0xF4, 0xF4, 0x80, 0x8F, 4},
}};

constexpr bool continuation(unsigned char byte) {
    return byte >= 0x80 && byte <= 0xBF;
}

// The length of the well-formed sequence at `at`, or 0.
int sequence(std::string_view text, std::size_t at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    for (const Lead& lead : kLeads) {
        if (byte < lead.first || byte > lead.last) {
            continue;
        }
        if (lead.length == 1) {
            return 1;
        }
        if (at + static_cast<std::size_t>(lead.length) > text.size()) {
            return 0;
        }
        const auto second = static_cast<unsigned char>(text[at + 1]);
        if (second < lead.next || second > lead.nextLast) {
            return 0;
        }
        for (int i = 2; i < lead.length; ++i) {
            if (!continuation(static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]))) {
                return 0;
            }
        }
        return lead.length;
    }
    return 0;
}

} // namespace

bool validUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const int length = sequence(text, at);
        if (length == 0) {
            return false;
        }
        at += static_cast<std::size_t>(length);
    }
    return true;
}

std::size_t characters(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        count += continuation(static_cast<unsigned char>(c)) ? 0 : 1;
    }
    return count;
}

bool hasControl(std::string_view text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x20 || byte == 0x7F) {
            return true;
        }
        // U+0080..U+009F are C2 80..C2 9F.
        if (byte == 0xC2 && at + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[at + 1]);
            if (next >= 0x80 && next <= 0x9F) {
                return true;
            }
        }
    }
    return false;
}

} // namespace zifferix::service
