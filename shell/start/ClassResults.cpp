#include "start/ClassResults.h"

#include "forms/Utf8.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace zifferix {
namespace {

// What the class service takes, so that a result is never refused for its size.
constexpr std::size_t kLongestChild = 24;
constexpr std::size_t kLongestProblem = 100;
constexpr std::size_t kLongestAnswer = 24;
constexpr std::size_t kMostProblems = 500;
constexpr int kMostPoints = 100000;
constexpr double kMostSeconds = 86400;

constexpr std::array<std::string_view, 3> kEnds{"gewonnen", "verloren", "verlassen"};

// A JSON string: quotes, backslashes and control characters escaped, other characters as they
// are, cut after `longest` characters. A broken UTF-8 sequence becomes U+FFFD, so that the
// body is always well-formed.
void appendString(std::string& json, std::string_view text, std::size_t longest) {
    static constexpr char kHex[] = "0123456789abcdef";
    json += '"';
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size() && characters < longest; ++characters) {
        std::size_t length = 1;
        char32_t c = forms::utf8::decodeAt(text, at, &length);
        if ((c == 0 && text[at] != '\0') || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
            c = 0xFFFD;
            length = 1;
        }
        at += length;
        if (c == U'"' || c == U'\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            json += "\\u00";
            json += kHex[(c >> 4) & 0xF];
            json += kHex[c & 0xF];
        } else {
            forms::utf8::append(json, c);
        }
    }
    json += '"';
}

// Seconds to a tenth, with a point: "61.5", "3" for a whole number.
void appendSeconds(std::string& json, double seconds) {
    const double kept = std::isfinite(seconds) ? std::clamp(seconds, 0.0, kMostSeconds) : 0.0;
    const auto tenths = static_cast<std::int64_t>(std::llround(kept * 10));
    json += std::to_string(tenths / 10);
    if (tenths % 10 != 0) {
        json += '.';
        json += static_cast<char>('0' + tenths % 10);
    }
}

void appendBool(std::string& json, bool value) {
    json += value ? "true" : "false";
}

} // namespace

std::string resultJson(const GameResult& result, std::string_view child) {
    std::string json = "{\"kind\":";
    appendString(json, child, kLongestChild);
    json += ",\"spiel\":";
    appendString(json, info(result.game).link, kLongestProblem);
    json += ",\"stufe\":" + std::to_string(difficulty::row(result.level) + 1);
    json +=
        ",\"punkte\":" + std::to_string(std::clamp<int>(result.points, -kMostPoints, kMostPoints));
    json += ",\"ergebnis\":";
    appendString(json, kEnds[static_cast<std::size_t>(result.end)], kLongestProblem);
    json += ",\"reihe\":";
    appendBool(json, result.inRow);
    json += ",\"sekunden\":";
    appendSeconds(json, result.seconds);
    json += ",\"aufgaben\":[";
    const std::size_t count = std::min(result.problems.size(), kMostProblems);
    for (std::size_t i = 0; i < count; ++i) {
        const ProblemRecord& p = result.problems[i];
        json += i == 0 ? "{\"aufgabe\":" : ",{\"aufgabe\":";
        appendString(json, p.problem, kLongestProblem);
        json += ",\"antwort\":";
        appendString(json, p.answer, kLongestAnswer);
        json += ",\"richtig\":";
        appendBool(json, p.right);
        json += ",\"sekunden\":";
        appendSeconds(json, p.seconds);
        json += '}';
    }
    json += "]}";
    return json;
}

} // namespace zifferix
