// Prints the names that links choose games and levels by, with the captions the start screen
// shows, as JSON: the teacher's page of links (links.html) is made from them when the site is
// built, so that it names exactly what the program reads.

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
    std::printf("{\"games\": %s,\n \"levels\": %s}\n", json(zifferix::kGameNames).c_str(),
                json(zifferix::kLevelNames).c_str());
}
