#include "start/name/Names.h"

#include "forms/Caption.h"
#include "forms/Utf8.h"

#include <algorithm>

namespace zifferix::names {
namespace {

bool isLetter(char32_t c) {
    return takes(c) && c != U' ' && c != U'-';
}

std::vector<char32_t> folded(const std::string& text) {
    std::vector<char32_t> points = forms::utf8::codePoints(text);
    std::transform(points.begin(), points.end(), points.begin(), forms::lowerLetter);
    return points;
}

} // namespace

std::string taken(std::string_view typed) {
    std::vector<char32_t> kept;
    for (const char32_t c : forms::utf8::codePoints(typed)) {
        const bool blank = c == U' ';
        if (!takes(c) || (blank && (kept.empty() || kept.back() == U' '))) {
            continue;
        }
        kept.push_back(c);
    }
    kept.resize(std::min(kept.size(), kLongestName));
    while (!kept.empty() && kept.back() == U' ') {
        kept.pop_back();
    }
    if (std::none_of(kept.begin(), kept.end(), isLetter)) {
        return {};
    }
    std::string name;
    for (const char32_t c : kept) {
        forms::utf8::append(name, c);
    }
    return name;
}

std::string asListed(const std::string& name, const std::vector<std::string>& listed) {
    const std::vector<char32_t> wanted = folded(name);
    for (const std::string& child : listed) {
        if (folded(child) == wanted) {
            return child;
        }
    }
    return name;
}

} // namespace zifferix::names
