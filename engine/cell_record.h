#pragma once

#include <cstdint>

namespace engine {

// One cell. On the board `State` is 0 for a dead cell and anything else for a
// live one (the program itself writes 1); in the work board of the generation
// step it is the neighbour count plus 9 for a live cell. The three colour
// fields follow one another so a colour can be copied as one block.
struct CellRecord {
    int32_t State = 0;
    int32_t Red = 0;
    int32_t Green = 0;
    int32_t Blue = 0;

    bool live() const { return State != 0; }
    friend bool operator==(const CellRecord&, const CellRecord&) = default;
};

static_assert(sizeof(CellRecord) == 16, "CellRecord is four 32-bit integers");

}  // namespace engine
