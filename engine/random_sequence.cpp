// SPDX-License-Identifier: MIT
#include "engine/random_sequence.h"

#include <chrono>

namespace engine {

void RandomSequence::reseed(uint64_t seed) {
    state_ = seed;
    drawn_ = 0;
}

uint64_t RandomSequence::clockSeed() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

}  // namespace engine
