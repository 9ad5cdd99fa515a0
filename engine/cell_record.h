// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace engine {

// One cell. On the board `State` is 0 for a dead cell and anything else for a
// live one (the program itself writes 1; a pattern file or the clipboard may
// bring any byte); in the rule's work board (see generation_step.cpp) it is
// the neighbour count plus 9 for a live cell (at most 17). The three colour
// fields follow one another so a colour can be copied as one block.
//
// Every value a file, the clipboard or the program puts into a cell is a
// byte, so a cell is four bytes: a 200 x 200 board is 160 KB and the step
// reads it quickly from the cache.
struct CellRecord {
    uint8_t State = 0;
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;

    constexpr CellRecord() = default;
    // From whole numbers 0 .. 255 (colours and States are computed in int).
    constexpr CellRecord(int state, int red, int green, int blue)
        : State(static_cast<uint8_t>(state)),
          Red(static_cast<uint8_t>(red)),
          Green(static_cast<uint8_t>(green)),
          Blue(static_cast<uint8_t>(blue)) {}

    bool live() const { return State != 0; }
    friend bool operator==(const CellRecord&, const CellRecord&) = default;
};

static_assert(sizeof(CellRecord) == 4, "CellRecord is four bytes");

}  // namespace engine
