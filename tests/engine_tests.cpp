// The generation step's worked examples on hand-made boards, the colour rule
// and seeding. The differential test compares the step with the plain one on
// random boards; here are the cases worked out by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <set>
#include <vector>

#include "engine/rules.h"

namespace engine {
void PrintTo(const CellRecord& c, std::ostream* os) {
    *os << "{" << c.State << ", " << c.Red << ", " << c.Green << ", " << c.Blue << "}";
}
}  // namespace engine

namespace {

using engine::Board;
using engine::CellRecord;
using engine::RandomSequence;
using Point = std::pair<int32_t, int32_t>;
using Placed = std::vector<std::pair<Point, CellRecord>>;

// A board with the given cells; negative coordinates count from the far
// edge (-1 is GridMax), so one layout serves every board size.
Board boardWith(int32_t gridMax, const Placed& cells) {
    Board b;
    b.create(gridMax);
    b.Generation = 1;
    const int32_t n = gridMax + 1;
    for (const auto& [p, c] : cells) b.cell((p.first + n) % n, (p.second + n) % n) = c;
    return b;
}

struct StepCase {
    const char* name;
    std::vector<int32_t> gridMaxes;
    Placed before;
    int generations;
    Placed after;  // the whole board afterwards: every other cell all zero
    uint64_t draws;
};

TEST(Step, WorkedExamples) {
    const CellRecord a{1, 11, 12, 13}, m{1, 21, 22, 23}, c{1, 31, 32, 33}, d{1, 250, 251, 252};
    const CellRecord amc{1, 11, 22, 33};
    const Placed blinker = {{{4, 5}, a}, {{5, 5}, m}, {{6, 5}, c}};
    const Placed block = {{{-1, -1}, a}, {{-1, 0}, m}, {{0, -1}, c}, {{0, 0}, d}};
    const std::vector<StepCase> cases = {
        // Parents by column, then row: A = (4, 6), B = (5, 4), C = (6, 5) give (A.Red, B.Green, C.Blue).
        {"(5, 5)", {49}, {{{4, 6}, a}, {{5, 4}, m}, {{6, 5}, c}}, 1, {{{5, 5}, amc}}, 1},
        {"two parents in one column", {49}, {{{7, 9}, a}, {{7, 7}, m}, {{9, 8}, c}}, 1, {{{8, 8}, {1, 21, 12, 33}}}, 1},
        // (0, 0) from (GridMax, 0), (0, 1) and (1, GridMax): the parent on the last column comes last.
        {"(0, 0) across the edges", {9, 49, 199}, {{{-1, 0}, a}, {{0, 1}, m}, {{1, -1}, c}}, 1,
         {{{0, 0}, {1, 21, 32, 13}}}, 1},
        {"far corner across the edges", {9, 199}, {{{0, 0}, a}, {{-2, 0}, m}, {{-1, -2}, c}}, 1, {{{-1, -1}, amc}}, 1},
        // The centre keeps its colour; the new ends take one component from each old cell.
        {"blinker", {49}, blinker, 1, {{{5, 4}, amc}, {{5, 5}, m}, {{5, 6}, amc}}, 2},
        {"blinker, back", {49}, blinker, 2, {{{4, 5}, amc}, {{5, 5}, m}, {{6, 5}, amc}}, 4},
        // A block that exists only through wrapping: no births, no draws, colours kept.
        {"block over the corner", {9, 199}, block, 20, block, 0},
        // Any non-zero State is live and comes out as 1: a block and a blinker of odd states; a lone one dies.
        {"odd states", {49},
         {{{10, 10}, {5, 1, 2, 3}}, {{10, 11}, {3, 4, 5, 6}}, {{11, 10}, {255, 7, 8, 9}},
          {{11, 11}, {128, 10, 11, 12}}, {{30, 30}, {2, 100, 0, 0}}, {{31, 30}, {254, 0, 100, 0}},
          {{32, 30}, {17, 0, 0, 100}}, {{40, 40}, {9, 1, 1, 1}}},
         1,
         {{{10, 10}, {1, 1, 2, 3}}, {{10, 11}, {1, 4, 5, 6}}, {{11, 10}, {1, 7, 8, 9}}, {{11, 11}, {1, 10, 11, 12}},
          {{31, 29}, {1, 100, 100, 100}}, {{31, 30}, {1, 0, 100, 0}}, {{31, 31}, {1, 100, 100, 100}}},
         2},
        // With no other odd value on the board, State 2 still comes out as 1.
        {"a block of State 2 only", {9}, {{{4, 4}, {2, 1, 2, 3}}, {{4, 5}, {2, 4, 5, 6}}, {{5, 4}, a}, {{5, 5}, m}}, 1,
         {{{4, 4}, {1, 1, 2, 3}}, {{4, 5}, {1, 4, 5, 6}}, {{5, 4}, a}, {{5, 5}, m}}, 0},
    };
    // Seed 1 draws no mutation early on, so every birth keeps its inherited colour.
    RandomSequence probe(1);
    for (int i = 0; i < 8; ++i) ASSERT_NE(engine::ScaledDraw(probe.next(), 1000), 0);
    for (const StepCase& k : cases) {
        for (int32_t gridMax : k.gridMaxes) {
            SCOPED_TRACE(::testing::Message() << k.name << " on GridMax " << gridMax);
            Board b = boardWith(gridMax, k.before);
            RandomSequence random(1);
            for (int g = 0; g < k.generations; ++g) engine::ReCalc(b, random);
            const Board want = boardWith(gridMax, k.after);
            for (std::size_t i = 0; i < b.Cells.size(); ++i)
                ASSERT_EQ(b.Cells[i], want.Cells[i]) << "cell (" << i / b.side() << ", " << i % b.side() << ")";
            EXPECT_EQ(random.drawn(), k.draws);
            EXPECT_EQ(b.Generation, 1 + k.generations);
        }
    }
}

// Every cell of a full board has eight live neighbours: all die at once and
// come out all zero. An empty board stays empty; the generation still counts.
TEST(Step, FullBoardEmptiesAndEmptyBoardStaysEmpty) {
    for (int32_t gridMax : {9, 49, 199}) {
        Board b = boardWith(gridMax, {});
        for (std::size_t i = 0; i < b.Cells.size(); ++i) b.Cells[i] = {1, uint8_t(i % 256), 7, uint8_t(i / 256 % 256)};
        RandomSequence random(1);
        for (int32_t generation : {2, 3}) {
            engine::ReCalc(b, random);
            EXPECT_EQ(b.Cells, boardWith(gridMax, {}).Cells);
            EXPECT_EQ(b.Generation, generation);
        }
        EXPECT_EQ(random.drawn(), 0u);
    }
}

// A glider started on the corner crosses every edge in each of the four
// directions and is back in shape every four generations.
TEST(Step, GliderCrossesEveryEdge) {
    const std::vector<Point> glider = {{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};  // heading for +x, +y
    for (auto [gridMax, sx, sy] : {std::array{9, 1, 1}, {9, -1, 1}, {9, 1, -1}, {9, -1, -1}, {49, -1, 1}}) {
        const int32_t n = gridMax + 1;
        auto shape = [&](int32_t shift) {
            std::set<Point> s;
            for (auto [x, y] : glider) s.insert({(sx * (x + shift) % n + n) % n, (sy * (y + shift) % n + n) % n});
            return s;
        };
        Board b = boardWith(gridMax, {});
        for (auto [x, y] : shape(n - 1)) b.cell(x, y) = {1, 90, 180, 240};
        RandomSequence random(7);
        for (int32_t shift = 0; shift <= n; ++shift) {
            std::set<Point> live;
            for (std::size_t i = 0; i < b.Cells.size(); ++i)
                if (b.Cells[i].live()) live.insert({int32_t(i) / n, int32_t(i) % n});
            ASSERT_EQ(live, shape(n - 1 + shift)) << "side " << n << ", direction " << sx << ", " << sy;
            for (int i = 0; i < 4; ++i) engine::ReCalc(b, random);
        }
    }
}

// The counter stops at its largest value instead of overflowing, and arrays
// that do not match GridMax (a board being released) are left alone.
TEST(Step, SaturatingCounterAndMismatchedArrays) {
    Board b = boardWith(9, {});
    b.Generation = INT32_MAX - 1;
    RandomSequence random(1);
    for (int i = 0; i < 2; ++i) engine::ReCalc(b, random);
    EXPECT_EQ(b.Generation, INT32_MAX);
    Board released = boardWith(49, {});
    released.Cells.clear();
    engine::ReCalc(released, random);
    EXPECT_TRUE(released.Cells.empty());
    EXPECT_EQ(released.Generation, 1);
}

// ⌊r × n⌋ over fractions that are multiples of 2^-24: exactly the 16777
// smallest mutate (⌊r × 1000⌋ = 0), and the largest fraction stays below n.
TEST(Rules, ScaledDrawBoundaries) {
    EXPECT_EQ(engine::ScaledDraw(16777.0f / 16777216.0f, 1000), 0);
    EXPECT_EQ(engine::ScaledDraw(16778.0f / 16777216.0f, 1000), 1);
    for (int32_t n : {128, 255, 1000}) {
        EXPECT_EQ(engine::ScaledDraw(0.0f, n), 0);
        EXPECT_EQ(engine::ScaledDraw(std::nextafter(1.0f, 0.0f), n), n - 1);
    }
}

TEST(Rules, RandomColourDrawsRedGreenBlueAndReachesEveryValue) {
    RandomSequence random(2024), replay(2024);
    CellRecord first{4, 0, 0, 0};
    engine::RandomColor(random, first);
    EXPECT_EQ(first.State, 4) << "only the colour is written";
    EXPECT_EQ(first.Red, engine::ScaledDraw(replay.next(), 255) + 1) << "red drawn first";
    EXPECT_EQ(random.drawn(), 3u);
    // Every value of each range and none outside it: red, green, blue when red
    // or green is above 128 (each 1..255), and blue otherwise (128..255).
    std::set<int32_t> seen[4];
    int lowBranch = 0;
    constexpr int kColours = 300000;
    for (int i = 0; i < kColours; ++i) {
        CellRecord col;
        engine::RandomColor(random, col);
        const bool low = col.Red <= 128 && col.Green <= 128;
        lowBranch += low;
        seen[0].insert(col.Red);
        seen[1].insert(col.Green);
        seen[low ? 3 : 2].insert(col.Blue);
    }
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(*seen[k].begin(), k == 3 ? 128 : 1) << k;
        EXPECT_EQ(*seen[k].rbegin(), 255) << k;
        EXPECT_EQ(seen[k].size(), k == 3 ? 128u : 255u) << k;
    }
    EXPECT_NEAR(static_cast<double>(lowBranch) / kColours, (128.0 / 255) * (128.0 / 255), 0.005);
}

// Init seeds every cell of any board size and resets the counters, leaving
// Tally alone; over many seedings about a fifth of the cells come out live.
TEST(Rules, InitSeedsTheWholeBoardAndAboutAFifthOfTheCells) {
    RandomSequence random(77);
    int64_t seeded = 0, live = 0;
    for (int i = 0; i < 400; ++i) {  // a million cells
        const int32_t gridMax = i < 3 ? std::array{9, 199, 49}[i] : 49;
        Board b = boardWith(gridMax, {});
        std::fill(b.Cells.begin(), b.Cells.end(), CellRecord{7, 255, 44, 5});
        std::fill(b.Tally.begin(), b.Tally.end(), CellRecord{3, 4, 5, 6});
        const std::vector<CellRecord> tally = b.Tally;
        b.Generation = 812;
        b.PopulationHistory = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        const uint64_t drawnBefore = random.drawn();
        engine::Init(b, random);
        const int32_t count = static_cast<int32_t>(
            std::count_if(b.Cells.begin(), b.Cells.end(), [](const CellRecord& c) { return c.State == 1; }));
        EXPECT_EQ(std::count(b.Cells.begin(), b.Cells.end(), CellRecord{}), int64_t(b.Cells.size()) - count);
        ASSERT_EQ(b.PopulationHistory, decltype(b.PopulationHistory){count});
        ASSERT_EQ(b.Generation, 1);
        ASSERT_TRUE(b.Modified);
        ASSERT_EQ(b.Tally, tally);
        ASSERT_EQ(random.drawn() - drawnBefore, b.Cells.size() + 3u * count) << "one per cell, three per live cell";
        seeded += static_cast<int64_t>(b.Cells.size());
        live += count;
    }
    EXPECT_NEAR(static_cast<double>(live) / seeded, 0.2, 0.002);  // five standard deviations
}

// Init's draws come in scan order, x outer and y inner, each live cell's
// colour right after its own fraction.
TEST(Rules, InitDrawsCellByCellInScanOrder) {
    Board b = boardWith(9, {});
    RandomSequence random(5), replay(5);
    engine::Init(b, random);
    for (int32_t x = 0; x <= 9; ++x)
        for (int32_t y = 0; y <= 9; ++y) {
            CellRecord expected;
            if (replay.next() < 0.2f) {
                expected.State = 1;
                engine::RandomColor(replay, expected);
            }
            ASSERT_EQ(b.cell(x, y), expected) << x << ", " << y;
        }
}

}  // namespace
