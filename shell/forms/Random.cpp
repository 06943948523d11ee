#include "forms/Random.h"

#include <utility>

namespace forms {

SeededRandom::SeededRandom(Chance chance) : chance_(std::move(chance)) {
    randomize();
}

float SeededRandom::next() {
    return fromBits(generator_());
}

void SeededRandom::randomize() {
    const std::vector<std::uint32_t> seeds = chance_();
    std::seed_seq seed(seeds.begin(), seeds.end());
    generator_.seed(seed);
}

void SeededRandom::fix(std::uint32_t seed) {
    chance_ = [seed] { return std::vector<std::uint32_t>{seed}; };
    randomize();
}

} // namespace forms
