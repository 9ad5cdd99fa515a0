// SPDX-License-Identifier: MIT
// engine::Stepper against the literal four-pass step, on hundreds of random
// boards: every field of every cell, the generation, and the random fractions
// consumed must agree after every generation. Once for every set of kernels
// this processor can run (the portable one on every machine).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/generation_step.h"
#include "engine/rules.h"
#include "support/plain_step.h"

namespace {

using engine::Board;
using engine::CellRecord;
using engine::RandomSequence;

::testing::AssertionResult agree(const Board& fast, const RandomSequence& fastRandom, const Board& slow,
                                 const RandomSequence& slowRandom) {
    auto failure = [] { return ::testing::AssertionFailure(); };
    if (fast.Generation != slow.Generation || fastRandom.drawn() != slowRandom.drawn())
        return failure() << "generation " << fast.Generation << " vs " << slow.Generation << ", fractions drawn "
                         << fastRandom.drawn() << " vs " << slowRandom.drawn();
    for (std::size_t i = 0; i < fast.Cells.size(); ++i) {
        const CellRecord &f = fast.Cells[i], &s = slow.Cells[i];
        if (f != s)
            return failure() << "cell (" << i / fast.side() << ", " << i % fast.side() << "): engine {" << +f.State
                             << ", " << +f.Red << ", " << +f.Green << ", " << +f.Blue << "}, plain {" << +s.State
                             << ", " << +s.Red << ", " << +s.Green << ", " << +s.Blue << "}";
    }
    return ::testing::AssertionSuccess();
}

// A live cell as the program writes it or, when `odd`, as a pattern file or
// the clipboard may bring it: any non-zero State byte, any colour.
CellRecord liveCell(std::mt19937_64& rng, bool odd) {
    const auto byte = [&] { return static_cast<uint8_t>(rng()); };
    return {odd ? static_cast<uint8_t>(1 + rng() % 255) : uint8_t{1}, byte(), byte(), byte()};
}

// Sides from the smallest board to the largest, around the 64-cell words the
// engine counts in, mixed so its scratch space is grown and reused in both
// directions. `Odd` boards also get odd states and leftover colours in dead
// cells (and the plain step's work board starts with rubbish).
//
// Every birth draws one fraction and a mutation three more, so the draws also
// tell how many births mutated: about one in a thousand.
class Differential : public ::testing::TestWithParam<engine::KernelSet> {};

TEST_P(Differential, EngineMatchesThePlainStep) {
    engine::Stepper stepper(GetParam());
    ASSERT_EQ(stepper.kernelSet(), GetParam());
    stepper.useSecondThread(true);  // boards of 512 and more by two threads
    std::vector<CellRecord> Tally;  // the plain step's work board
    int64_t births = 0, mutations = 0;
    struct Scenario {
        int32_t side;
        int generations, seeds;  // seeds: boards per density and kind
    };
    const Scenario scenarios[] = {{10, 60, 4}, {200, 16, 1}, {11, 60, 3}, {63, 30, 2}, {64, 30, 2}, {65, 30, 2},
                                  {37, 40, 2}, {127, 20, 1}, {128, 20, 1}, {129, 20, 1}, {50, 40, 2}, {199, 12, 1},
                                  // five words a column and more: the kernels that take the words from the side
                                  {257, 6, 1}, {2048, 1, 1}};
    for (const Scenario& s : scenarios)
        for (int density : {0, 4, 20, 50, 100})
            for (bool odd : {false, true})
                // The largest board once, half full and clean (the births and
                // deaths column by column): four million cells a generation
                // are slow beside the plain step under a sanitizer.
                if (s.side <= 1024 || (density == 50 && !odd))
                for (int seed = 0; seed < s.seeds; ++seed) {
                    const uint64_t boardSeed = s.side * 1000003u + density * 1009u + odd * 7u + seed;
                    SCOPED_TRACE(::testing::Message() << "side " << s.side << ", density " << density << "%, "
                                                      << (odd ? "odd" : "clean") << " board, seed " << boardSeed);
                    std::mt19937_64 rng(boardSeed);
                    const auto byte = [&] { return static_cast<uint8_t>(rng()); };
                    Board fast;
                    fast.create(s.side - 1);
                    fast.Generation = static_cast<int32_t>(rng() % 1000);
                    for (CellRecord& c : fast.Cells)
                        c = int(rng() % 100) < density ? liveCell(rng, odd)
                            : odd                      ? CellRecord{0, byte(), byte(), byte()}
                                                       : CellRecord{};
                    Tally.resize(fast.Cells.size());
                    if (odd)
                        for (CellRecord& c : Tally) c = {byte(), byte(), byte(), byte()};
                    Board slow = fast;
                    RandomSequence fastRandom(boardSeed), slowRandom(boardSeed);
                    for (int g = 1; g <= s.generations; ++g) {
                        const std::vector<CellRecord> before = fast.Cells;
                        const uint64_t drawn = fastRandom.drawn();
                        stepper.ReCalc(fast, fastRandom);
                        int64_t born = 0;
                        for (std::size_t i = 0; i < before.size(); ++i) born += !before[i].State && fast.Cells[i].State;
                        births += born;
                        mutations += (static_cast<int64_t>(fastRandom.drawn() - drawn) - born) / 3;
                        plain::Step(slow, Tally, slowRandom);
                        ASSERT_TRUE(agree(fast, fastRandom, slow, slowRandom)) << "after generation " << g;
                        // A few fresh cells on both boards alike keep long runs from settling.
                        if (g % 8 == 0)
                            for (std::size_t k = 0; k <= fast.Cells.size() / 20; ++k) {
                                const std::size_t i = rng() % fast.Cells.size();
                                fast.Cells[i] = slow.Cells[i] = liveCell(rng, odd);
                            }
                    }
                    ASSERT_EQ(fastRandom.next(), slowRandom.next());
                }
    const double expected = static_cast<double>(births) / 1000.0;
    EXPECT_NEAR(static_cast<double>(mutations), expected, 5 * std::sqrt(expected)) << births << " births";
}

// Large boards are stepped column by column, and odd contents are put right
// from the column where they are first seen: a clean board with one odd
// record, in the first, last or a middle column, alive or dead.
TEST_P(Differential, OneOddRecordOnALargeBoard) {
    engine::Stepper stepper(GetParam());
    stepper.useSecondThread(true);
    std::vector<CellRecord> Tally;
    for (const int32_t side : {257, 600})
        for (const int32_t column : {0, 1, side / 2 - 1, side / 2, side - 1})
            for (const CellRecord odd : {CellRecord{0, 9, 8, 7}, CellRecord{7, 1, 2, 3}}) {
                SCOPED_TRACE(::testing::Message() << "side " << side << ", column " << column << ", State "
                                                  << +odd.State);
                std::mt19937_64 rng(side * 31u + column);
                Board fast;
                fast.create(side - 1);
                for (CellRecord& c : fast.Cells)
                    if (rng() % 100 < 25) c = liveCell(rng, false);
                fast.cell(column, static_cast<int32_t>(rng() % side)) = odd;
                Tally.assign(fast.Cells.size(), CellRecord{});
                Board slow = fast;
                RandomSequence fastRandom(column), slowRandom(column);
                for (int g = 1; g <= 2; ++g) {
                    stepper.ReCalc(fast, fastRandom);
                    plain::Step(slow, Tally, slowRandom);
                    ASSERT_TRUE(agree(fast, fastRandom, slow, slowRandom)) << "after generation " << g;
                }
            }
}

INSTANTIATE_TEST_SUITE_P(KernelSets, Differential, ::testing::ValuesIn(engine::AvailableKernelSets()),
                         [](const auto& info) { return std::string(engine::KernelSetName(info.param)); });

// A set the processor lacks is refused, not run; the fastest set is the one a
// Stepper takes by default.
TEST(KernelSets, OnlyAvailableSetsAreRun) {
    const std::vector<engine::KernelSet> sets = engine::AvailableKernelSets();
    ASSERT_FALSE(sets.empty());
    EXPECT_EQ(sets.front(), engine::KernelSet::Portable);
    EXPECT_EQ(engine::Stepper().kernelSet(), sets.back());
    for (auto set : {engine::KernelSet::Portable, engine::KernelSet::Sse2, engine::KernelSet::Bmi,
                     engine::KernelSet::Avx2}) {
        if (std::find(sets.begin(), sets.end(), set) == sets.end()) {
            EXPECT_THROW(engine::Stepper{set}, std::invalid_argument) << engine::KernelSetName(set);
        }
    }
}

}  // namespace
