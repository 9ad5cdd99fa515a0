// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/board.h"
#include "patterns/cell_rect.h"

namespace patterns {

// One of the built-in pictures: `height` rows of `width` characters, 'O' for
// a live cell and '.' for a dead one; row 0 is the top row and the character
// at position dx of row dy is cell (dx, dy) of the pattern.
struct BuiltinPattern {
    std::string_view name;
    int32_t width;
    int32_t height;
    const std::string_view* rows;

    bool live(int32_t dx, int32_t dy) const { return rows[dy][static_cast<std::size_t>(dx)] == 'O'; }
};

inline constexpr int kBuiltinPatternCount = 5;

// The five built-ins in menu order: r-Pentomino, Glider, Glider gun,
// Queen bee, Spiral.
const BuiltinPattern& Builtin(int index);

// Writes the pattern's whole box with its top-left cell on (left, top): live
// cells get State 1 and the given colour, dead ones all four fields 0. Cells
// that fall off the board are left out; nothing wraps. Cells outside the box
// are not touched. Returns the box, which may reach beyond the board.
CellRect StampPattern(engine::Board& board, const BuiltinPattern& pattern, int32_t left, int32_t top,
                      const engine::CellRecord& colour);

}  // namespace patterns
