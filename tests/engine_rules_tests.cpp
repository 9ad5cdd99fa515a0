// The random colour rule, seeding with Init, and the rates the rules promise
// (a fifth of the cells seeded, one birth in a thousand mutated).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/rules.h"
#include "support/plain_step.h"

namespace {

using engine::Board;
using engine::CellRecord;
using engine::RandomSequence;

// The colour rule: red and green 1..255; blue 1..255 when either is above
// 128, otherwise 128..255.
::testing::AssertionResult obeysColourRule(const CellRecord& c) {
    const bool redGreenOk = c.Red >= 1 && c.Red <= 255 && c.Green >= 1 && c.Green <= 255;
    const int32_t blueMin = (c.Red > 128 || c.Green > 128) ? 1 : 128;
    if (redGreenOk && c.Blue >= blueMin && c.Blue <= 255) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "colour (" << c.Red << ", " << c.Green << ", " << c.Blue << ")";
}

// ---------------------------------------------------------------------------
// ⌊r × n⌋ over every fraction the sequence can produce (multiples of 2^-24).

TEST(ScaledDraw, EveryPossibleFractionLandsInRangeAndEveryValueIsEquallyLikely) {
    constexpr uint32_t kFractions = 1u << 24;
    for (int32_t n : {128, 255, 1000}) {
        SCOPED_TRACE(n);
        std::vector<uint32_t> hits(static_cast<std::size_t>(n), 0);
        int32_t previous = 0;
        bool inRange = true, monotone = true;
        for (uint32_t k = 0; k < kFractions; ++k) {
            const int32_t v = engine::ScaledDraw(static_cast<float>(k) * (1.0f / 16777216.0f), n);
            inRange &= v >= 0 && v < n;
            monotone &= v >= previous;
            previous = v;
            if (v >= 0 && v < n) ++hits[static_cast<std::size_t>(v)];
        }
        ASSERT_TRUE(inRange);
        EXPECT_TRUE(monotone);
        // Each of the n values takes 2^24 / n fractions, give or take rounding.
        const double share = static_cast<double>(kFractions) / n;
        for (int32_t v = 0; v < n; ++v) EXPECT_NEAR(hits[static_cast<std::size_t>(v)], share, 2.0) << "value " << v;
    }
}

TEST(ScaledDraw, MutationThresholdIsOneInAThousand) {
    // Fractions up to 16777 / 2^24 scale below 1; from 16778 / 2^24 on they do not.
    EXPECT_EQ(engine::ScaledDraw(16777.0f / 16777216.0f, 1000), 0);
    EXPECT_EQ(engine::ScaledDraw(16778.0f / 16777216.0f, 1000), 1);
    EXPECT_EQ(engine::ScaledDraw(std::nextafter(1.0f, 0.0f), 1000), 999);
    EXPECT_EQ(engine::ScaledDraw(std::nextafter(1.0f, 0.0f), 255), 254);
    EXPECT_EQ(engine::ScaledDraw(0.0f, 255), 0);
}

// ---------------------------------------------------------------------------
// RandomColor.

TEST(RandomColor, DrawsThreeFractionsInOrderAndOnlyWritesTheColour) {
    RandomSequence random(99), replay(99);
    CellRecord c{-4, 0, 0, 0};
    engine::RandomColor(random, c);
    EXPECT_EQ(random.drawn(), 3u);
    EXPECT_EQ(c.State, -4);
    EXPECT_EQ(c.Red, engine::ScaledDraw(replay.next(), 255) + 1);
    EXPECT_EQ(c.Green, engine::ScaledDraw(replay.next(), 255) + 1);
    const float blue = replay.next();
    EXPECT_EQ(c.Blue, (c.Red > 128 || c.Green > 128) ? engine::ScaledDraw(blue, 255) + 1 : engine::ScaledDraw(blue, 128) + 128);
}

TEST(RandomColor, ManyColoursObeyTheRuleAndReachEveryBound) {
    RandomSequence random(2024);
    int32_t minRed = 999, maxRed = 0, minGreen = 999, maxGreen = 0;
    int32_t minBlueHigh = 999, maxBlueHigh = 0;  // red or green above 128
    int32_t minBlueLow = 999, maxBlueLow = 0;    // both 128 or less
    int lowBranch = 0;
    constexpr int kColours = 300000;
    for (int i = 0; i < kColours; ++i) {
        CellRecord c;
        engine::RandomColor(random, c);
        ASSERT_TRUE(obeysColourRule(c));
        minRed = std::min(minRed, c.Red), maxRed = std::max(maxRed, c.Red);
        minGreen = std::min(minGreen, c.Green), maxGreen = std::max(maxGreen, c.Green);
        if (c.Red > 128 || c.Green > 128) {
            minBlueHigh = std::min(minBlueHigh, c.Blue), maxBlueHigh = std::max(maxBlueHigh, c.Blue);
        } else {
            ++lowBranch;
            minBlueLow = std::min(minBlueLow, c.Blue), maxBlueLow = std::max(maxBlueLow, c.Blue);
        }
    }
    EXPECT_EQ(minRed, 1);
    EXPECT_EQ(maxRed, 255);
    EXPECT_EQ(minGreen, 1);
    EXPECT_EQ(maxGreen, 255);
    EXPECT_EQ(minBlueHigh, 1);
    EXPECT_EQ(maxBlueHigh, 255);
    EXPECT_EQ(minBlueLow, 128);
    EXPECT_EQ(maxBlueLow, 255);
    // Red and green both at most 128: (128 / 255)^2 of the time.
    EXPECT_NEAR(static_cast<double>(lowBranch) / kColours, (128.0 / 255) * (128.0 / 255), 0.005);
}

// ---------------------------------------------------------------------------
// Init.

TEST(Init, SeedsTheWholeBoardAndResetsTheCounters) {
    for (int32_t gridMax : {9, 49, 199}) {
        SCOPED_TRACE(gridMax);
        Board b;
        b.create(gridMax);
        // Leftovers of an earlier board that Init must wipe (Cells) or leave alone (Tally).
        for (CellRecord& c : b.Cells) c = {7, -1, 300, 5};
        for (CellRecord& c : b.Tally) c = {3, 4, 5, 6};
        b.Generation = 812;
        b.PopulationHistory = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        b.Modified = false;

        RandomSequence random(static_cast<uint64_t>(gridMax) * 31 + 5);
        engine::Init(b, random);

        EXPECT_EQ(b.Generation, 1);
        EXPECT_TRUE(b.Modified);
        int32_t live = 0;
        for (const CellRecord& c : b.Cells) {
            if (c.State == 0) {
                ASSERT_EQ(c, CellRecord{});
            } else {
                ASSERT_EQ(c.State, 1);
                ASSERT_TRUE(obeysColourRule(c));
                ++live;
            }
        }
        EXPECT_GT(live, 0);
        EXPECT_EQ(b.Population(), live);
        for (int i = 1; i < engine::kHistoryLength; ++i) EXPECT_EQ(b.PopulationHistory[i], 0);
        const uint64_t cells = static_cast<uint64_t>(b.side()) * b.side();
        EXPECT_EQ(random.drawn(), cells + 3u * static_cast<uint64_t>(live)) << "one per cell, three per live cell";
        for (const CellRecord& c : b.Tally) ASSERT_EQ(c, (CellRecord{3, 4, 5, 6}));
    }
}

TEST(Init, ColourFractionsFollowTheirCellAtOnce) {
    Board b;
    b.create(9);
    RandomSequence random(4321), replay(4321);
    engine::Init(b, random);
    for (int32_t x = 0; x <= 9; ++x)
        for (int32_t y = 0; y <= 9; ++y) {
            CellRecord expected{};
            if (replay.next() < 0.2f) {
                expected.State = 1;
                engine::RandomColor(replay, expected);
            }
            ASSERT_EQ(b.cell(x, y), expected) << "(" << x << ", " << y << ")";
        }
}

TEST(Init, SeedsAboutAFifthOfTheCells) {
    Board b;
    b.create(49);
    RandomSequence random(77);
    int64_t live = 0;
    constexpr int kSeedings = 400;  // a million cells
    for (int i = 0; i < kSeedings; ++i) {
        engine::Init(b, random);
        live += b.Population();
    }
    const double share = static_cast<double>(live) / (kSeedings * 2500.0);
    EXPECT_NEAR(share, 0.2, 0.002);  // five standard deviations
}

// ---------------------------------------------------------------------------
// Mutation over many births.

TEST(Mutation, AboutOneBirthInAThousandGetsARandomColourThatObeysTheRule) {
    Board b;
    b.create(199);
    RandomSequence random(555);
    Board spread;  // the inherited colours, from the plain spread
    spread.create(199);
    int64_t births = 0, mutated = 0;
    int generationsSinceSeeding = 0;
    while (births < 400000) {
        if (generationsSinceSeeding++ % 40 == 0) engine::Init(b, random);  // keep the soup busy
        spread.Cells = b.Cells;
        plain::Clear(spread);
        plain::Spread(spread);
        const std::vector<CellRecord> before = b.Cells;
        const uint64_t drawnBefore = random.drawn();
        engine::ReCalc(b, random);
        int64_t stepBirths = 0, stepMutated = 0;
        for (std::size_t i = 0; i < b.Cells.size(); ++i) {
            if (before[i].State != 0 || b.Cells[i].State == 0) continue;
            ++stepBirths;
            const CellRecord& inherited = spread.Tally[i];
            const CellRecord& got = b.Cells[i];
            if (got.Red != inherited.Red || got.Green != inherited.Green || got.Blue != inherited.Blue) {
                ++stepMutated;
                ASSERT_TRUE(obeysColourRule(got));
            }
        }
        // A mutation that happens to redraw the inherited colour cannot be
        // seen in the cell, only in the draws; with colours from 16 million
        // that does not happen here.
        ASSERT_EQ(random.drawn() - drawnBefore, static_cast<uint64_t>(stepBirths + 3 * stepMutated));
        births += stepBirths;
        mutated += stepMutated;
    }
    const double expected = births / 1000.0;
    EXPECT_NEAR(static_cast<double>(mutated), expected, 5 * std::sqrt(expected)) << births << " births";
}

}  // namespace
