// SPDX-License-Identifier: MIT
#pragma once

// Which part of the board the window's picture shows, and at what size. The
// board is a torus, so the view has no edges: a position past the last
// column shows the first one again, and a view wider than the board shows
// it more than once.
//
// Two kinds of view:
// - the whole board (the first view): the picture is divided among the
//   board's cells exactly as RenderBoard divides it, each cell's edges
//   rounded half to even, possibly turned by a whole number of cells
//   (panned: the board's columns and rows shown from another first one);
// - a zoom level: every cell 2^shift device pixels a side, shift from
//   kMinShift (8 cells a pixel) to kMaxShift (64 pixels a cell). Below one
//   pixel a cell, a pixel shows a square of 2^-shift cells.
// Positions on the board are counted in sub-cells, kSubCell to a cell, so
// that every pixel edge at every level falls on a whole sub-cell.

#include <cstdint>
#include <optional>

#include "display/pixel_image.h"
#include "engine/board.h"

namespace display {

struct CellPosition {
    int32_t x = 0, y = 0;
    friend bool operator==(const CellPosition&, const CellPosition&) = default;
};

class Viewport {
public:
    static constexpr int kSubCell = 64;
    static constexpr int kMinShift = -3;
    static constexpr int kMaxShift = 6;
    // Grid lines are drawn from this many pixels a cell.
    static constexpr int kGridFrom = 8;

    // The whole board, from its first column and row.
    void showAll() { *this = Viewport{}; }
    bool wholeBoard() const { return whole_; }
    // Whether the picture is exactly today's whole-board picture (no turn).
    bool plain() const { return whole_ && left_ == 0 && top_ == 0; }
    int shift() const { return shift_; }  // a zoom level's; meaningless for the whole board
    // Device pixels a cell, as a fraction for levels below one.
    double cellPixels(int32_t side, int pixels) const;

    // The board position at the picture's top-left corner, in sub-cells,
    // 0 <= left, top < side * kSubCell (whole cells for the whole board and
    // for levels below one pixel a cell).
    int64_t left() const { return left_; }
    int64_t top() const { return top_; }

    // Zooms `steps` levels in (positive) or out (negative) keeping the board
    // position under picture pixel (px, py) where it is. In from the whole
    // board goes to the first level larger than it; out goes back to the
    // whole board once a level would show the board no more than once.
    // False when nothing changed (at the largest level, or out at the whole
    // board).
    bool zoom(int steps, double px, double py, int32_t side, int pixels);
    // One cell a device pixel, the cell at the picture's centre staying there.
    void actualSize(int32_t side, int pixels);
    // Moves the board by (dx, dy) picture pixels (positive: the board moves
    // right and down) from the view `from`; the whole board moves by the
    // nearest whole number of cells.
    void panFrom(const Viewport& from, double dx, double dy, int32_t side, int pixels);

    // The cell drawn at picture pixel (px, py) (the pixel's centre stands for
    // it); none outside the picture. Below one pixel a cell, the first of the
    // pixel's cells.
    std::optional<CellPosition> cellAt(double px, double py, int32_t side, int pixels) const;
    // The whole-board view: the cell `fitted` of the unturned picture, turned
    // as this view is.
    CellPosition turned(CellPosition fitted, int32_t side) const;
    // The picture rectangle of cells left..right x top..bottom (inclusive),
    // where it first appears right of and below the picture's top-left
    // corner, or else the copy before it that reaches into the picture; clipped to one pixel beyond the picture, so its outline's
    // sides outside the picture are not drawn. Empty when it is not seen.
    PixelRect cellsRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t side, int pixels) const;

    friend bool operator==(const Viewport&, const Viewport&) = default;

private:
    // Sub-cells a picture pixel, at a zoom level.
    int64_t subPerPixel() const;
    // Puts the top-left corner on a pixel edge of the level and within the board.
    void normalise(int32_t side);

    bool whole_ = true;
    int shift_ = 0;
    int64_t left_ = 0, top_ = 0;
};

// Everything a board picture is drawn with besides the board.
struct ViewLook {
    Viewport view;
    BevelColors colors;
    bool raised = true;  // a raised rim on cells of at least 4 pixels
    bool grid = false;   // grid lines between cells of at least Viewport::kGridFrom pixels
};

// Draws `look.view` of the board into `image` (already sized, square):
// black background; each cell's rectangle filled with its colour; below one
// pixel a cell, each pixel takes the mean colour of the live cells it covers
// (black without any), so no live cell vanishes. The whole board larger than
// the picture is drawn that way too. Only the cells in the picture are
// looked at, except below one pixel a cell.
void RenderView(const engine::Board& board, PixelImage& image, const ViewLook& look);

// Whether the picture of `view` is today's whole-board picture, which
// BoardPainter keeps up to date by changes.
bool PaintedByChanges(const Viewport& view, bool grid, int32_t side, int pixels);

}  // namespace display
