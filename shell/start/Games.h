#pragma once

// The program's games, one line each: what the start screen, the links, the window and the row
// call a game. The composition root gives each game its screen (app/Screens.cpp); beyond that
// and the games' own folders, nothing in the program names a game.

#include "start/Module1.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace zifferix {

enum class Game { Uhr, Berg, Bruchteile, Netz, Waage, Ballon, Wander };

struct GameInfo {
    Game id;
    std::string_view link;    // as a link and the command line name it: "spinne"
    std::string_view caption; // its option on the start screen: "gegen die Spinne"
    std::string_view topic;   // the option's tooltip: "Großes 1x1"
    std::string_view form;    // the screen's name: "frmNetz"
    std::string_view title;   // its window's title: "Multiplikation"
};

// In the order of the start screen, top to bottom, which is the order of the ids.
inline constexpr std::array<GameInfo, 7> kGames{{
    {Game::Uhr, "uhr", "die Zeit läuft", "kleines 1x1", "frmUhr", "Kleines ein mal eins"},
    {Game::Berg, "berg", "den Berg hinauf", "Längenmaße", "frmBerg", "Längenmaße"},
    {Game::Bruchteile, "glas", "ein Glas füllen", "Bruchteile", "frmbruchteile", "Bruchteile"},
    {Game::Netz, "spinne", "gegen die Spinne", "Großes 1x1", "frmNetz", "Multiplikation"},
    {Game::Waage, "waage", "die Waage halten", "Addition/Subtraktion", "frmwaage", "Ausgleich"},
    {Game::Ballon, "ballon", "Ballonfahrt", "Massenmaße", "frmBallon", "Massemaße"},
    {Game::Wander, "zahlen", "fliegende Zahlen", "Addition/Subtraktion", "frmWander",
     "Addition / Subtraktion"},
}};
constexpr std::size_t kGameCount = kGames.size();

constexpr const GameInfo& info(Game game) {
    return kGames[static_cast<std::size_t>(game)];
}

// "das Spiel": the games in a row. Each hands over to the one after it; the last closes the
// row with the bonus of the level. It is the start screen's last line.
struct RowInfo {
    std::string_view link = "spiel";
    std::string_view caption = "das Spiel";
    std::string_view topic = "Alles hintereinander";
};
inline constexpr RowInfo kRowInfo;
inline constexpr std::array<Game, kGameCount> kRow{
    Game::Uhr, Game::Berg, Game::Waage, Game::Netz, Game::Ballon, Game::Wander, Game::Bruchteile};
inline constexpr std::array<Integer, 3> kRowBonus{50, 80, 110}; // leicht, normal, voll schwer

// The game the row plays after this one; nothing after the last.
constexpr std::optional<Game> nextInRow(Game game) {
    for (std::size_t i = 0; i + 1 < kRow.size(); ++i) {
        if (kRow[i] == game) {
            return kRow[i + 1];
        }
    }
    return std::nullopt;
}

namespace detail {
constexpr bool gamesAgree() {
    for (std::size_t i = 0; i < kGameCount; ++i) {
        bool inRow = false;
        for (Game g : kRow) {
            inRow = inRow || g == kGames[i].id;
        }
        if (kGames[i].id != static_cast<Game>(i) || !inRow) {
            return false;
        }
    }
    return true;
}
} // namespace detail
static_assert(detail::gamesAgree(), "every game at the place of its id, and once in the row");

} // namespace zifferix
