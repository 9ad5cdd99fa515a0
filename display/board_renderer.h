#pragma once

#include <cstdint>
#include <string>

#include "engine/board.h"
#include "display/pixel_image.h"

namespace display {

// num / den to the nearest whole number, a half going to the even neighbour.
// num >= 0, den > 0.
int64_t RoundHalfEven(int64_t num, int64_t den);

// The pixel rectangle of cell (x, y) on a picture of width x height pixels
// showing `side` cells a side: each edge is index * pixels / side, rounded
// half to even.
PixelRect CellPixelRect(int32_t x, int32_t y, int32_t side, int width, int height);

// Paints the board into `image` (already sized): black background, every live
// cell filled with its colour and given a raised two-pixel rim. Returns the
// number of live cells.
int32_t RenderBoard(const engine::Board& board, PixelImage& image, const BevelColors& colors);

// Draws a raised edge (outer ring light / dark shadow, inner ring highlight /
// shadow) inside `rect`, clipped to the rectangle.
void DrawRaisedEdge(PixelImage& image, const PixelRect& rect, const BevelColors& colors);

// "#,##0": groups of three digits separated by commas, at least one digit.
std::string FormatCount(int64_t value);

}  // namespace display
