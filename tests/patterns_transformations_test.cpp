#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "patterns/transformations.h"
#include "patterns_test_support.h"

using engine::Board;
using engine::CellRecord;
using patterns::CellRect;

namespace {

CellRecord Live(int tag) { return {1, tag, 100 + tag, 200}; }

// Random rectangles that lie on a board of `gridMax`.
CellRect RandomRect(engine::RandomSequence& r, int32_t gridMax) {
    auto pick = [&] { return static_cast<int32_t>(r.next() * static_cast<float>(gridMax + 1)); };
    return patterns::Ordered({pick(), pick(), pick(), pick()});
}

}  // namespace

TEST(Mirror, LeftRightExampleAndItsUndo) {
    Board b;
    b.create(49);
    const CellRect sel{10, 3, 14, 3};  // five wide
    for (int dx : {0, 1, 3}) b.cell(10 + dx, 3) = Live(dx);
    const Board before = b;
    ASSERT_TRUE(patterns::MirrorLeftRight(b, sel));
    std::set<int> live;
    for (int dx = 0; dx < 5; ++dx)
        if (b.cell(10 + dx, 3).live()) live.insert(dx);
    EXPECT_EQ(live, (std::set<int>{1, 3, 4}));
    EXPECT_EQ(b.cell(14, 3), Live(0));  // colours travel with the cells
    EXPECT_EQ(b.cell(13, 3), Live(1));
    EXPECT_EQ(b.cell(11, 3), Live(3));
    patterns::MirrorLeftRight(b, sel);
    EXPECT_EQ(b.Cells, before.Cells);
}

// Mirrors move whole records and stay inside the selection; twice restores
// any board; a selection one cell across the mirrored axis is left alone.
TEST(Mirror, TwiceRestoresAnyBoard) {
    engine::RandomSequence r(42);
    for (int32_t gridMax : {9, 49, 199}) {
        for (int round = 0; round < 40; ++round) {
            const Board original = patterns_test::NoisyBoard(gridMax, 100 + round);
            const CellRect sel = RandomRect(r, gridMax);
            SCOPED_TRACE(testing::Message() << "board " << gridMax << " sel (" << sel.left << "," << sel.top
                                            << ")-(" << sel.right << "," << sel.bottom << ")");
            Board b = original;
            patterns::MirrorLeftRight(b, sel);
            for (int32_t x = 0; x <= gridMax; ++x)
                for (int32_t y = 0; y <= gridMax; ++y) {
                    const bool in = x >= sel.left && x <= sel.right && y >= sel.top && y <= sel.bottom;
                    const int32_t fromX = in ? sel.left + sel.right - x : x;
                    ASSERT_EQ(b.cell(x, y), original.cell(fromX, y));
                }
            patterns::MirrorLeftRight(b, sel);
            ASSERT_EQ(b.Cells, original.Cells);

            patterns::MirrorTopBottom(b, sel);
            for (int32_t x = 0; x <= gridMax; ++x)
                for (int32_t y = 0; y <= gridMax; ++y) {
                    const bool in = x >= sel.left && x <= sel.right && y >= sel.top && y <= sel.bottom;
                    const int32_t fromY = in ? sel.top + sel.bottom - y : y;
                    ASSERT_EQ(b.cell(x, y), original.cell(x, fromY));
                }
            patterns::MirrorTopBottom(b, sel);
            ASSERT_EQ(b.Cells, original.Cells);
        }
    }
}

TEST(Mirror, ThinSelectionsAreUnchanged) {
    const Board original = patterns_test::NoisyBoard(49, 5);
    Board b = original;
    patterns::MirrorLeftRight(b, {7, 2, 7, 30});
    patterns::MirrorTopBottom(b, {2, 7, 30, 7});
    for (int i = 0; i < 4; ++i) {
        CellRect one{12, 12, 12, 12};
        patterns::RotateClockwise(b, one);
        EXPECT_EQ(one, (CellRect{12, 12, 12, 12}));
    }
    EXPECT_EQ(b.Cells, original.Cells);
}

TEST(Rotate, ThreeByTwoExample) {
    Board b;
    b.create(49);
    b.cell(10, 20) = Live(1);
    b.cell(12, 20) = Live(2);
    b.cell(10, 21) = Live(3);
    b.cell(12, 21) = Live(4);
    CellRect sel{10, 20, 12, 21};
    ASSERT_TRUE(patterns::RotateClockwise(b, sel));
    EXPECT_EQ(sel, (CellRect{10, 20, 11, 22}));
    EXPECT_EQ(b.cell(11, 20), Live(1));
    EXPECT_EQ(b.cell(11, 22), Live(2));
    EXPECT_EQ(b.cell(10, 20), Live(3));
    EXPECT_EQ(b.cell(10, 22), Live(4));
    EXPECT_EQ(b.cell(12, 20), CellRecord{});
    EXPECT_EQ(b.cell(12, 21), CellRecord{});
    EXPECT_EQ(b.countLive(), 4);
}

// Against the plain description: every record of the block lands on
// (left + h - 1 - dy, top + dx), the rest of the old block is cleared, and
// every other cell is untouched. Random blocks anywhere, edges included.
TEST(Rotate, MovesEveryRecordToItsTurnedPlace) {
    engine::RandomSequence r(7);
    for (int32_t gridMax : {9, 49}) {
        for (int round = 0; round < 60; ++round) {
            const Board original = patterns_test::NoisyBoard(gridMax, 300 + round);
            const CellRect sel = RandomRect(r, gridMax);
            Board b = original;
            CellRect after = sel;
            ASSERT_TRUE(patterns::RotateClockwise(b, after));
            const int32_t w = sel.width(), h = sel.height();
            EXPECT_EQ(after, (CellRect{sel.left, sel.top, std::min(sel.left + h - 1, gridMax),
                                       std::min(sel.top + w - 1, gridMax)}));
            Board want = original;
            for (int32_t x = sel.left; x <= sel.right; ++x)
                for (int32_t y = sel.top; y <= sel.bottom; ++y) want.cell(x, y) = {};
            for (int32_t dx = 0; dx < w; ++dx)
                for (int32_t dy = 0; dy < h; ++dy) {
                    const int32_t x = sel.left + h - 1 - dy, y = sel.top + dx;
                    if (x <= gridMax && y <= gridMax) want.cell(x, y) = original.cell(sel.left + dx, sel.top + dy);
                }
            ASSERT_EQ(b.Cells, want.Cells) << "round " << round;
        }
    }
}

TEST(Rotate, FourTurnsOfASquareRestoreTheBoard) {
    engine::RandomSequence r(9);
    for (int round = 0; round < 30; ++round) {
        const Board original = patterns_test::NoisyBoard(49, 500 + round);
        CellRect sel = RandomRect(r, 49);
        const int32_t side = std::min(sel.width(), sel.height());
        sel.right = sel.left + side - 1;
        sel.bottom = sel.top + side - 1;
        Board b = original;
        CellRect s = sel;
        for (int turn = 0; turn < 4; ++turn) patterns::RotateClockwise(b, s);
        EXPECT_EQ(s, sel);
        ASSERT_EQ(b.Cells, original.Cells);
    }
}

// A w x h block clear of the edges comes back after four turns; the cells the
// turned footprints covered outside it are left all zero.
TEST(Rotate, FourTurnsOfAnOblongRestoreItAndClearTheFootprint) {
    const Board original = patterns_test::NoisyBoard(49, 77);
    const CellRect sel{10, 12, 16, 14};  // 7 x 3
    Board b = original;
    CellRect s = sel;
    for (int turn = 0; turn < 4; ++turn) patterns::RotateClockwise(b, s);
    EXPECT_EQ(s, sel);
    const CellRect tall{10, 12, 12, 18};  // the footprint of the odd turns
    for (int32_t x = 0; x <= 49; ++x)
        for (int32_t y = 0; y <= 49; ++y) {
            const bool inSel = x >= sel.left && x <= sel.right && y >= sel.top && y <= sel.bottom;
            const bool inTall = x >= tall.left && x <= tall.right && y >= tall.top && y <= tall.bottom;
            if (inSel)
                ASSERT_EQ(b.cell(x, y), original.cell(x, y));
            else if (inTall)
                ASSERT_EQ(b.cell(x, y), CellRecord{});
            else
                ASSERT_EQ(b.cell(x, y), original.cell(x, y));
        }
}

TEST(Rotate, BarsAtTheEdgesLoseWhatFallsOff) {
    {  // vertical 1 x 3 at the right edge turns into a horizontal bar that fits
        Board b;
        b.create(49);
        for (int y = 5; y <= 7; ++y) b.cell(47, y) = Live(y);
        CellRect sel{47, 5, 47, 7};
        patterns::RotateClockwise(b, sel);
        EXPECT_EQ(sel, (CellRect{47, 5, 49, 5}));
        EXPECT_EQ(b.cell(47, 5), Live(7));
        EXPECT_EQ(b.cell(48, 5), Live(6));
        EXPECT_EQ(b.cell(49, 5), Live(5));
        EXPECT_EQ(b.countLive(), 3);
    }
    {  // horizontal 3 x 1 at the bottom keeps its first two cells
        Board b;
        b.create(49);
        for (int x = 5; x <= 7; ++x) b.cell(x, 48) = Live(x);
        CellRect sel{5, 48, 7, 48};
        patterns::RotateClockwise(b, sel);
        EXPECT_EQ(sel, (CellRect{5, 48, 5, 49}));
        EXPECT_EQ(b.cell(5, 48), Live(5));
        EXPECT_EQ(b.cell(5, 49), Live(6));
        EXPECT_EQ(b.countLive(), 2);
    }
    {  // vertical 1 x 5: the three bottom cells survive, turning back loses more
        Board b;
        b.create(49);
        for (int y = 5; y <= 9; ++y) b.cell(47, y) = Live(y);
        CellRect sel{47, 5, 47, 9};
        patterns::RotateClockwise(b, sel);
        EXPECT_EQ(sel, (CellRect{47, 5, 49, 5}));
        EXPECT_EQ(b.cell(47, 5), Live(9));
        EXPECT_EQ(b.cell(48, 5), Live(8));
        EXPECT_EQ(b.cell(49, 5), Live(7));
        EXPECT_EQ(b.countLive(), 3);
        for (int turn = 0; turn < 3; ++turn) patterns::RotateClockwise(b, sel);
        EXPECT_LT(b.countLive(), 5);
        EXPECT_FALSE(b.cell(47, 5).live() && b.cell(47, 6).live() && b.cell(47, 7).live() &&
                     b.cell(47, 8).live() && b.cell(47, 9).live());
    }
}

// Selections that are not on the board (none, or left over from a larger
// board) change nothing.
TEST(Transformations, RefuseRectanglesOffTheBoard) {
    const Board original = patterns_test::NoisyBoard(9, 3);
    for (CellRect bad : {CellRect{-1, 0, 5, 5}, CellRect{2, 2, 10, 5}, CellRect{2, 2, 5, 12}, CellRect{5, 5, 2, 2}}) {
        Board b = original;
        CellRect r = bad;
        EXPECT_FALSE(patterns::MirrorLeftRight(b, bad));
        EXPECT_FALSE(patterns::MirrorTopBottom(b, bad));
        EXPECT_FALSE(patterns::RotateClockwise(b, r));
        EXPECT_EQ(r, bad);
        EXPECT_EQ(b.Cells, original.Cells);
    }
}
