#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/texts.h"
#include "patterns/builtin_patterns.h"
#include "patterns_test_support.h"

using engine::CellRecord;
using patterns::CellRect;

namespace {

// The pictures as the user sees them, typed here independently of the
// program's own table: row 0 on top, 'O' live.
struct Picture {
    const char* name;
    int liveCells;
    std::vector<std::string> rows;
};

const std::vector<Picture>& Pictures() {
    static const std::vector<Picture> pictures = {
        {"r-Pentomino", 5, {".O.", "OOO", "..O"}},
        {"Glider", 5, {".O.", "..O", "OOO"}},
        {"Glider gun",
         45,
         {".........................O..........", "......................OOOO....O.....",
          ".............O.......OOOO.....O.....", "............O.O......O..O.........OO",
          "...........O...OO....OOOO.........OO", "OO.........O...OO.....OOOO..........",
          "OO.........O...OO........O..........", "............O.O.....................",
          ".............O......................"}},
        {"Queen bee",
         27,
         {".........O............", ".........OO...........", "OO..OO....OO........OO", "OO..OO....OOO.......OO",
          "....OO....OO..........", ".........OO...........", ".........O............"}},
        {"Spiral",
         48,
         {"OO.OOOOOO", "OO.OOOOOO", "OO.......", "OO.....OO", "OO.....OO", "OO.....OO", ".......OO", "OOOOOO.OO",
          "OOOOOO.OO"}},
    };
    return pictures;
}

const CellRecord kMarker{1, 7, 7, 7};
const CellRecord kColour{1, 200, 30, 140};

}  // namespace

// Each picture, stamped on a board full of marker cells, writes its whole box
// cell for cell and nothing else; the menu names match the pictures.
TEST(BuiltinPatterns, EveryPictureIsStampedCellForCell) {
    ASSERT_EQ(static_cast<int>(Pictures().size()), patterns::kBuiltinPatternCount);
    for (int i = 0; i < patterns::kBuiltinPatternCount; ++i) {
        const Picture& expected = Pictures()[static_cast<std::size_t>(i)];
        SCOPED_TRACE(expected.name);
        const patterns::BuiltinPattern& p = patterns::Builtin(i);
        EXPECT_EQ(p.name, expected.name);
        EXPECT_EQ(std::string(texts::kBuiltinPatternNames[i]), expected.name);
        const int h = static_cast<int>(expected.rows.size());
        const int w = static_cast<int>(expected.rows[0].size());
        ASSERT_EQ(p.width, w);
        ASSERT_EQ(p.height, h);

        engine::Board b = patterns_test::FullBoard(49, kMarker);
        const int left = 3, top = 4;
        const CellRect box = patterns::StampPattern(b, p, left, top, kColour);
        EXPECT_EQ(box, (CellRect{left, top, left + w - 1, top + h - 1}));

        int live = 0;
        for (int x = 0; x <= 49; ++x) {
            for (int y = 0; y <= 49; ++y) {
                const int dx = x - left, dy = y - top;
                const bool inBox = dx >= 0 && dy >= 0 && dx < w && dy < h;
                CellRecord want = kMarker;
                if (inBox) want = expected.rows[dy][dx] == 'O' ? kColour : CellRecord{};
                ASSERT_EQ(b.cell(x, y), want) << "cell (" << x << ", " << y << ")";
                live += inBox && b.cell(x, y).live();
            }
        }
        EXPECT_EQ(live, expected.liveCells);
    }
}

// An r-Pentomino anchored at (48, 48) writes only the four cells on the board.
TEST(BuiltinPatterns, RPentominoAtTheCornerIsCutOff) {
    engine::Board b = patterns_test::FullBoard(49, kMarker);
    CellRect sel = patterns::StampPattern(b, patterns::Builtin(0), 48, 48, kColour);
    EXPECT_EQ(sel, (CellRect{48, 48, 50, 50}));
    patterns::ClampToBoard(sel, b.GridMax);
    EXPECT_EQ(sel, (CellRect{48, 48, 49, 49}));
    EXPECT_EQ(b.cell(48, 48), CellRecord{});
    EXPECT_EQ(b.cell(49, 48), kColour);
    EXPECT_EQ(b.cell(48, 49), kColour);
    EXPECT_EQ(b.cell(49, 49), kColour);
    // Nothing wrapped to the opposite edges.
    for (int i = 0; i <= 49; ++i) {
        EXPECT_EQ(b.cell(0, i), kMarker);
        EXPECT_EQ(b.cell(i, 0), kMarker);
    }
    EXPECT_EQ(b.countLive(), 50 * 50 - 1);
}

// The glider gun anchored at (30, 45) keeps its columns 0..19 and rows 0..4.
TEST(BuiltinPatterns, GliderGunNearTheCornerKeepsWhatFits) {
    const Picture& gun = Pictures()[2];
    engine::Board empty;
    empty.create(49);
    engine::Board marked = patterns_test::FullBoard(49, kMarker);
    for (engine::Board* b : {&empty, &marked}) {
        const CellRecord outside = b == &empty ? CellRecord{} : kMarker;
        CellRect sel = patterns::StampPattern(*b, patterns::Builtin(2), 30, 45, kColour);
        patterns::ClampToBoard(sel, b->GridMax);
        EXPECT_EQ(sel, (CellRect{30, 45, 49, 49}));
        for (int x = 0; x <= 49; ++x)
            for (int y = 0; y <= 49; ++y) {
                CellRecord want = outside;
                if (x >= 30 && y >= 45) want = gun.rows[y - 45][x - 30] == 'O' ? kColour : CellRecord{};
                ASSERT_EQ(b->cell(x, y), want) << "cell (" << x << ", " << y << ")";
            }
    }
    // The part that fits holds exactly the live cells of the picture's first
    // five rows and twenty columns.
    int expected = 0;
    for (int dy = 0; dy < 5; ++dy)
        for (int dx = 0; dx < 20; ++dx) expected += gun.rows[dy][dx] == 'O';
    EXPECT_EQ(empty.countLive(), expected);
}

// A pattern on the smallest board, and anchors off the board's far side,
// never write outside the board.
TEST(BuiltinPatterns, AnchorsOffTheBoardWriteNothingOutside) {
    engine::Board b = patterns_test::FullBoard(9, kMarker);
    patterns::StampPattern(b, patterns::Builtin(2), 9, 9, kColour);  // only the gun's (0,0): dead
    EXPECT_EQ(b.cell(9, 9), CellRecord{});
    EXPECT_EQ(b.countLive(), 99);
    engine::Board c = patterns_test::FullBoard(9, kMarker);
    patterns::StampPattern(c, patterns::Builtin(4), -20, -20, kColour);
    patterns::StampPattern(c, patterns::Builtin(4), 10, 0, kColour);
    EXPECT_EQ(c.countLive(), 100);
}

TEST(BuiltinPatterns, IndexOutsideTheTableIsRefused) {
    EXPECT_THROW(patterns::Builtin(5), std::out_of_range);
    EXPECT_THROW(patterns::Builtin(-1), std::out_of_range);
}
