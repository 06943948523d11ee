// Prints the games' unit tables and the words the games speak as JSON, for the players of the
// tests that are not C++ (the browser suites, the desktop's end-to-end row), so that they convert
// and listen by the program's own tables and never by a copy of them.

#include "balloon/MassProblem.h"
#include "mountain/LengthProblem.h"
#include "start/Spoken.h"

#include <array>
#include <cstdio>
#include <string>

namespace {

// {"name": value, ...} for every entry of a table, by the names and the value the functions give.
template <class Table, class Names, class Value>
std::string object(const Table& table, Names names, Value value) {
    std::string json = "{";
    for (const auto& entry : table) {
        for (std::string_view name : names(entry)) {
            if (!name.empty()) {
                json += (json.size() > 1 ? ", \"" : "\"") + std::string(name) +
                        "\": " + std::to_string(value(entry));
            }
        }
    }
    return json + "}";
}

// A word of the numerals or the parts, and its place there, which is its value.
template <class Table> auto placeIn(const Table& table) {
    return
        [&table](const std::string_view& word) { return static_cast<int>(&word - table.data()); };
}

} // namespace

int main() {
    using namespace zifferix;
    const auto text = [](const auto& u) { return std::array{u.text}; };
    const auto words = [](const auto& u) {
        return std::array{u.words.one, u.words.many != u.words.one ? u.words.many : ""};
    };
    const auto exponent = [](const auto& u) { return u.exponent; };
    const auto power = [](const auto& u) { return u.power; };
    const auto itself = [](const std::string_view& w) { return std::array{w}; };
    std::printf(
        "{\"lengths\": %s, \"masses\": %s, \"lengthWords\": %s, \"massWords\": %s, "
        "\"numerals\": %s, \"parts\": %s}\n",
        object(kLengthUnits, text, exponent).c_str(), object(kMassUnits, text, power).c_str(),
        object(kLengthUnits, words, exponent).c_str(), object(kMassUnits, words, power).c_str(),
        object(spoken::kNumerals, itself, placeIn(spoken::kNumerals)).c_str(),
        object(spoken::kParts, itself, placeIn(spoken::kParts)).c_str());
    return 0;
}
