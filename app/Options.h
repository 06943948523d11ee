#pragma once

// The command line: the program needs none, but a zoom can be set for a screen of any size, a
// game and a level can be chosen on the start screen, as a link does in the browser, and a
// class's link joins that class.

#include "start/Choices.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zifferix {

// A class's link, <site>index.html#klasse=<KLASSE>, taken apart: the folder of the page, which
// the class service answers under (<site>api/), and the class's id.
struct ClassAddress {
    std::string site; // http:// or https://, ending in "/"
    std::string id;   // 12 characters of a-z and 2-7
    bool operator==(const ClassAddress&) const = default;
};

// The class a link names; the reason it names none, in German, where it is no good.
struct ParsedClassLink {
    std::optional<ClassAddress> address;
    std::string problem;
};
ParsedClassLink parseClassLink(std::string_view link);

struct Options {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    std::optional<double> zoom;         // --zoom=F, from 1 to 4
    Choice choice;                      // --spiel=NAME, --stufe=NAME, --mehr-zeit, --kontrast
    std::optional<ClassAddress> klasse; // --klasse=LINK
    std::string error;                  // one line, when the command line is refused
};

constexpr double kSmallestZoom = 1.0;
constexpr double kLargestZoom = 4.0;

Options parseOptions(const std::vector<std::string_view>& arguments);

// What --help and --version print.
std::string usage();
std::string version();

} // namespace zifferix
