// The built-in pictures, the selection transformations and the board tools
// (starting colour, recolouring, clearing, resizing), all without a window.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/texts.h"
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

bool inside(const CellRect& r, int32_t x, int32_t y) { return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom; }

// The pictures as the user sees them: row 0 on top, 'O' live.
struct Picture {
    const char* name;
    int liveCells;
    std::vector<std::string> rows;
};

const std::vector<Picture> kPictures = {
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

const CellRecord kMarker{1, 7, 7, 7};
const CellRecord kColour{1, 200, 30, 140};

// Stamps picture `index` with its top-left cell on (left, top) of a board full
// of marker cells. Every cell of the box that lies on the board must be the
// picture's (live ones in the one colour, dead ones all zero); every other
// cell keeps its marker, nothing wraps. Returns the box cut at the board's edges.
CellRect stampAndCheck(int index, int32_t gridMax, int32_t left, int32_t top) {
    const Picture& picture = kPictures[static_cast<std::size_t>(index)];
    const int w = static_cast<int>(picture.rows[0].size()), h = static_cast<int>(picture.rows.size());
    Board b = FullBoard(gridMax, kMarker);
    CellRect box = patterns::StampPattern(b, patterns::Builtin(index), left, top, kColour);
    EXPECT_EQ(box, (CellRect{left, top, left + w - 1, top + h - 1}));
    for (int x = 0; x <= gridMax; ++x)
        for (int y = 0; y <= gridMax; ++y) {
            const int dx = x - left, dy = y - top;
            CellRecord want = kMarker;
            if (dx >= 0 && dy >= 0 && dx < w && dy < h) want = picture.rows[dy][dx] == 'O' ? kColour : CellRecord{};
            if (b.cell(x, y) != want) {
                ADD_FAILURE() << picture.name << " at (" << left << ", " << top << "): cell (" << x << ", " << y << ")";
                return box;
            }
        }
    box.right = std::min(box.right, gridMax);
    box.bottom = std::min(box.bottom, gridMax);
    return box;
}

CellRecord Live(int tag) { return {1, tag, 100 + tag, 200}; }

// Random rectangles that lie on a board of `gridMax`.
CellRect RandomRect(engine::RandomSequence& r, int32_t gridMax) {
    auto pick = [&] { return static_cast<int32_t>(r.next() * static_cast<float>(gridMax + 1)); };
    return patterns::Ordered({pick(), pick(), pick(), pick()});
}

using Placed = std::vector<std::pair<std::pair<int32_t, int32_t>, CellRecord>>;

// Mirror left-right (kind 0), mirror top-bottom (1) or turn (2).
bool transform(int kind, Board& b, CellRect& r) {
    if (kind == 2) return patterns::RotateClockwise(b, r);
    return kind == 0 ? patterns::MirrorLeftRight(b, r) : patterns::MirrorTopBottom(b, r);
}

}  // namespace

// ---- built-in pictures ---------------------------------------------------------

TEST(BuiltinPatterns, EveryPictureIsStampedCellForCell) {
    ASSERT_EQ(kPictures.size(), static_cast<std::size_t>(patterns::kBuiltinPatternCount));
    for (int i = 0; i < patterns::kBuiltinPatternCount; ++i) {
        const Picture& picture = kPictures[static_cast<std::size_t>(i)];
        EXPECT_EQ(patterns::Builtin(i).name, picture.name);
        EXPECT_EQ(std::string(texts::kBuiltinPatternNames[i]), picture.name);
        int live = 0;
        for (const std::string& row : picture.rows) live += static_cast<int>(std::count(row.begin(), row.end(), 'O'));
        EXPECT_EQ(live, picture.liveCells) << picture.name;
        stampAndCheck(i, 49, 3, 4);
    }
    EXPECT_THROW(patterns::Builtin(5), std::out_of_range);
    EXPECT_THROW(patterns::Builtin(-1), std::out_of_range);
}

// Near the far corner only what fits is written: the r-Pentomino at (48, 48)
// writes (48, 48) dead and three live cells, the glider gun at (30, 45) its
// columns 0..19 and rows 0..4. Nothing is written off the board, nor wraps.
TEST(BuiltinPatterns, PicturesAreCutOffAtTheBoardsEdges) {
    EXPECT_EQ(stampAndCheck(0, 49, 48, 48), (CellRect{48, 48, 49, 49}));
    EXPECT_EQ(stampAndCheck(2, 49, 30, 45), (CellRect{30, 45, 49, 49}));
    EXPECT_EQ(stampAndCheck(2, 9, 9, 9), (CellRect{9, 9, 9, 9}));
    stampAndCheck(4, 9, 3, -2);
    stampAndCheck(4, 9, -4, 3);
    stampAndCheck(4, 9, 10, 0);
}

// ---- transformations -----------------------------------------------------------

// The worked examples on the 50 x 50 board: the cells before, the command
// (see transform) applied `times` times, the whole board and the selection afterwards.
// Cells that would land beyond the board are lost.
TEST(Transformations, WorkedExamples) {
    const CellRecord a = Live(0), b = Live(1), c = Live(2), d = Live(3), e = Live(4);
    struct Case {
        const char* name;
        int kind, times;
        CellRect sel, after;
        Placed before, result;
    };
    const int leftRight = 0, rotate = 2;
    const Case cases[] = {
        {"mirror five wide, live at 0, 1 and 3", leftRight, 1, {10, 3, 14, 3}, {10, 3, 14, 3},
         {{{10, 3}, a}, {{11, 3}, b}, {{13, 3}, d}}, {{{14, 3}, a}, {{13, 3}, b}, {{11, 3}, d}}},
        {"rotate 3 x 2", rotate, 1, {10, 20, 12, 21}, {10, 20, 11, 22},
         {{{10, 20}, a}, {{12, 20}, b}, {{10, 21}, c}, {{12, 21}, d}},
         {{{11, 20}, a}, {{11, 22}, b}, {{10, 20}, c}, {{10, 22}, d}}},
        {"rotate a 1 x 3 bar at the right edge", rotate, 1, {47, 5, 47, 7}, {47, 5, 49, 5},
         {{{47, 5}, a}, {{47, 6}, b}, {{47, 7}, c}}, {{{49, 5}, a}, {{48, 5}, b}, {{47, 5}, c}}},
        {"rotate a 3 x 1 bar at the bottom", rotate, 1, {5, 48, 7, 48}, {5, 48, 5, 49},
         {{{5, 48}, a}, {{6, 48}, b}, {{7, 48}, c}}, {{{5, 48}, a}, {{5, 49}, b}}},
        {"rotate a 1 x 5 bar at the right edge", rotate, 1, {47, 5, 47, 9}, {47, 5, 49, 5},
         {{{47, 5}, a}, {{47, 6}, b}, {{47, 7}, c}, {{47, 8}, d}, {{47, 9}, e}},
         {{{49, 5}, c}, {{48, 5}, d}, {{47, 5}, e}}},
        {"turning it back brings nothing back", rotate, 4, {47, 5, 47, 9}, {47, 5, 47, 7},
         {{{47, 5}, a}, {{47, 6}, b}, {{47, 7}, c}, {{47, 8}, d}, {{47, 9}, e}},
         {{{47, 5}, c}, {{47, 6}, d}, {{47, 7}, e}}},
        // Four turns of a 7 x 3 block restore it, and clear what its turned footprint covered.
        {"four turns of an oblong", rotate, 4, {10, 12, 16, 14}, {10, 12, 16, 14},
         {{{10, 12}, a}, {{16, 14}, b}, {{13, 13}, c}, {{11, 17}, d}, {{12, 18}, e}, {{13, 18}, e}},
         {{{10, 12}, a}, {{16, 14}, b}, {{13, 13}, c}, {{13, 18}, e}}},
    };
    for (const Case& k : cases) {
        Board board = FullBoard(49), want = FullBoard(49);
        for (const auto& [p, cell] : k.before) board.cell(p.first, p.second) = cell;
        for (const auto& [p, cell] : k.result) want.cell(p.first, p.second) = cell;
        CellRect sel = k.sel;
        for (int i = 0; i < k.times; ++i) EXPECT_TRUE(transform(k.kind, board, sel)) << k.name;
        EXPECT_EQ(sel, k.after) << k.name;
        EXPECT_EQ(board.Cells, want.Cells) << k.name;
    }
}

// Against the plain description on random blocks, edges included: the block
// is lifted and every record of it lands on its mirrored or turned place
// unless that lies beyond the board; every other cell is untouched. Two
// mirrors restore any board, four turns a square one.
TEST(Transformations, MoveEveryRecordToItsPlace) {
    engine::RandomSequence r(7);
    for (int round = 0; round < 120; ++round) {
        const int kind = round % 3;
        const int32_t gridMax = round % 4 ? 49 : 9;
        const Board original = NoisyBoard(gridMax, 300 + round);
        CellRect sel = RandomRect(r, gridMax);
        if (round % 2 == 0) {  // often a square
            const int32_t side = std::min(sel.width(), sel.height());
            sel.right = sel.left + side - 1;
            sel.bottom = sel.top + side - 1;
        }
        const int32_t w = sel.width(), h = sel.height();
        Board b = original, want = original;
        CellRect after = sel;
        ASSERT_TRUE(transform(kind, b, after));
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
        if (kind == 2 && w != h) continue;
        for (int i = 1; i < (kind == 2 ? 4 : 2); ++i) transform(kind, b, after);
        EXPECT_EQ(after, sel);
        ASSERT_EQ(b.Cells, original.Cells) << "round " << round;
    }
}

// Selections that are not on the board (none, or left over from a larger
// board) are refused; one cell across the mirrored axis, or a single cell,
// is accepted and left as it is.
TEST(Transformations, OffTheBoardAndThinSelectionsChangeNothing) {
    const Board original = NoisyBoard(9, 3);
    for (CellRect bad : {CellRect{-1, 0, 5, 5}, {2, 2, 10, 5}, {2, 2, 5, 12}, {5, 5, 2, 2}}) {
        Board b = original;
        CellRect r = bad;
        EXPECT_FALSE(patterns::MirrorLeftRight(b, bad));
        EXPECT_FALSE(patterns::MirrorTopBottom(b, bad));
        EXPECT_FALSE(patterns::RotateClockwise(b, r));
        EXPECT_EQ(r, bad);
        EXPECT_EQ(b.Cells, original.Cells);
    }
    Board b = original;
    CellRect one{4, 4, 4, 4};
    EXPECT_TRUE(patterns::MirrorLeftRight(b, {7, 2, 7, 9}) && patterns::MirrorTopBottom(b, {2, 7, 9, 7}) &&
                patterns::MirrorLeftRight(b, one) && patterns::MirrorTopBottom(b, one) &&
                patterns::RotateClockwise(b, one));
    EXPECT_EQ(one, (CellRect{4, 4, 4, 4}));
    EXPECT_EQ(b.Cells, original.Cells);
}

// ---- board tools ---------------------------------------------------------------

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
        Board b = FullBoard(49);
        for (auto [x, y] : c.live) b.cell(x, y) = {1, x, y, 9};
        EXPECT_EQ(patterns::StartingColour(b, c.sel), c.expected) << c.name;
        EXPECT_EQ(patterns::HasLiveCell(b, c.sel), c.expected.has_value()) << c.name;
    }
    Board b = FullBoard(49);
    b.cell(3, 3) = {2, 1, 2, 3};  // any non-zero State is live
    EXPECT_EQ(patterns::StartingColour(b, {0, 0, 5, 5}), 0x030201);
}

TEST(Recolour, PureRedOnLiveCellsOfTheSelectionOnly) {
    Board b = NoisyBoard(49, 11);
    const Board before = b;
    const CellRect sel{5, 6, 20, 9};
    patterns::Recolour(b, sel, 255);
    for (int32_t x = 0; x <= 49; ++x)
        for (int32_t y = 0; y <= 49; ++y) {
            const CellRecord& old = before.cell(x, y);
            const bool in = inside(sel, x, y);
            ASSERT_EQ(b.cell(x, y), (in && old.live() ? CellRecord{old.State, 255, 0, 0} : old)) << x << ", " << y;
        }
    patterns::Recolour(b, sel, 0x123456);
    EXPECT_EQ(patterns::StartingColour(b, sel), 0x123456);
    EXPECT_EQ(patterns::ColourValue({1, 0x56, 0x34, 0x12}), 0x123456);
}

TEST(ClearBoard, EmptiesEverythingAndRestartsTheCount) {
    Board b = NoisyBoard(59, 1);
    b.Generation = 77;
    patterns::ClearBoard(b);
    EXPECT_EQ(b.Generation, 1);
    EXPECT_FALSE(b.Modified);
    EXPECT_EQ(b.Cells, FullBoard(59).Cells);
}

// Reducing loses the outer band for good: (49, 49) is gone after a reduction
// and an enlargement, (39, 39) and the other kept cells stay where they were.
// New cells and the work board are all zero; counters and Modified stay.
TEST(ResizeBoard, KeepsTheTopLeftPartAtEverySize) {
    Board original = NoisyBoard(49, 21);
    original.cell(49, 49) = {1, 1, 2, 3};
    original.cell(39, 39) = {1, 4, 5, 6};
    Board b = original;
    b.Generation = 5;
    b.Modified = true;
    std::vector<CellRecord> copy;
    patterns::ResizeBoard(b, 39, copy);
    EXPECT_EQ(copy, original.Cells);
    EXPECT_EQ(b.Cells.size(), 1600u);
    EXPECT_EQ(b.Tally.size(), 1600u);
    for (int32_t g = 49; g <= 199; g += 10) patterns::ResizeBoard(b, g, copy);
    ASSERT_EQ(b.GridMax, 199);
    for (int32_t x = 0; x <= 199; ++x)
        for (int32_t y = 0; y <= 199; ++y)
            ASSERT_EQ(b.cell(x, y), x <= 39 && y <= 39 ? original.cell(x, y) : CellRecord{}) << x << ", " << y;
    EXPECT_EQ(b.Tally, FullBoard(199).Tally);
    for (int32_t g = 189; g >= 9; g -= 10) patterns::ResizeBoard(b, g, copy);
    ASSERT_EQ(b.GridMax, 9);
    for (int32_t x = 0; x <= 9; ++x)
        for (int32_t y = 0; y <= 9; ++y) ASSERT_EQ(b.cell(x, y), original.cell(x, y));
    EXPECT_EQ(b.Generation, 5);
    EXPECT_TRUE(b.Modified);
}
