// Prints the names that links choose games and levels by, with the captions the start screen
// shows, and what a teacher may add to a link, as JSON: the teacher's page of links (links.html) is
// made from them when the site is built, so that it names exactly what the program reads.

#include "start/Choices.h"

#include <cstdio>
#include <string>

namespace {

template <std::size_t N> std::string json(const std::array<zifferix::Named, N>& table) {
    std::string list;
    for (const zifferix::Named& entry : table) {
        list += std::string(list.empty() ? "" : ", ") + "{\"name\": \"" + std::string(entry.name) +
                "\", \"caption\": \"" + std::string(entry.caption) + "\"}";
    }
    return "[" + list + "]";
}

} // namespace

int main() {
    using namespace zifferix;
    // What a teacher may add to every link, as the teacher's page switches it.
    const std::array<Named, 3> additions{{
        {kMoreTimeName, "Mehr Zeit"},
        {kContrastName, "Mehr Kontrast"},
        {kReadAloudName, "Vorlesen"},
    }};
    std::printf("{\"games\": %s,\n \"levels\": %s,\n \"additions\": %s}\n",
                json(kGameNames).c_str(), json(kLevelNames).c_str(), json(additions).c_str());
}
