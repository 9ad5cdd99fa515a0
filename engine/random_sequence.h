// SPDX-License-Identifier: MIT
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

    // The next fraction as a whole number u, 0 <= u < 2^24: the fraction is
    // exactly u / 2^24. Lets a caller compare against a fixed threshold
    // without converting to float. Defined here so hot loops can inline it.
    uint32_t nextBits() {
        // splitmix64: full period over 2^64 states, good enough statistics, cheap.
        state_ += 0x9E3779B97F4A7C15ull;
        uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        // The last round, z ^= z >> 31, leaves the top 33 bits as they are,
        // and only the top 24 are taken.
        ++drawn_;
        return static_cast<uint32_t>(z >> 40);
    }

    // The next fraction: the top 24 bits give every float in [0, 1) with
    // spacing 2^-24, exactly.
    float next() { return static_cast<float>(nextBits()) * (1.0f / 16777216.0f); }

    // How many fractions have been drawn since the last reseed.
    uint64_t drawn() const { return drawn_; }

    // A seed taken from the time of day.
    static uint64_t clockSeed();

    // Where the sequence stands: restoring it makes the same fractions come
    // again, so a run can be computed once more exactly as it went.
    struct Position {
        uint64_t state = 0;
        uint64_t drawn = 0;
        bool operator==(const Position&) const = default;
    };
    Position position() const { return {state_, drawn_}; }
    void restore(const Position& p) {
        state_ = p.state;
        drawn_ = p.drawn;
    }

private:
    uint64_t state_ = 0;
    uint64_t drawn_ = 0;
};

}  // namespace engine
