#pragma once

// The command line: the program needs none, but a zoom can be set for a screen of any size, and
// a game and a level can be chosen on the start screen, as a link does in the browser.

#include "start/Choices.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zifferix {

struct Options {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    std::optional<double> zoom; // --zoom=F, from 1 to 4
    Choice choice;              // --spiel=NAME, --stufe=NAME, --mehr-zeit, --kontrast
    std::string error;          // one line, when the command line is refused
};

constexpr double kSmallestZoom = 1.0;
constexpr double kLargestZoom = 4.0;

Options parseOptions(const std::vector<std::string_view>& arguments);

// What --help and --version print.
std::string usage();
std::string version();

} // namespace zifferix
