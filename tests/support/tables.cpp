// Prints the program's table of games in the order of the row, the games' unit tables and the
// words the games speak as JSON, for the players of the tests that are not C++ (the browser
// suites, the desktop's end-to-end row), so that they play, convert and listen by the program's
// own tables and never by a copy of them.

#include "balloon/Masses.h"
#include "mountain/Lengths.h"
#include "start/Spoken.h"
#include "support/ProgramHarness.h"

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

// The start screen's option that shows a caption, as the program has it.
std::string optionShowing(zifferix::frmstart& start, std::string_view caption) {
    for (forms::Control* c : start.controls()) {
        if (c->kind() == forms::ControlKind::OptionButton &&
            static_cast<forms::OptionButton*>(c)->Caption == caption) {
            return c->name();
        }
    }
    return "";
}

// [{"form": "frmUhr", "title": …, "link": "uhr", "caption": …, "option": "opt1"}, …] and the
// row's line.
std::string games() {
    testing_support::ProgramHarness h;
    const auto quoted = [](std::string_view text) { return "\"" + std::string(text) + "\""; };
    std::string json = "[";
    for (zifferix::Game id : zifferix::kRow) {
        const zifferix::GameInfo& game = zifferix::info(id);
        json += std::string(json.size() > 1 ? ", " : "") + "{\"form\": " + quoted(game.form) +
                ", \"title\": " + quoted(game.title) + ", \"link\": " + quoted(game.link) +
                ", \"caption\": " + quoted(game.caption) +
                ", \"option\": " + quoted(optionShowing(h.start(), game.caption)) + "}";
    }
    const zifferix::RowInfo row = zifferix::kRowInfo;
    return json + "], \"row\": {\"link\": " + quoted(row.link) +
           ", \"caption\": " + quoted(row.caption) +
           ", \"option\": " + quoted(optionShowing(h.start(), row.caption)) + "}";
}

} // namespace

int main() {
    using namespace zifferix;
    const auto text = [](const auto& u) { return std::array{u.text}; };
    const auto words = [](const auto& u) {
        return std::array{u.words.one, u.words.many != u.words.one ? u.words.many : ""};
    };
    const auto power = [](const auto& u) { return u.power; };
    const auto itself = [](const std::string_view& w) { return std::array{w}; };
    std::printf(
        "{\"games\": %s, \"lengths\": %s, \"masses\": %s, \"lengthWords\": %s, \"massWords\": %s, "
        "\"numerals\": %s, \"parts\": %s}\n",
        games().c_str(), object(kLengthUnits, text, power).c_str(),
        object(kMassUnits, text, power).c_str(), object(kLengthUnits, words, power).c_str(),
        object(kMassUnits, words, power).c_str(),
        object(spoken::kNumerals, itself, placeIn(spoken::kNumerals)).c_str(),
        object(spoken::kParts, itself, placeIn(spoken::kParts)).c_str());
    return 0;
}
