#include "engine/random_sequence.h"

#include <chrono>

namespace engine {

void RandomSequence::reseed(uint64_t seed) {
    state_ = seed;
    drawn_ = 0;
}

float RandomSequence::next() {
    // splitmix64: full period over 2^64 states, good enough statistics, cheap.
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    ++drawn_;
    // The top 24 bits give every float in [0, 1) with spacing 2^-24, exactly.
    return static_cast<float>(z >> 40) * (1.0f / 16777216.0f);
}

uint64_t RandomSequence::clockSeed() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

}  // namespace engine
