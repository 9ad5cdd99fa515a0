#pragma once

#include <cstdint>

namespace engine {

// The program's one pseudo-random sequence: uniform single-precision fractions
// r with 0 <= r < 1. Seeded once (from the clock by the program, explicitly by
// tests and tools); every random choice of the program draws from it.
class RandomSequence {
public:
    explicit RandomSequence(uint64_t seed = 1) { reseed(seed); }

    void reseed(uint64_t seed);
    float next();

    // How many fractions have been drawn since the last reseed.
    uint64_t drawn() const { return drawn_; }

    // A seed taken from the time of day.
    static uint64_t clockSeed();

private:
    uint64_t state_ = 0;
    uint64_t drawn_ = 0;
};

}  // namespace engine
