// Prints the games' unit tables as JSON, for the players of the tests that are not C++ (the
// browser suites, the desktop's end-to-end row), so that they convert by the program's own
// tables and never by a copy of them.

#include "balloon/MassProblem.h"
#include "mountain/LengthProblem.h"

#include <cstdio>
#include <string>

namespace {

template <class Table, class Power> std::string object(const Table& table, Power power) {
    std::string json = "{";
    for (const auto& unit : table) {
        json += (json.size() > 1 ? ", \"" : "\"") + std::string(unit.text) +
                "\": " + std::to_string(power(unit));
    }
    return json + "}";
}

} // namespace

int main() {
    std::printf("{\"lengths\": %s, \"masses\": %s}\n",
                object(zifferix::kLengthUnits, [](const auto& u) { return u.exponent; }).c_str(),
                object(zifferix::kMassUnits, [](const auto& u) { return u.power; }).c_str());
    return 0;
}
