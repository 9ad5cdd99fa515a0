// The generation step on small, hand-made boards: Conway's rule on the torus,
// the colours of survivors and newborns, what dead cells look like afterwards,
// and how many random fractions a step draws.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/rules.h"

namespace {

using engine::Board;
using engine::CellRecord;
using engine::RandomSequence;
using Point = std::pair<int32_t, int32_t>;

Board makeBoard(int32_t gridMax) {
    Board b;
    b.create(gridMax);
    b.Generation = 1;
    return b;
}

// A seed whose draws at the given positions (0-based) are mutations and whose
// other first `count` draws are not.
uint64_t seedMutatingAt(std::set<int> mutating, int count) {
    for (uint64_t seed = 1;; ++seed) {
        RandomSequence r(seed);
        bool ok = true;
        for (int i = 0; i < count && ok; ++i)
            ok = (engine::ScaledDraw(r.next(), 1000) == 0) == (mutating.count(i) != 0);
        if (ok) return seed;
    }
}

std::set<Point> livePoints(const Board& b) {
    std::set<Point> out;
    for (int32_t x = 0; x <= b.GridMax; ++x)
        for (int32_t y = 0; y <= b.GridMax; ++y)
            if (b.cell(x, y).State != 0) out.insert({x, y});
    return out;
}

// Every cell has State 0 or 1 and every dead cell is all zero.
::testing::AssertionResult normalised(const Board& b) {
    for (int32_t x = 0; x <= b.GridMax; ++x)
        for (int32_t y = 0; y <= b.GridMax; ++y) {
            const CellRecord& c = b.cell(x, y);
            if (c.State == 1) continue;
            if (c != CellRecord{})
                return ::testing::AssertionFailure() << "cell (" << x << ", " << y << ") is {" << c.State << ", "
                                                     << c.Red << ", " << c.Green << ", " << c.Blue << "}";
        }
    return ::testing::AssertionSuccess();
}

// ---------------------------------------------------------------------------
// Colour inheritance in worked examples.

struct BirthCase {
    const char* name;
    int32_t gridMax;
    std::vector<Point> parents;  // live cells, each gets a distinct colour
    Point child;
    int redFrom, greenFrom, blueFrom;  // indices into `parents`
};

void PrintTo(const BirthCase& c, std::ostream* os) { *os << c.name; }

class BirthColour : public ::testing::TestWithParam<BirthCase> {};

TEST_P(BirthColour, TakesOneComponentFromEachParentInColumnThenRowOrder) {
    const BirthCase& c = GetParam();
    Board b = makeBoard(c.gridMax);
    std::vector<CellRecord> colours;
    for (std::size_t i = 0; i < c.parents.size(); ++i) {
        const int32_t k = static_cast<int32_t>(i);
        colours.push_back({1, 10 + k, 100 + k, 200 + k});
        b.cell(c.parents[i].first, c.parents[i].second) = colours.back();
    }
    RandomSequence random(seedMutatingAt({}, 16));
    engine::ReCalc(b, random);
    const CellRecord& born = b.cell(c.child.first, c.child.second);
    EXPECT_EQ(born, (CellRecord{1, colours[c.redFrom].Red, colours[c.greenFrom].Green, colours[c.blueFrom].Blue}));
    EXPECT_TRUE(normalised(b));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, BirthColour,
    ::testing::Values(
        // (5, 5) with A = (4, 6), B = (5, 4), C = (6, 5): red from A, green from B, blue from C.
        BirthCase{"Inner", 49, {{4, 6}, {5, 4}, {6, 5}}, {5, 5}, 0, 1, 2},
        // The same parents listed in another order change nothing: order is by position.
        BirthCase{"InnerListedBackwards", 49, {{6, 5}, {5, 4}, {4, 6}}, {5, 5}, 2, 1, 0},
        // One column holds two parents: the smaller row comes first.
        BirthCase{"SameColumn", 49, {{7, 9}, {7, 7}, {9, 8}}, {8, 8}, 1, 0, 2},
        // (0, 0) with (49, 0), (0, 1), (1, 49): the parent on the last column comes last.
        BirthCase{"AcrossEdges50", 49, {{49, 0}, {0, 1}, {1, 49}}, {0, 0}, 1, 2, 0},
        BirthCase{"AcrossEdges10", 9, {{9, 0}, {0, 1}, {1, 9}}, {0, 0}, 1, 2, 0},
        BirthCase{"AcrossEdges200", 199, {{199, 0}, {0, 1}, {1, 199}}, {0, 0}, 1, 2, 0},
        // The opposite corner: (199, 199) with (0, 0), (198, 0), (199, 198).
        BirthCase{"FarCorner200", 199, {{199, 198}, {198, 0}, {0, 0}}, {199, 199}, 2, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Blinker, OscillatesAndMixesItsColours) {
    Board b = makeBoard(49);
    const CellRecord a{1, 11, 12, 13}, m{1, 21, 22, 23}, c{1, 31, 32, 33};
    b.cell(4, 5) = a;
    b.cell(5, 5) = m;
    b.cell(6, 5) = c;
    RandomSequence random(seedMutatingAt({}, 8));

    engine::ReCalc(b, random);
    EXPECT_EQ(livePoints(b), (std::set<Point>{{5, 4}, {5, 5}, {5, 6}}));
    EXPECT_EQ(b.cell(5, 5), m) << "the centre keeps its colour";
    const CellRecord end{1, a.Red, m.Green, c.Blue};
    EXPECT_EQ(b.cell(5, 4), end);
    EXPECT_EQ(b.cell(5, 6), end);
    EXPECT_EQ(random.drawn(), 2u) << "one fraction per birth";

    // Back to horizontal: the parents now share column 5, ordered by row.
    // Recolour the ends first so every parent is told apart.
    const CellRecord top{1, 41, 42, 43}, bottom{1, 61, 62, 63};
    b.cell(5, 4) = top;
    b.cell(5, 6) = bottom;
    engine::ReCalc(b, random);
    EXPECT_EQ(livePoints(b), (std::set<Point>{{4, 5}, {5, 5}, {6, 5}}));
    EXPECT_EQ(b.cell(5, 5), m);
    const CellRecord back{1, top.Red, m.Green, bottom.Blue};
    EXPECT_EQ(b.cell(4, 5), back);
    EXPECT_EQ(b.cell(6, 5), back);
    EXPECT_EQ(random.drawn(), 4u);
    EXPECT_EQ(b.Generation, 3);
    EXPECT_TRUE(normalised(b));
}

// ---------------------------------------------------------------------------
// Shapes: still lifes, deaths, wrapping.

TEST(StillLife, BlockKeepsShapeAndColoursAndDrawsNothing) {
    Board b = makeBoard(9);
    // Across the corner of the torus, so the block only exists through wrapping.
    const std::vector<std::pair<Point, CellRecord>> block = {
        {{9, 9}, {1, 1, 2, 3}}, {{9, 0}, {1, 4, 5, 6}}, {{0, 9}, {1, 7, 8, 9}}, {{0, 0}, {1, 250, 251, 252}}};
    for (const auto& [p, c] : block) b.cell(p.first, p.second) = c;
    RandomSequence random(1);
    for (int i = 0; i < 20; ++i) engine::ReCalc(b, random);
    for (const auto& [p, c] : block) EXPECT_EQ(b.cell(p.first, p.second), c);
    EXPECT_EQ(b.countLive(), 4);
    EXPECT_EQ(random.drawn(), 0u);
    EXPECT_EQ(b.Generation, 21);
}

TEST(Death, LoneAndOvercrowdedCellsBecomeAllZero) {
    Board b = makeBoard(49);
    b.cell(20, 20) = {1, 200, 100, 50};  // lone
    // A plus sign: the centre has four neighbours.
    b.cell(5, 5) = {1, 9, 9, 9};
    for (Point p : {Point{4, 5}, {6, 5}, {5, 4}, {5, 6}}) b.cell(p.first, p.second) = {1, 1, 1, 1};
    RandomSequence random(seedMutatingAt({}, 16));
    engine::ReCalc(b, random);
    EXPECT_EQ(b.cell(20, 20), CellRecord{});
    EXPECT_EQ(b.cell(5, 5), CellRecord{});
    EXPECT_TRUE(normalised(b));
}

TEST(Death, FullBoardEmptiesInOneStep) {
    for (int32_t gridMax : {9, 49, 199}) {
        SCOPED_TRACE(gridMax);
        Board b = makeBoard(gridMax);
        int32_t k = 0;
        for (CellRecord& c : b.Cells) {
            c = {1, k % 256, (k / 3) % 256, 255 - k % 256};
            ++k;
        }
        RandomSequence random(1);
        engine::ReCalc(b, random);
        EXPECT_TRUE(std::all_of(b.Cells.begin(), b.Cells.end(), [](const CellRecord& c) { return c == CellRecord{}; }));
        EXPECT_EQ(random.drawn(), 0u);
        EXPECT_EQ(b.Generation, 2);
    }
}

TEST(Death, EmptyBoardStaysEmptyAndTheGenerationStillAdvances) {
    Board b = makeBoard(49);
    b.Generation = 41;
    RandomSequence random(1);
    engine::ReCalc(b, random);
    EXPECT_EQ(b.countLive(), 0);
    EXPECT_EQ(b.Generation, 42);
    EXPECT_EQ(random.drawn(), 0u);
}

// Glider phases, moving towards +x and +y; after four generations the same
// shape stands one cell further on each axis.
const std::vector<Point> kGlider = {{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};

struct GliderCase {
    int32_t gridMax;
    bool mirrorX, mirrorY;  // direction of travel
};

void PrintTo(const GliderCase& c, std::ostream* os) {
    *os << "side " << c.gridMax + 1 << (c.mirrorX ? ", towards -x" : ", towards +x")
        << (c.mirrorY ? ", towards -y" : ", towards +y");
}

class Glider : public ::testing::TestWithParam<GliderCase> {};

TEST_P(Glider, CrossesEveryEdgeAndComesBackInShape) {
    const GliderCase& g = GetParam();
    const int32_t n = g.gridMax + 1;
    auto wrap = [n](int32_t v) { return ((v % n) + n) % n; };
    auto at = [&](Point p, int32_t shift) {
        const int32_t x = g.mirrorX ? -(p.first + shift) : p.first + shift;
        const int32_t y = g.mirrorY ? -(p.second + shift) : p.second + shift;
        return Point{wrap(x), wrap(y)};
    };
    Board b = makeBoard(g.gridMax);
    // Start right on the corner so the first generations already straddle the edges.
    for (Point p : kGlider) {
        const Point q = at(p, n - 1);
        b.cell(q.first, q.second) = {1, 90, 180, 240};
    }
    RandomSequence random(7);
    for (int32_t shift = 0; shift <= n; ++shift) {
        std::set<Point> expected;
        for (Point p : kGlider) expected.insert(at(p, n - 1 + shift));
        ASSERT_EQ(livePoints(b), expected) << "after " << 4 * shift << " generations";
        for (int i = 0; i < 4; ++i) engine::ReCalc(b, random);
    }
    EXPECT_TRUE(normalised(b));
}

INSTANTIATE_TEST_SUITE_P(Torus, Glider,
                         ::testing::Values(GliderCase{9, false, false}, GliderCase{9, true, false},
                                           GliderCase{9, false, true}, GliderCase{9, true, true},
                                           GliderCase{49, true, false}, GliderCase{199, false, true}));

// The same small pattern around the corner of the torus behaves identically
// whatever the board size: the step wraps at the current GridMax.
TEST(Torus, SameResultOnSmallestAndLargestBoard) {
    // R-pentomino centred on the corner; coordinates relative to (0, 0), may be negative.
    const std::vector<Point> pattern = {{0, -1}, {1, -1}, {-1, 0}, {0, 0}, {0, 1}};
    std::vector<std::set<Point>> results;
    for (int32_t gridMax : {9, 199}) {
        const int32_t n = gridMax + 1;
        Board b = makeBoard(gridMax);
        for (Point p : pattern) b.cell((p.first + n) % n, (p.second + n) % n) = {1, 1, 2, 3};
        RandomSequence random(3);
        for (int i = 0; i < 3; ++i) engine::ReCalc(b, random);  // still inside a 10 x 10 window
        std::set<Point> relative;
        for (Point p : livePoints(b))
            relative.insert({p.first > n / 2 ? p.first - n : p.first, p.second > n / 2 ? p.second - n : p.second});
        results.push_back(relative);
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_GT(results[0].size(), pattern.size());
}

// ---------------------------------------------------------------------------
// Boards not written by the program itself: odd State values, stale colours.

TEST(OddStates, AnyNonZeroStateIsLiveAndComesOutAsOne) {
    Board b = makeBoard(49);
    // A block of odd states survives with State 1 and its colours.
    const std::vector<std::pair<Point, CellRecord>> block = {{{10, 10}, {5, 1, 2, 3}},
                                                             {{10, 11}, {-3, 4, 5, 6}},
                                                             {{11, 10}, {INT32_MAX, 7, 8, 9}},
                                                             {{11, 11}, {INT32_MIN, 10, 11, 12}}};
    for (const auto& [p, c] : block) b.cell(p.first, p.second) = c;
    // A blinker of odd states gives births.
    b.cell(30, 30) = {2, 100, 0, 0};
    b.cell(31, 30) = {-1, 0, 100, 0};
    b.cell(32, 30) = {256, 0, 0, 100};
    // A lone odd cell dies.
    b.cell(40, 40) = {-7, 1, 1, 1};
    RandomSequence random(seedMutatingAt({}, 8));
    engine::ReCalc(b, random);
    for (const auto& [p, c] : block) EXPECT_EQ(b.cell(p.first, p.second), (CellRecord{1, c.Red, c.Green, c.Blue}));
    EXPECT_EQ(b.cell(31, 29), (CellRecord{1, 100, 100, 100}));
    EXPECT_EQ(b.cell(31, 31), (CellRecord{1, 100, 100, 100}));
    EXPECT_EQ(b.cell(31, 30), (CellRecord{1, 0, 100, 0}));
    EXPECT_EQ(b.cell(40, 40), CellRecord{});
    EXPECT_EQ(b.countLive(), 7);
    EXPECT_TRUE(normalised(b));
}

TEST(StaleColours, DeadCellsAreNeverReadAndComeOutAllZero) {
    Board b = makeBoard(9);
    for (CellRecord& c : b.Cells) c = {0, -5, 999, 77};
    // An L of three: (1, 1) is born from the three; every other dead cell stays dead.
    b.cell(0, 0) = {1, 10, 20, 30};
    b.cell(1, 0) = {1, 40, 50, 60};
    b.cell(0, 1) = {1, 70, 80, 90};
    RandomSequence random(seedMutatingAt({}, 4));
    engine::ReCalc(b, random);
    EXPECT_EQ(b.cell(1, 1), (CellRecord{1, 10, 80, 60}));
    EXPECT_EQ(b.countLive(), 4);
    EXPECT_TRUE(normalised(b));
}

// ---------------------------------------------------------------------------
// Random fractions: one per birth in scan order, three more after a mutation.

// Two separate L shapes, each giving exactly one birth: first at (1, 1), then
// (scan order: column first) at (21, 11).
Board twoBirths() {
    Board b = makeBoard(49);
    for (Point p : {Point{0, 0}, {1, 0}, {0, 1}, {20, 10}, {21, 10}, {20, 11}})
        b.cell(p.first, p.second) = {1, p.first, p.second, 9};
    return b;
}

TEST(Draws, MutationDrawsItsColourRightAfterTheBirthFraction) {
    struct Case {
        std::set<int> mutatingDraws;
        bool firstMutated, secondMutated;
        uint64_t draws;
    };
    for (const Case& c : {Case{{}, false, false, 2}, Case{{0}, true, false, 5}, Case{{1}, false, true, 5},
                          Case{{0, 4}, true, true, 8}}) {
        const uint64_t seed = seedMutatingAt(c.mutatingDraws, 8);
        SCOPED_TRACE(seed);
        Board b = twoBirths();
        RandomSequence random(seed);
        engine::ReCalc(b, random);
        EXPECT_EQ(random.drawn(), c.draws);

        // Replay the sequence by hand to know the colours the mutations must get.
        RandomSequence replay(seed);
        CellRecord first{1, 0, 1, 9}, second{1, 20, 11, 9};  // inherited colours
        replay.next();
        if (c.firstMutated) engine::RandomColor(replay, first);
        replay.next();
        if (c.secondMutated) engine::RandomColor(replay, second);
        EXPECT_EQ(b.cell(1, 1), first);
        EXPECT_EQ(b.cell(21, 11), second);
        EXPECT_EQ(random.next(), replay.next()) << "both consumed the same fractions";
    }
}

TEST(Draws, SurvivalsAndDeathsDrawNothing) {
    Board b = makeBoard(49);
    // A beehive (still) and a lone cell (dies).
    for (Point p : {Point{5, 4}, {6, 4}, {4, 5}, {7, 5}, {5, 6}, {6, 6}, {30, 30}}) b.cell(p.first, p.second) = {1, 1, 1, 1};
    RandomSequence random(1);
    engine::ReCalc(b, random);
    EXPECT_EQ(random.drawn(), 0u);
    EXPECT_EQ(b.countLive(), 6);
}

// ---------------------------------------------------------------------------
// Arrays that do not match GridMax, as while the window releases the board.

TEST(ReleasedBoard, StepLeavesArraysThatDoNotMatchTheSizeAlone) {
    for (int32_t gridMax : {1, 49}) {
        Board b = makeBoard(gridMax);
        b.Cells.clear();
        b.Tally.clear();
        RandomSequence random(1);
        engine::ReCalc(b, random);
        EXPECT_TRUE(b.Cells.empty());
        EXPECT_EQ(b.Generation, 1);
        EXPECT_EQ(random.drawn(), 0u);
    }
}

// ---------------------------------------------------------------------------
// Generation counter at its limit.

TEST(GenerationCounter, StopsAtTheLargestValueInsteadOfOverflowing) {
    Board b = makeBoard(9);
    b.Generation = INT32_MAX - 1;
    RandomSequence random(1);
    engine::ReCalc(b, random);
    EXPECT_EQ(b.Generation, INT32_MAX);
    engine::ReCalc(b, random);
    EXPECT_EQ(b.Generation, INT32_MAX);
}

}  // namespace
