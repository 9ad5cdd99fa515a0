// SPDX-License-Identifier: MIT
// The built-in pictures, the selection transformations and the board tools
// (starting colour, recolouring, clearing, resizing), all without a window.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/random_sequence.h"
#include "patterns/board_tools.h"
#include "patterns/builtin_patterns.h"
#include "patterns/transformations.h"

using engine::Board;
using engine::CellRecord;
using patterns::CellRect;

namespace {

// A board with every cell set to `fill`.
Board FullBoard(int32_t gridMax, CellRecord fill = {}) {
    Board b;
    b.create(gridMax);
    std::fill(b.Cells.begin(), b.Cells.end(), fill);
    return b;
}

// About half the cells live, each record told apart from every other by its
// colour, dead ones with non-zero colour fields too, so every moved record
// can be traced.
Board NoisyBoard(int32_t gridMax, uint64_t seed) {
    Board b = FullBoard(gridMax);
    engine::RandomSequence r(seed);
    for (int32_t x = 0; x <= gridMax; ++x)
        for (int32_t y = 0; y <= gridMax; ++y)
            b.cell(x, y) = {r.next() < 0.5f ? 1 : 0, x + 1, y + 1, static_cast<int32_t>(r.next() * 255)};
    return b;
}

// The pictures as the user sees them: row 0 on top, 'O' live.
const std::vector<std::pair<const char*, std::vector<std::string>>> kPictures = {
    {"r-Pentomino", {".O.", "OOO", "..O"}},
    {"Glider", {".O.", "..O", "OOO"}},
    {"Glider gun",
     {".........................O..........", "......................OOOO....O.....",
      ".............O.......OOOO.....O.....", "............O.O......O..O.........OO",
      "...........O...OO....OOOO.........OO", "OO.........O...OO.....OOOO..........",
      "OO.........O...OO........O..........", "............O.O.....................",
      ".............O......................"}},
    {"Queen bee",
     {".........O............", ".........OO...........", "OO..OO....OO........OO", "OO..OO....OOO.......OO",
      "....OO....OO..........", ".........OO...........", ".........O............"}},
    {"Spiral",
     {"OO.OOOOOO", "OO.OOOOOO", "OO.......", "OO.....OO", "OO.....OO", "OO.....OO", ".......OO", "OOOOOO.OO",
      "OOOOOO.OO"}},
};

// Every picture, placed inside the board and across its edges: the cells of
// its box that lie on the board are the picture's (live ones in the one
// colour, dead ones all zero); every other cell keeps its marker, nothing
// wraps; the returned box may reach beyond the board.
TEST(BuiltinPatterns, EveryPictureIsStampedCellForCellAndCutAtTheEdges) {
    const CellRecord marker{1, 7, 7, 7}, colour{1, 200, 30, 140};
    ASSERT_EQ(kPictures.size(), static_cast<std::size_t>(patterns::kBuiltinPatternCount));
    for (int i = 0; i < patterns::kBuiltinPatternCount; ++i) {
        const auto& [name, rows] = kPictures[static_cast<std::size_t>(i)];
        EXPECT_EQ(patterns::Builtin(i).name, name);
        const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
        for (auto [gridMax, left, top] : {std::array{49, 3, 4}, {49, 48, 48}, {9, 9, 9}, {9, 3, -2}, {9, -4, 3}}) {
            Board b = FullBoard(gridMax, marker);
            const CellRect box = patterns::StampPattern(b, patterns::Builtin(i), left, top, colour);
            EXPECT_EQ(box, (CellRect{left, top, left + w - 1, top + h - 1}));
            for (int x = 0; x <= gridMax; ++x)
                for (int y = 0; y <= gridMax; ++y) {
                    const int dx = x - left, dy = y - top;
                    CellRecord want = marker;
                    if (dx >= 0 && dy >= 0 && dx < w && dy < h) want = rows[dy][dx] == 'O' ? colour : CellRecord{};
                    ASSERT_EQ(b.cell(x, y), want) << name << " at " << left << ", " << top << ": " << x << ", " << y;
                }
        }
    }
    EXPECT_THROW(patterns::Builtin(5), std::out_of_range);
}

// Against the plain description on random blocks, edges included: the block
// is lifted and every record of it lands on its mirrored (kind 0 left-right,
// 1 top-bottom) or turned (2) place unless that lies beyond the board; every
// other cell is untouched.
TEST(Transformations, MoveEveryRecordToItsPlace) {
    engine::RandomSequence r(7);
    for (int round = 0; round < 90; ++round) {
        const int kind = round % 3;
        const int32_t gridMax = round % 4 ? 49 : 9;
        const Board original = NoisyBoard(gridMax, 300 + round);
        auto pick = [&] { return static_cast<int32_t>(r.next() * static_cast<float>(gridMax + 1)); };
        CellRect sel = patterns::Ordered({pick(), pick(), pick(), pick()});
        const int32_t side = std::min(sel.width(), sel.height());
        if (round % 2 == 0) sel = {sel.left, sel.top, sel.left + side - 1, sel.top + side - 1};  // often a square
        const int32_t w = sel.width(), h = sel.height();
        Board b = original, want = original;
        CellRect after = sel;
        ASSERT_TRUE(kind == 0   ? patterns::MirrorLeftRight(b, after)
                    : kind == 1 ? patterns::MirrorTopBottom(b, after)
                                : patterns::RotateClockwise(b, after));
        for (int32_t x = sel.left; x <= sel.right; ++x)
            for (int32_t y = sel.top; y <= sel.bottom; ++y) want.cell(x, y) = {};
        for (int32_t dx = 0; dx < w; ++dx)
            for (int32_t dy = 0; dy < h; ++dy) {
                const int32_t x = kind == 0 ? sel.right - dx : kind == 1 ? sel.left + dx : sel.left + h - 1 - dy;
                const int32_t y = kind == 0 ? sel.top + dy : kind == 1 ? sel.bottom - dy : sel.top + dx;
                if (x <= gridMax && y <= gridMax) want.cell(x, y) = original.cell(sel.left + dx, sel.top + dy);
            }
        ASSERT_EQ(b.Cells, want.Cells) << "round " << round;
        const CellRect turned{sel.left, sel.top, std::min(sel.left + h - 1, gridMax), std::min(sel.top + w - 1, gridMax)};
        EXPECT_EQ(after, kind == 2 ? turned : sel);
    }
}

// The first live cell in diagonal order (by dx + dy, then the largest dx);
// any non-zero State is live; nothing without a live cell or a selection.
TEST(StartingColour, DiagonalOrderLargestColumnFirst) {
    auto colour = [](int x, int y) { return x | (y << 8) | (9 << 16); };
    const std::tuple<CellRect, std::vector<std::pair<int, int>>, std::optional<int32_t>> cases[] = {
        {{10, 10, 12, 12}, {{10, 12}, {11, 11}, {12, 10}}, colour(12, 10)},
        {{10, 10, 12, 12}, {{10, 12}, {11, 11}, {12, 10}, {11, 10}}, colour(11, 10)},
        {{10, 10, 12, 12}, {{9, 10}, {13, 13}, {12, 12}}, colour(12, 12)},
        {{10, 10, 12, 12}, {{9, 9}}, std::nullopt},
        {{-1, 0, 3, 3}, {{0, 0}}, std::nullopt},
    };
    for (const auto& [sel, live, expected] : cases) {
        Board b = FullBoard(49);
        for (auto [x, y] : live) b.cell(x, y) = {x == 12 && y == 12 ? 2 : 1, x, y, 9};
        EXPECT_EQ(patterns::StartingColour(b, sel), expected) << sel.left << ", " << live.size();
        EXPECT_EQ(patterns::HasLiveCell(b, sel), expected.has_value());
    }
}

// Reducing loses the outer band for good: after a reduction and enlargements
// only the cells of the smaller board are back. New cells and the work board
// are all zero; counters and Modified stay.
TEST(BoardTools, ResizeKeepsTheTopLeftPart) {
    const Board original = NoisyBoard(49, 21);
    Board b = original;
    b.Generation = 5;
    b.Modified = true;
    std::vector<CellRecord> copy;
    patterns::ResizeBoard(b, 39, copy);
    EXPECT_EQ(copy, original.Cells);
    for (int32_t g = 49; g <= 199; g += 10) patterns::ResizeBoard(b, g, copy);
    ASSERT_EQ(b.GridMax, 199);
    for (int32_t x = 0; x <= 199; ++x)
        for (int32_t y = 0; y <= 199; ++y)
            ASSERT_EQ(b.cell(x, y), x <= 39 && y <= 39 ? original.cell(x, y) : CellRecord{}) << x << ", " << y;
    EXPECT_EQ(b.Generation, 5);
    EXPECT_TRUE(b.Modified);
}

}  // namespace
