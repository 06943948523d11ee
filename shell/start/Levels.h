#pragma once

// A game's table by level: the points a game starts with, the bonus a win adds, and whatever
// else the game draws or times by the level.

#include "start/Module1.h"

#include <array>

namespace zifferix {

struct NothingMore {};

template <class Rules = NothingMore> struct Level {
    Integer startPoints = 0;
    Integer bonus = 0;
    Rules rules{};
};

// Leicht, normal and voll schwer, looked up by Schwierigkeit.
template <class Rules = NothingMore> class Levels {
  public:
    constexpr Levels(Level<Rules> leicht, Level<Rules> normal, Level<Rules> vollSchwer)
        : rows_{leicht, normal, vollSchwer} {}

    constexpr const Level<Rules>& operator[](int Schwierigkeit) const {
        return rows_[difficulty::row(Schwierigkeit)];
    }

  private:
    std::array<Level<Rules>, 3> rows_;
};

} // namespace zifferix
