// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "engine/board.h"
#include "patterns/cell_rect.h"

namespace patterns {

// The selection commands. Cells move as whole records (state and colour),
// dead ones like live ones. Each does nothing and returns false when the
// rectangle is not in order or does not lie wholly on the board.

// Mirrors the block across its vertical centre line; an odd middle column
// stays.
bool MirrorLeftRight(engine::Board& board, const CellRect& rect);

// Mirrors the block across its horizontal centre line; an odd middle row
// stays.
bool MirrorTopBottom(engine::Board& board, const CellRect& rect);

// Turns the block a quarter clockwise about its top-left corner, which stays
// in place: the old top row becomes the new right-hand column. The block is
// lifted first (its cells cleared), then the turned block is written over
// whatever lies under its new footprint; parts beyond the last column or row
// are lost. `rect` becomes the turned block's box, cut off at the board's
// edges.
bool RotateClockwise(engine::Board& board, CellRect& rect);

}  // namespace patterns
