#pragma once

// What the start screen and the games share: the difficulty, the mode and the points.

#include "forms/Basic.h"
#include "forms/Color.h"

#include <algorithm>
#include <array>

namespace zifferix {

using forms::Integer;

struct Module1 {
    Integer Schwierigkeit = 0;       // 0 none chosen, 1 leicht, 2 normal, 3 voll schwer
    Integer AllesHintereinander = 0; // 1 while the games are played in a row
    Integer Punkte = 0;              // points of the game in progress
    Integer GesamtPunkte = 0;        // running total of the row
};

namespace difficulty {
constexpr int Leicht = 1;
constexpr int Normal = 2;
constexpr int VollSchwer = 3;

// A table row for the chosen level; a level out of range (which the start screen never lets
// through) reads as the nearest one.
constexpr std::size_t row(int level) {
    return static_cast<std::size_t>(std::clamp(level, 1, 3) - 1);
}

// The colour of each level on the difficulty buttons, the points labels and the game options.
constexpr std::array<forms::Color, 3> kColors = {forms::colors::Green, forms::colors::Yellow,
                                                 forms::colors::Orange};
constexpr forms::Color color(int level) {
    return kColors[row(level)];
}
} // namespace difficulty

} // namespace zifferix
