// SPDX-License-Identifier: MIT
// The generation step's worked examples on hand-made boards, the colour rule
// and seeding. The differential test compares the step with the plain one on
// random boards; here are the cases worked out by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>
#include <vector>

#include "engine/generation_step.h"
#include "engine/rules.h"

namespace engine {
void PrintTo(const CellRecord& c, std::ostream* os) { *os << int(c.State) << " " << int(c.Red) << " " << int(c.Green) << " " << int(c.Blue); }
}  // namespace engine

namespace {

using engine::Board;
using engine::CellRecord;
using engine::RandomSequence;
using Placed = std::vector<std::pair<std::pair<int32_t, int32_t>, CellRecord>>;

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

TEST(Step, WorkedExamples) {
    const CellRecord a{1, 11, 12, 13}, m{1, 21, 22, 23}, c{1, 31, 32, 33}, d{1, 250, 251, 252};
    const CellRecord amc{1, 11, 22, 33};
    const Placed block = {{{-1, -1}, a}, {{-1, 0}, m}, {{0, -1}, c}, {{0, 0}, d}};
    struct Case {
        const char* name;
        std::vector<int32_t> gridMaxes;
        Placed before;
        int generations;
        Placed after;  // the whole board afterwards: every other cell all zero
        uint64_t draws;
    };
    const std::vector<Case> cases = {
        // Parents by column, then row: A = (4, 6), B = (5, 4), C = (6, 5) give (A.Red, B.Green, C.Blue).
        {"(5, 5)", {49}, {{{4, 6}, a}, {{5, 4}, m}, {{6, 5}, c}}, 1, {{{5, 5}, amc}}, 1},
        {"two parents in one column", {49}, {{{7, 9}, a}, {{7, 7}, m}, {{9, 8}, c}}, 1, {{{8, 8}, {1, 21, 12, 33}}}, 1},
        // (0, 0) from (GridMax, 0), (0, 1) and (1, GridMax): the parent on the last column comes last.
        {"(0, 0) across the edges", {9, 199}, {{{-1, 0}, a}, {{0, 1}, m}, {{1, -1}, c}}, 1,
         {{{0, 0}, {1, 21, 32, 13}}}, 1},
        // The centre keeps its colour; the new ends take one component from each old cell.
        {"blinker", {49}, {{{4, 5}, a}, {{5, 5}, m}, {{6, 5}, c}}, 1, {{{5, 4}, amc}, {{5, 5}, m}, {{5, 6}, amc}}, 2},
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
    };
    // Seed 1 draws no mutation early on, so every birth keeps its inherited colour.
    for (const Case& k : cases) {
        for (int32_t gridMax : k.gridMaxes) {
            SCOPED_TRACE(::testing::Message() << k.name << " on GridMax " << gridMax);
            Board b = boardWith(gridMax, k.before);
            RandomSequence random(1);
            for (int g = 0; g < k.generations; ++g) engine::ReCalc(b, random);
            EXPECT_EQ(b.Cells, boardWith(gridMax, k.after).Cells);
            EXPECT_EQ(random.drawn(), k.draws);
            EXPECT_EQ(b.Generation, 1 + k.generations);
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

// The live count a Stepper gives from its own bits is the board's count on
// the board the step left (any side, odd contents put right), and the
// board's own count on any other: a copy edited since, or after a call that
// stepped nothing.
TEST(Step, LiveCellsFromTheStepOnlyForTheBoardItLeft) {
    for (int32_t side : {50, 300, 600})
    for (const engine::KernelSet set : engine::AvailableKernelSets()) {
        Board b;
        b.create(side - 1);
        RandomSequence random(side);
        engine::Init(b, random);
        b.cell(3, 4) = {7, 1, 2, 3};   // an odd State
        b.cell(10, 10) = {0, 9, 9, 9};  // colour in a dead cell
        engine::Stepper stepper(set);
        stepper.useSecondThread(true);
        for (int g = 0; g < 3; ++g) {
            stepper.ReCalc(b, random);
            EXPECT_EQ(stepper.liveCells(b), b.countLive()) << side;
        }
        Board copy = b;
        for (int32_t y = 0; y < 5; ++y) copy.cell(20, y) = {1, 5, 5, 5};
        EXPECT_EQ(stepper.liveCells(copy), copy.countLive());
        Board released = b;
        released.Cells.clear();
        stepper.ReCalc(released, random);
        EXPECT_EQ(stepper.liveCells(released), 0);
    }
}

// ⌊r × n⌋ over fractions that are multiples of 2^-24: exactly the 16777
// smallest mutate (⌊r × 1000⌋ = 0), and the largest fraction stays below n.
TEST(Rules, ScaledDrawBoundaries) {
    EXPECT_EQ(engine::ScaledDraw(16777.0f / 16777216.0f, 1000), 0);
    EXPECT_EQ(engine::ScaledDraw(16778.0f / 16777216.0f, 1000), 1);
    EXPECT_EQ(engine::ScaledDraw(std::nextafter(1.0f, 0.0f), 255), 254);
}

// Every value of each range and none outside it: red and green 1..255, blue
// 1..255 when red or green is above 128, otherwise 128..255. Only the colour
// is written.
TEST(Rules, RandomColourReachesEveryValueOfItsRanges) {
    RandomSequence random(2024);
    std::set<int32_t> seen[4];  // red, green, blue (high branch), blue (low branch)
    for (int i = 0; i < 300000; ++i) {
        CellRecord col{4, 0, 0, 0};
        engine::RandomColor(random, col);
        ASSERT_EQ(col.State, 4);
        seen[0].insert(col.Red);
        seen[1].insert(col.Green);
        seen[col.Red <= 128 && col.Green <= 128 ? 3 : 2].insert(col.Blue);
    }
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(*seen[k].begin(), k == 3 ? 128 : 1) << k;
        EXPECT_EQ(*seen[k].rbegin(), 255) << k;
        EXPECT_EQ(seen[k].size(), k == 3 ? 128u : 255u) << k;
    }
}

// Init empties and seeds the whole board: about a fifth of the cells live,
// each in a random colour, the dead all zero; it restarts the counters and
// marks the board modified.
TEST(Rules, InitSeedsAFifthOfTheBoard) {
    RandomSequence random(77);
    Board b = boardWith(199, {});
    std::fill(b.Cells.begin(), b.Cells.end(), CellRecord{7, 255, 44, 5});
    b.Generation = 812;
    b.PopulationHistory = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    engine::Init(b, random);
    const int32_t live = b.countLive();
    for (const CellRecord& c : b.Cells) ASSERT_TRUE(c.State == 1 ? c.Red && c.Green && c.Blue : c == CellRecord{});
    EXPECT_NEAR(live / 40000.0, 0.2, 0.01);
    EXPECT_EQ(b.PopulationHistory, decltype(b.PopulationHistory){live});
    EXPECT_EQ(b.Generation, 1);
    EXPECT_TRUE(b.Modified);
}

}  // namespace
