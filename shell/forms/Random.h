#pragma once

// The random numbers of the real program: 24 random bits a draw, so that every value is exact
// in a single and below 1, from a generator seeded anew by Randomize from whatever the view
// counts as chance (the clock, the system's entropy) or, to repeat a run, from a fixed seed.

#include "forms/Services.h"

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace forms {

class SeededRandom : public RandomSource {
  public:
    using Chance = std::function<std::vector<std::uint32_t>()>;

    explicit SeededRandom(Chance chance);
    float next() override;
    void randomize() override;
    // From now on every Randomize starts the same sequence again: a run that can be repeated.
    void fix(std::uint32_t seed);

    // A draw of 32 bits as a value in [0, 1).
    static float fromBits(std::uint32_t bits) { return static_cast<float>(bits >> 8) * 0x1p-24f; }

  private:
    Chance chance_;
    std::mt19937 generator_;
};

} // namespace forms
