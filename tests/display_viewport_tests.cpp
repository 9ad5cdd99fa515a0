// SPDX-License-Identifier: MIT
// The view of the board: zoom levels, moving over the torus, the cell under
// a pixel and a selection's rectangle, and the pictures of each view.

#include <gtest/gtest.h>

#include <random>

#include "display/board_renderer.h"
#include "display/viewport.h"

namespace {

using display::CellPosition;
using display::PixelImage;
using display::PixelRect;
using display::Viewport;

constexpr int kPixels = 480;

engine::Board MakeBoard(int32_t side) {
    engine::Board b;
    b.GridMax = side - 1;
    b.Cells.assign(static_cast<std::size_t>(side) * side, {});
    return b;
}

void SetLive(engine::Board& b, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t bl) {
    engine::CellRecord& c = b.cell(x, y);
    c.State = 1, c.Red = r, c.Green = g, c.Blue = bl;
}

// Zooming in from the whole board goes to the first power of two above it,
// keeps the board under the pointer in place and stops at 64 pixels; out
// comes back to the whole board once the board would fit.
TEST(Viewport, ZoomLevelsKeepThePointedCellAndEndAtTheWholeBoard) {
    Viewport v;
    const int32_t side = 200;  // 2.4 pixels a cell
    const auto before = v.cellAt(100, 300, side, kPixels);
    ASSERT_TRUE(v.zoom(1, 100, 300, side, kPixels));
    EXPECT_EQ(v.shift(), 2);
    EXPECT_EQ(v.cellAt(100, 300, side, kPixels), before);
    EXPECT_TRUE(v.zoom(10, 100, 300, side, kPixels));
    EXPECT_EQ(v.shift(), Viewport::kMaxShift);
    EXPECT_EQ(v.cellAt(100, 300, side, kPixels), before);
    EXPECT_FALSE(v.zoom(1, 0, 0, side, kPixels));
    EXPECT_TRUE(v.zoom(-4, 100, 300, side, kPixels));  // 4 pixels a cell: 800 pixels of board
    EXPECT_TRUE(v.zoom(-1, 100, 300, side, kPixels));  // 2 a cell would fit: the whole board again
    EXPECT_TRUE(v.wholeBoard());
    EXPECT_FALSE(v.zoom(-1, 0, 0, side, kPixels));

    // A board of 2048 below one pixel a cell: 1/2, then 1/4 (still larger than the picture).
    Viewport big;
    ASSERT_TRUE(big.zoom(1, 0, 0, 2048, kPixels));
    EXPECT_DOUBLE_EQ(big.cellPixels(2048, kPixels), 0.25);
    ASSERT_TRUE(big.zoom(-1, 0, 0, 2048, kPixels));
    EXPECT_TRUE(big.wholeBoard());
}

// Moving past an edge shows the other side; the cell under a pixel follows,
// wrapped, also where the picture's edge cuts a cell.
TEST(Viewport, MovingWrapsAroundTheTorus) {
    const int32_t side = 100;
    Viewport v;
    v.actualSize(side, kPixels);  // one cell a pixel, centred: the board shown 4.8 times
    EXPECT_EQ(v.shift(), 0);
    EXPECT_EQ(v.cellAt(240, 240, side, kPixels), (CellPosition{50, 50}));
    Viewport moved;
    moved.panFrom(v, 60, -30, side, kPixels);  // the board right 60 and up 30 pixels
    EXPECT_EQ(moved.cellAt(240, 240, side, kPixels), (CellPosition{90, 80}));
    EXPECT_EQ(moved.cellAt(0, 0, side, kPixels), moved.cellAt(100, 100, side, kPixels));
    EXPECT_FALSE(moved.cellAt(0, kPixels, side, kPixels));

    // 8 pixels a cell, moved 3 pixels: cells cut at the picture's edge.
    Viewport zoomed;
    zoomed.zoom(1, 0, 0, side, kPixels);
    ASSERT_EQ(zoomed.shift(), 3);
    Viewport cut;
    cut.panFrom(zoomed, 3, 0, side, kPixels);
    EXPECT_EQ(cut.cellAt(2, 0, side, kPixels)->x, 99);
    EXPECT_EQ(cut.cellAt(3, 0, side, kPixels)->x, zoomed.cellAt(0, 0, side, kPixels)->x);
}

// A selection's outline: today's cell rectangles on the whole board, the
// zoomed cells elsewhere, the copy that reaches into the picture across the
// seam, and nothing for one out of sight.
TEST(Viewport, SelectionRectanglesFollowTheView) {
    const int32_t side = 50;
    Viewport whole;
    EXPECT_EQ(whole.cellsRect(2, 3, 10, 49, side, kPixels), display::CellsPixelRect(2, 3, 10, 49, side, kPixels, kPixels));
    Viewport zoomed;
    zoomed.zoom(1, 0, 0, side, kPixels);  // 16 pixels a cell from cell (0, 0)
    ASSERT_EQ(zoomed.shift(), 4);
    EXPECT_EQ(zoomed.cellsRect(1, 2, 3, 2, side, kPixels), (PixelRect{16, 32, 64, 48}));
    Viewport seam;
    seam.panFrom(zoomed, 32, 0, side, kPixels);  // cells 48 and 49 at the left
    EXPECT_EQ(seam.cellsRect(48, 0, 49, 0, side, kPixels), (PixelRect{0, 0, 32, 16}));
    EXPECT_EQ(seam.cellsRect(40, 0, 49, 0, side, kPixels), (PixelRect{-1, 0, 32, 16}));  // clipped at the edge
    EXPECT_EQ(seam.cellsRect(0, 0, 49, 0, side, kPixels), (PixelRect{32, 0, kPixels + 1, 16}));
}

// The pictures: the whole board is RenderBoard's to the pixel; a zoomed
// view fills whole cells with grid lines from 8 pixels; below one pixel a
// cell each pixel is the mean of its live cells.
TEST(Viewport, PicturesOfEachView) {
    engine::Board b = MakeBoard(60);
    SetLive(b, 0, 0, 200, 0, 0);
    SetLive(b, 59, 30, 0, 100, 0);
    SetLive(b, 7, 9, 0, 0, 255);
    PixelImage expected, image;
    expected.resize(kPixels, kPixels), image.resize(kPixels, kPixels);
    display::RenderBoard(b, expected, {});
    display::RenderView(b, image, {});
    EXPECT_EQ(image.pixels, expected.pixels);
    EXPECT_TRUE(display::PaintedByChanges({}, false, 60, kPixels));
    EXPECT_FALSE(display::PaintedByChanges({}, true, 60, kPixels));  // 8 pixels a cell: grid lines
    EXPECT_TRUE(display::PaintedByChanges({}, true, 61, kPixels));

    display::ViewLook look;
    look.raised = false, look.grid = true;
    look.view.zoom(1, 0, 0, 60, kPixels);  // 16 pixels a cell from (0, 0)
    ASSERT_EQ(look.view.shift(), 4);
    display::RenderView(b, image, look);
    EXPECT_EQ(image.at(5, 5), 0xFF000000u | display::rgb(200, 0, 0));
    EXPECT_EQ(image.at(0, 5), 0xFF404040u);    // grid line
    EXPECT_EQ(image.at(7 * 16 + 8, 9 * 16 + 8), 0xFF0000FFu);

    // 1,024 cells, 4 a pixel at 256 pixels: one live cell in a pixel keeps
    // its colour, two are averaged, none is black.
    engine::Board big = MakeBoard(1024);
    SetLive(big, 0, 0, 200, 0, 0);
    SetLive(big, 8, 0, 100, 50, 0);
    SetLive(big, 9, 3, 0, 150, 0);
    PixelImage small;
    small.resize(256, 256);
    display::RenderView(big, small, {});
    EXPECT_EQ(small.at(0, 0), 0xFF000000u | display::rgb(200, 0, 0));
    EXPECT_EQ(small.at(2, 0), 0xFF000000u | display::rgb(50, 100, 0));
    EXPECT_EQ(small.at(1, 0), 0xFF000000u);
}

// Below one pixel a cell, each pixel is the mean of its live cells' colours
// (rounded), black without any: pixel by pixel against a plain sum over a
// random board, for the whole board and for a view moved across the wrap.
TEST(Viewport, DownsampledPixelsAreTheMeansOfTheirCells) {
    static constexpr int32_t side = 300;
    engine::Board b = MakeBoard(side);
    std::mt19937 rng(5);
    for (engine::CellRecord& c : b.Cells)
        if (rng() % 3 == 0) c = {1, static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng())};
    // Pictures of a multiple of four pixels a side, and not.
    for (const int pixels : {128, 131}) {
    SCOPED_TRACE(pixels);
    // columnsOf(p), rowsOf(p): the board columns (rows) shown in picture column (row) p.
    const auto check = [&](const display::Viewport& view, const auto& columnsOf, const auto& rowsOf) {
        PixelImage image;
        image.resize(pixels, pixels);
        display::ViewLook look;
        look.view = view;
        display::RenderView(b, image, look);
        for (int px = 0; px < pixels; ++px)
            for (int py = 0; py < pixels; ++py) {
                int live = 0, sum[3] = {0, 0, 0};
                for (int32_t x : columnsOf(px))
                    for (int32_t y : rowsOf(py))
                        if (const engine::CellRecord& c = b.cell(x, y); c.State) ++live, sum[0] += c.Red, sum[1] += c.Green, sum[2] += c.Blue;
                const auto mean = [&](int k) { return static_cast<int>(static_cast<float>(sum[k]) * (1.0f / live) + 0.5f); };
                const uint32_t expected = live ? 0xFF000000u | display::rgb(mean(0), mean(1), mean(2)) : 0xFF000000u;
                ASSERT_EQ(image.at(px, py), expected) << "pixel " << px << ", " << py;
            }
    };
    const auto whole = [pixels](int p) {
        std::vector<int32_t> cells;
        for (int32_t k = 0; k < side; ++k)
            if (k * pixels / side == p) cells.push_back(k);
        return cells;
    };
    check(display::Viewport{}, whole, whole);
    display::Viewport half;
    ASSERT_TRUE(half.zoom(1, 0, 0, side, pixels));  // half a pixel a cell
    ASSERT_EQ(half.shift(), -1);
    display::Viewport moved;
    moved.panFrom(half, 50, 70, side, pixels);  // the board's far edges come into view
    const auto from = [pixels](int64_t origin) {
        const auto first = static_cast<int32_t>(origin / display::Viewport::kSubCell);
        EXPECT_GT(first + 2 * pixels, side);  // the view wraps
        return [first](int p) { return std::vector<int32_t>{(first + 2 * p) % side, (first + 2 * p + 1) % side}; };
    };
    check(moved, from(moved.left()), from(moved.top()));
    }
}

}  // namespace
