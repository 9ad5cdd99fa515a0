// engine::ReCalc against the literal four-pass step, on hundreds of random
// boards: every field of every cell, the generation, and the random fractions
// consumed must agree after every generation.

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <sstream>
#include <vector>

#include "engine/rules.h"
#include "support/plain_step.h"

namespace {

using engine::Board;
using engine::CellRecord;
using engine::RandomSequence;

struct Scenario {
    int32_t side;
    int generations;
    int seeds;  // boards per density and kind
};

std::string describe(const CellRecord& c) {
    std::ostringstream s;
    s << "{" << c.State << ", " << c.Red << ", " << c.Green << ", " << c.Blue << "}";
    return s.str();
}

::testing::AssertionResult sameBoard(const Board& fast, const Board& plainBoard) {
    if (fast.Generation != plainBoard.Generation)
        return ::testing::AssertionFailure() << "generation " << fast.Generation << " vs " << plainBoard.Generation;
    for (int32_t x = 0; x <= fast.GridMax; ++x)
        for (int32_t y = 0; y <= fast.GridMax; ++y)
            if (fast.cell(x, y) != plainBoard.cell(x, y))
                return ::testing::AssertionFailure() << "cell (" << x << ", " << y << "): engine "
                                                     << describe(fast.cell(x, y)) << ", plain "
                                                     << describe(plainBoard.cell(x, y));
    return ::testing::AssertionSuccess();
}

// A live cell as a board file or the clipboard may bring it: any non-zero
// State, any colour values.
CellRecord oddLiveCell(std::mt19937_64& rng) {
    static constexpr int32_t kStates[] = {1, 2, 5, -3, 9, 255, 256, INT32_MAX, INT32_MIN};
    std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
    return {kStates[rng() % std::size(kStates)], any(rng), any(rng), any(rng)};
}

CellRecord liveCell(std::mt19937_64& rng, bool odd) {
    if (odd) return oddLiveCell(rng);
    std::uniform_int_distribution<int32_t> component(0, 255);
    return {1, component(rng), component(rng), component(rng)};
}

// Fills the board at the given density. `odd` boards also get odd states,
// colours out of range, stale colours in dead cells and rubbish in Tally.
void fill(Board& b, std::mt19937_64& rng, int densityPercent, bool odd) {
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
    for (CellRecord& c : b.Cells) {
        if (percent(rng) < densityPercent)
            c = liveCell(rng, odd);
        else
            c = odd ? CellRecord{0, any(rng), any(rng), any(rng)} : CellRecord{};
    }
    if (odd)
        for (CellRecord& c : b.Tally) c = {any(rng), any(rng), any(rng), any(rng)};
}

// Brings a few random cells to life on both boards alike, so long runs keep
// having births instead of settling into still lifes.
void sprinkle(Board& fast, Board& plainBoard, std::mt19937_64& rng, bool odd) {
    std::uniform_int_distribution<std::size_t> where(0, fast.Cells.size() - 1);
    const std::size_t count = fast.Cells.size() / 20 + 1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t k = where(rng);
        fast.Cells[k] = plainBoard.Cells[k] = liveCell(rng, odd);
    }
}

class Differential : public ::testing::TestWithParam<Scenario> {};

TEST_P(Differential, EngineMatchesThePlainStep) {
    const Scenario& s = GetParam();
    for (int density : {0, 5, 20, 50, 90, 100}) {
        for (bool odd : {false, true}) {
            for (int seed = 0; seed < s.seeds; ++seed) {
                const uint64_t boardSeed = static_cast<uint64_t>(s.side) * 1000003u + density * 1009u + odd * 7u + seed;
                SCOPED_TRACE(::testing::Message() << "side " << s.side << ", density " << density << "%, "
                                                  << (odd ? "odd" : "clean") << " board, seed " << boardSeed);
                std::mt19937_64 rng(boardSeed);
                Board fast;
                fast.create(s.side - 1);
                fast.Generation = static_cast<int32_t>(rng() % 1000);
                fill(fast, rng, density, odd);
                Board plainBoard = fast;
                // Two independent copies of the same sequence.
                RandomSequence fastRandom(boardSeed), plainRandom(boardSeed);

                for (int g = 1; g <= s.generations; ++g) {
                    engine::ReCalc(fast, fastRandom);
                    plain::Step(plainBoard, plainRandom);
                    ASSERT_TRUE(sameBoard(fast, plainBoard)) << "after generation " << g;
                    ASSERT_EQ(fastRandom.drawn(), plainRandom.drawn()) << "after generation " << g;
                    if (g % 8 == 0) sprinkle(fast, plainBoard, rng, odd);
                }
                ASSERT_EQ(fastRandom.next(), plainRandom.next());
            }
        }
    }
}

// Sizes mix small and large so the engine's scratch space is grown and reused
// in both directions, and include sides that are not multiples of 8 or 64.
// Sides 1 to 4 never occur in the program, but the step must still agree
// there, where a neighbour can be the cell itself or be reached twice.
INSTANTIATE_TEST_SUITE_P(Boards, Differential,
                         ::testing::Values(Scenario{10, 60, 4}, Scenario{200, 16, 1}, Scenario{11, 60, 4},
                                           Scenario{37, 40, 3}, Scenario{1, 10, 2}, Scenario{2, 10, 2},
                                           Scenario{3, 20, 3}, Scenario{4, 20, 3}, Scenario{50, 40, 3},
                                           Scenario{64, 30, 2}, Scenario{97, 20, 1}, Scenario{23, 40, 3}),
                         [](const auto& info) { return "Side" + std::to_string(info.param.side); });

// Mutations are rare; make sure the comparison also covers boards where they
// happen often enough to matter, by running long soups on a mid-sized board.
TEST(DifferentialMutations, LongSoupsAgreeThroughManyMutations) {
    Board fast;
    fast.create(59);
    RandomSequence seeding(31);
    engine::Init(fast, seeding);
    Board plainBoard = fast;
    RandomSequence fastRandom(8), plainRandom(8);
    std::mt19937_64 rng(8);
    uint64_t births = 0;
    for (int g = 1; g <= 600; ++g) {
        const uint64_t before = fastRandom.drawn();
        engine::ReCalc(fast, fastRandom);
        plain::Step(plainBoard, plainRandom);
        births += fastRandom.drawn() - before;
        ASSERT_TRUE(sameBoard(fast, plainBoard)) << "after generation " << g;
        ASSERT_EQ(fastRandom.drawn(), plainRandom.drawn());
        if (g % 10 == 0) sprinkle(fast, plainBoard, rng, false);
    }
    EXPECT_GT(births, 20000u) << "enough births for some mutations";
}

}  // namespace
