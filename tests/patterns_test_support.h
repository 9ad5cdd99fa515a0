#pragma once

// Boards for the pattern tests.

#include <cstdint>

#include "engine/board.h"
#include "engine/random_sequence.h"

namespace patterns_test {

// A board of (gridMax + 1)^2 cells, about half of them live, each with a
// distinct colour and the dead ones with non-zero colour fields too, so that
// every moved record can be told apart from every other.
inline engine::Board NoisyBoard(int32_t gridMax, uint64_t seed) {
    engine::Board b;
    b.create(gridMax);
    engine::RandomSequence r(seed);
    for (int32_t x = 0; x <= gridMax; ++x)
        for (int32_t y = 0; y <= gridMax; ++y)
            b.cell(x, y) = {r.next() < 0.5f ? 1 : 0, x + 1, y + 1, static_cast<int32_t>(r.next() * 255)};
    return b;
}

// A board with every cell live in one marker colour.
inline engine::Board FullBoard(int32_t gridMax, engine::CellRecord marker = {1, 7, 7, 7}) {
    engine::Board b;
    b.create(gridMax);
    for (auto& c : b.Cells) c = marker;
    return b;
}

}  // namespace patterns_test
