#include <gtest/gtest.h>

#include "patterns/board_tools.h"
#include "patterns_test_support.h"

using engine::Board;
using engine::CellRecord;
using patterns::CellRect;

namespace {

Board Empty(int32_t gridMax) {
    Board b;
    b.create(gridMax);
    return b;
}

}  // namespace

TEST(StartingColour, DiagonalOrderLargestColumnFirst) {
    struct Case {
        const char* name;
        CellRect sel;
        std::vector<std::pair<int, int>> live;  // each gets red = x, green = y, blue = 9
        std::optional<int32_t> expected;
    };
    auto colour = [](int x, int y) { return x | (y << 8) | (9 << 16); };
    const std::vector<Case> cases = {
        {"anti-diagonal: (12,10) comes first", {10, 10, 12, 12}, {{10, 12}, {11, 11}, {12, 10}}, colour(12, 10)},
        {"a smaller sum wins", {10, 10, 12, 12}, {{10, 12}, {11, 11}, {12, 10}, {11, 10}}, colour(11, 10)},
        {"top-left corner first of all", {10, 10, 12, 12}, {{10, 10}, {11, 10}}, colour(10, 10)},
        {"one column, bottom cell", {4, 3, 4, 9}, {{4, 9}}, colour(4, 9)},
        {"one row, last cell", {2, 5, 8, 5}, {{8, 5}}, colour(8, 5)},
        {"live cells outside do not count", {10, 10, 12, 12}, {{9, 10}, {13, 13}, {12, 12}}, colour(12, 12)},
        {"no live cell", {10, 10, 12, 12}, {{9, 9}}, std::nullopt},
        {"no selection", {-1, 0, 3, 3}, {{0, 0}}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Board b = Empty(49);
        for (auto [x, y] : c.live) b.cell(x, y) = {1, x, y, 9};
        EXPECT_EQ(patterns::StartingColour(b, c.sel), c.expected);
        EXPECT_EQ(patterns::HasLiveCell(b, c.sel), c.expected.has_value());
    }
}

TEST(StartingColour, AnyNonZeroStateIsLive) {
    Board b = Empty(49);
    b.cell(3, 3) = {2, 1, 2, 3};
    EXPECT_TRUE(patterns::HasLiveCell(b, {0, 0, 5, 5}));
    EXPECT_EQ(patterns::StartingColour(b, {0, 0, 5, 5}), 0x030201);
}

TEST(Recolour, PureRedOnLiveCellsOfTheSelectionOnly) {
    Board b = patterns_test::NoisyBoard(49, 11);
    const Board before = b;
    const CellRect sel{5, 6, 20, 9};
    patterns::Recolour(b, sel, 255);
    for (int32_t x = 0; x <= 49; ++x)
        for (int32_t y = 0; y <= 49; ++y) {
            const bool in = x >= sel.left && x <= sel.right && y >= sel.top && y <= sel.bottom;
            if (in && before.cell(x, y).live())
                ASSERT_EQ(b.cell(x, y), (CellRecord{before.cell(x, y).State, 255, 0, 0}));
            else
                ASSERT_EQ(b.cell(x, y), before.cell(x, y));
        }
    patterns::Recolour(b, sel, 0x123456);
    EXPECT_EQ(patterns::StartingColour(b, sel), 0x123456);
    EXPECT_EQ(patterns::ColourValue({1, 0x56, 0x34, 0x12}), 0x123456);
}

TEST(ClearBoard, EmptiesEverythingAndRestartsTheCount) {
    Board b = patterns_test::NoisyBoard(59, 1);
    b.Generation = 77;
    b.Modified = false;
    patterns::ClearBoard(b);
    EXPECT_EQ(b.Generation, 1);
    EXPECT_FALSE(b.Modified);
    for (const CellRecord& c : b.Cells) ASSERT_EQ(c, CellRecord{});
}

TEST(ResizeBoard, ReduceThenEnlargeLosesTheOuterBand) {
    Board b = Empty(49);
    b.cell(49, 49) = {1, 1, 2, 3};
    b.cell(39, 39) = {1, 4, 5, 6};
    b.cell(0, 39) = {1, 7, 8, 9};
    b.cell(39, 0) = {1, 10, 11, 12};
    b.Generation = 5;
    b.Modified = true;
    std::vector<CellRecord> copy;
    patterns::ResizeBoard(b, 39, copy);
    EXPECT_EQ(copy.size(), 2500u);
    EXPECT_EQ(b.GridMax, 39);
    EXPECT_EQ(b.Cells.size(), 1600u);
    EXPECT_EQ(b.Tally.size(), 1600u);
    EXPECT_EQ(b.countLive(), 3);
    patterns::ResizeBoard(b, 49, copy);
    EXPECT_EQ(copy.size(), 1600u);
    EXPECT_EQ(b.GridMax, 49);
    EXPECT_EQ(b.countLive(), 3);
    EXPECT_EQ(b.cell(49, 49), CellRecord{});
    EXPECT_EQ(b.cell(39, 39), (CellRecord{1, 4, 5, 6}));
    EXPECT_EQ(b.cell(0, 39), (CellRecord{1, 7, 8, 9}));
    EXPECT_EQ(b.cell(39, 0), (CellRecord{1, 10, 11, 12}));
    EXPECT_EQ(b.Generation, 5);
    EXPECT_TRUE(b.Modified);
}

// Every kept cell stays at its place on every size from 10 to 200, every new
// cell is all zero, the work board is all zero too.
TEST(ResizeBoard, KeepsTheTopLeftPartAtEverySize) {
    const Board original = patterns_test::NoisyBoard(49, 21);
    Board b = original;
    std::vector<CellRecord> copy;
    for (int32_t g = 59; g <= 199; g += 10) patterns::ResizeBoard(b, g, copy);
    ASSERT_EQ(b.GridMax, 199);
    for (int32_t x = 0; x <= 199; ++x)
        for (int32_t y = 0; y <= 199; ++y)
            ASSERT_EQ(b.cell(x, y), x <= 49 && y <= 49 ? original.cell(x, y) : CellRecord{});
    for (const CellRecord& t : b.Tally) ASSERT_EQ(t, CellRecord{});
    for (int32_t g = 189; g >= 9; g -= 10) patterns::ResizeBoard(b, g, copy);
    ASSERT_EQ(b.GridMax, 9);
    for (int32_t x = 0; x <= 9; ++x)
        for (int32_t y = 0; y <= 9; ++y) ASSERT_EQ(b.cell(x, y), original.cell(x, y));
}
