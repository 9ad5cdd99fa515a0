// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// The pixel rectangle of the cells left..right x top..bottom (inclusive,
// left <= right, top <= bottom): the edges of the cells' own rectangles, so
// an outline on it covers the cells (the focus rectangle of a selection).
PixelRect CellsPixelRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t side, int width,
                         int height);

// How a live cell looks: its colour inside a raised two-pixel rim, or its
// colour alone, edge to edge (on a large board the rim would cover it).
enum class CellLook { Raised, Flat };

// Paints the board into `image` (already sized): black background, every live
// cell filled with its colour and, when raised, given a raised two-pixel rim.
// Returns the number of live cells.
int32_t RenderBoard(const engine::Board& board, PixelImage& image, const BevelColors& colors,
                    CellLook look = CellLook::Raised);

// The look of a live cell of one pixel size, made once and stamped for every
// cell of that size: rim pixels hold their colour, the inside holds 0 (every
// rim colour is opaque, so 0 is free) and takes the cell's colour. A board
// has at most two cell widths and two heights.
class CellStamps {
public:
    // Drops the stamps made with other rim colours.
    void use(const BevelColors& colors);
    // w x h pixels, row by row, in the colours last given to use(); valid
    // until the next call.
    const uint32_t* get(int w, int h) {
        for (const Stamp& s : stamps_)
            if (s.w == w && s.h == h) return s.pixels.data();
        return make(w, h);
    }

private:
    const uint32_t* make(int w, int h);
    struct Stamp {
        int w = 0, h = 0;
        std::vector<uint32_t> pixels;
    };
    std::vector<Stamp> stamps_;
    BevelColors colors_;
};

// Keeps a picture of the board up to date from one drawing to the next. The
// first drawing, and any after the board's side, the picture, the rim
// colours or the cells' look changed, paints everything as RenderBoard does; later ones compare
// the board with the copy taken at the last drawing and repaint only the
// cells that look different (born, died, recoloured), so during a run the
// cost follows the changes, not the population. Either way the picture is,
// pixel for pixel, the one RenderBoard would paint, and the population is
// exact: the last one adjusted by every cell that turned live or dead.
class BoardPainter {
public:
    struct Drawing {
        int32_t population = 0;
        // The pixels that changed, as rectangles that do not overlap: runs of
        // changed cells down one column, column by column from the left;
        // none when nothing changed.
        std::vector<PixelRect> changed;
    };
    // The result stays valid until the next call.
    const Drawing& paint(const engine::Board& board, PixelImage& image, const BevelColors& colors,
                         CellLook look = CellLook::Raised);
    // The next drawing paints everything (for a picture changed elsewhere).
    void forget() { side_ = 0; }

private:
    bool needsFullDrawing(const engine::Board& board, const PixelImage& image, const BevelColors& colors,
                          CellLook look) const;
    void paintAll(const engine::Board& board, PixelImage& image, const BevelColors& colors, CellLook look);
    void paintChanges(const engine::Board& board, PixelImage& image);
    void update(PixelImage& image, int32_t x, int32_t y, const engine::CellRecord& now, engine::CellRecord& was);
    void addToRun(int32_t x, int32_t y);
    void endRun();

    std::vector<engine::CellRecord> drawn_;  // the board as last drawn
    std::vector<int> xs_, ys_;               // pixel edges of the columns and rows
    int32_t side_ = 0;
    int32_t population_ = 0;
    int width_ = 0, height_ = 0;
    const uint32_t* pixels_ = nullptr;
    BevelColors colors_;
    CellLook look_ = CellLook::Raised;
    Drawing drawing_;
    CellStamps stamps_;
    int32_t runX_ = -1, runTop_ = 0, runEnd_ = 0;  // the run of changed cells being gathered
};

// Draws a raised edge (outer ring light / dark shadow, inner ring highlight /
// shadow) inside `rect`, clipped to the rectangle.
void DrawRaisedEdge(PixelImage& image, const PixelRect& rect, const BevelColors& colors);

// "#,##0": groups of three digits separated by commas, at least one digit.
std::string FormatCount(int64_t value);

}  // namespace display
