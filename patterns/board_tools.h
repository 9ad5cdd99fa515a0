// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/board.h"
#include "patterns/cell_rect.h"

namespace patterns {

// True when the block holds a live cell (any non-zero State), searched column
// by column, each from the top, stopping at the first. False when the block
// does not lie on the board (no selection, or one left over from a larger
// board): no command that needs a live cell can act on it.
bool HasLiveCell(const engine::Board& board, const CellRect& rect);

// The colour value 0x00BBGGRR of a cell's colour.
int32_t ColourValue(const engine::CellRecord& cell);

// The colour the colour dialog starts on: that of the first live cell of the
// block in diagonal order, i.e. by dx + dy from the top-left corner, and among
// equal sums the largest dx first. Nothing when the block has no live cell
// (or does not lie on the board).
std::optional<int32_t> StartingColour(const engine::Board& board, const CellRect& rect);

// Gives every live cell of the block the colour 0x00BBGGRR, components taken
// as they are; dead cells keep their records.
void Recolour(engine::Board& board, const CellRect& rect, int32_t colour);

// Empties the whole board and sets the generation to 1.
void ClearBoard(engine::Board& board);

// Changes the board to (newGridMax + 1) squared cells, both arrays made anew,
// and copies back the top-left part of the old board that still fits; new
// cells are all zero. `boardCopy` receives the old board first. The counters
// and the modified flag are left as they are.
void ResizeBoard(engine::Board& board, int32_t newGridMax, std::vector<engine::CellRecord>& boardCopy);

}  // namespace patterns
