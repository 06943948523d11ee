#pragma once

// The start screen's games and levels by short German names, so that a link
// (index.html#waage-normal) or the desktop's command line (--spiel=waage --stufe=normal) can
// choose them as a child would, and a teacher can read and write them.

#include "start/Games.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zifferix {

struct Named {
    std::string_view name;    // as a link or the command line writes it
    std::string_view caption; // as the start screen shows it
};

// The start screen's games in its order, top to bottom: the row ("das Spiel") last.
constexpr std::array<Named, kGameCount + 1> gameNames() {
    std::array<Named, kGameCount + 1> names{};
    for (std::size_t i = 0; i < kGameCount; ++i) {
        names[i] = {kGames[i].link, kGames[i].caption};
    }
    names[kGameCount] = {kRowInfo.link, kRowInfo.caption};
    return names;
}
inline constexpr std::array<Named, kGameCount + 1> kGameNames = gameNames();
// The row's place in kGameNames.
inline constexpr std::size_t kRowChoice = kGameCount;

// The levels, leicht to voll schwer: the level's number is its place plus one.
inline constexpr std::array<Named, 3> kLevelNames{{
    {"leicht", "leicht"},
    {"normal", "normal"},
    {"schwer", "voll schwer"},
}};

// What a teacher may add for a child: more time in the timed games, more contrast, reading
// aloud (which brings more time with it, unless the link asks for the normal time).
inline constexpr std::string_view kMoreTimeName = "mehrzeit";
inline constexpr std::string_view kContrastName = "kontrast";
inline constexpr std::string_view kReadAloudName = "vorlesen";
inline constexpr std::string_view kNormalTimeName = "normalzeit";

// A game, a level or both, each as its place in the tables above, and what the teacher adds.
struct Choice {
    std::optional<std::size_t> game;
    std::optional<std::size_t> level;
    bool moreTime = false;
    bool contrast = false;
    bool readAloud = false;
    bool normalTime = false;
    bool operator==(const Choice&) const = default;
    // The timed games run twice as long.
    bool givesMoreTime() const { return moreTime || (readAloud && !normalTime); }
};

template <std::size_t N>
constexpr std::optional<std::size_t> named(const std::array<Named, N>& table,
                                           std::string_view name) {
    for (std::size_t i = 0; i < N; ++i) {
        if (table[i].name == name) {
            return i;
        }
    }
    return std::nullopt;
}

// "waage-normal" or "waage", with or without its "#", and after them, or alone, "mehrzeit",
// "kontrast", "vorlesen" and "normalzeit", each once ("uhr-leicht-mehrzeit", "#kontrast",
// "#waage-vorlesen"); nothing for any other text.
std::optional<Choice> choiceOfLink(std::string_view link);
// The link's part after "#" for a game and maybe a level.
std::string linkOf(std::size_t game, std::optional<std::size_t> level = std::nullopt);
// "uhr, berg, …": the names of a table, for a message that lists the choices.
template <std::size_t N> std::string namesOf(const std::array<Named, N>& table) {
    std::string names;
    for (const Named& entry : table) {
        names += (names.empty() ? "" : ", ") + std::string(entry.name);
    }
    return names;
}

} // namespace zifferix
