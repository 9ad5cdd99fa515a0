// SPDX-License-Identifier: MIT
// engine::Lineage against a plain tracker written from the rule: every
// newborn takes each channel's founder from the parent that gave it that
// channel (its three live neighbours in ascending position: red from the
// first, green from the second, blue from the third); a mutated newborn, a
// stimulated cell and an edited cell become founders. Compared cell by cell
// and founder by founder over seeded runs, with every kernel set this
// processor can run. Also: records stay bounded over a long run, and a copy
// restores the whole state exactly.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/lineage.h"
#include "engine/rules.h"
#include "engine/stimulation.h"
#include "support/plain_tracker.h"

namespace {

using namespace support;  // Board, CellRecord, Founder, FounderId, FounderKind, PlainTracker

// `links` counts the founders folded as links of a single line.
::testing::AssertionResult agree(PlainTracker& plain, engine::Lineage& lineage, const Board& board, int& links) {
    if (board.Cells != plain.board.Cells) return ::testing::AssertionFailure() << "the boards differ";
    for (std::size_t i = 0; i < board.Cells.size(); ++i)
        for (int c = 0; c < 3; ++c)
            if (const FounderId f = lineage.founderAt(static_cast<int32_t>(i / board.side()),
                                                      static_cast<int32_t>(i % board.side()), c);
                f != plain.ids[i][c])
                return ::testing::AssertionFailure() << "cell " << i << " " << engine::ChannelName(c) << ": " << f
                                                     << ", plain " << plain.ids[i][c];
    lineage.tally();
    plain.count();
    std::size_t kept = 0;
    for (const Founder& p : plain.founders) {
        const Founder* f = lineage.founder(p.id);
        const bool held = plain.kept(p.id, 0) || plain.kept(p.id, 1) || plain.kept(p.id, 2);
        kept += held;
        auto fields = [](const Founder& r) {
            return std::tie(r.kind, r.origin, r.generation, r.x, r.y, r.colour, r.ancestor, r.group);
        };
        if (held != (f != nullptr) || (f && fields(*f) != fields(p)))
            return ::testing::AssertionFailure() << "founder " << p.id << " " << (f ? "another record" : "missing");
        for (int c = 0; c < 3 && f; ++c) {
            FounderId nearest = p.ancestor[c];
            while (nearest != 0 && !plain.kept(nearest, c)) nearest = plain.founders[nearest].ancestor[c];
            links += plain.clade[p.id][c] > 0 && f->folded[c];
            if (f->folded[c] != !plain.kept(p.id, c) ||
                (!f->folded[c] && std::tie(f->keptAncestor[c], f->live[c], f->clade[c]) !=
                                      std::tie(nearest, plain.live[p.id][c], plain.clade[p.id][c])))
                return ::testing::AssertionFailure() << "founder " << p.id << " " << engine::ChannelName(c)
                                                     << ": live " << f->live[c] << ", clade " << f->clade[c];
        }
    }
    if (kept != lineage.founders().size() || lineage.foundersMade() + 1 != plain.founders.size())
        return ::testing::AssertionFailure() << lineage.founders().size() << " records, " << kept << " expected";
    return ::testing::AssertionSuccess();
}

class LineageRuns : public ::testing::TestWithParam<engine::KernelSet> {};

// Dense boards of several sizes (the largest give dozens of mutations), ones
// beyond the caches (stepped in one sweep, the largest by two threads),
// small ones run as the window runs them (stimulation), boards with odd
// contents, and edits between generations: cells set, cleared and
// recoloured, then synced; or a blinker drawn into a cleared square, which
// the next step finds (its ends die in that step, parents of its newborns).
TEST_P(LineageRuns, EngineMatchesThePlainTracker) {
    int mutations = 0, stimulations = 0, edits = 0, links = 0;
    const std::tuple<int32_t, int, bool, bool> scenarios[] = {
        {200, 25, false, false}, {64, 120, false, true}, {65, 60, true, false}, {12, 400, true, false},
        {10, 300, true, true},   {300, 8, false, true},  {600, 8, false, false}};
    for (const auto& [side, generations, stimulate, odd] : scenarios)
        for (uint64_t seed : {1u, 2u}) {
            if (side > 256 && seed > 1) continue;  // one seed for the slow sides
            SCOPED_TRACE(::testing::Message() << "side " << side << ", seed " << seed);
            engine::Stepper stepper(GetParam());
            stepper.useSecondThread(side >= 512);
            std::mt19937_64 rng(seed * 7919 + side);
            PlainTracker plain;
            plain.random.reseed(seed);
            plain.board.create(side - 1);
            engine::Init(plain.board, plain.random);
            if (odd)  // States other than 1, colour left in dead cells
                for (CellRecord& c : plain.board.Cells)
                    if (rng() % 8 == 0) c = {c.live() ? 2 + static_cast<int>(rng() % 200) : 0, 9, c.Green, c.Blue};
            plain.ids.resize(plain.board.Cells.size());
            for (std::size_t i = 0; i < plain.ids.size(); ++i)
                if (const int32_t group = static_cast<int32_t>(i) / side * 3 / side; plain.board.Cells[i].live())
                    plain.found(i, FounderKind::Start, {}, {group, group, group});
            Board board = plain.board;
            engine::Lineage lineage;
            lineage.start(board, [n = side](int32_t x, int32_t) { return x * 3 / n; });
            engine::RandomSequence random = plain.random;
            for (int g = 1; g <= generations; ++g) {
                if (stimulate)
                    lineage.stepAndStimulate(stepper, board, random), stimulations += plain.windowStep();
                else
                    lineage.step(stepper, board, random), plain.step();
                if (g % 10 == 0 || g == generations) {
                    ASSERT_TRUE(agree(plain, lineage, board, links)) << g;
                }
                if (g % (stimulate ? 40 : 7) != 0) continue;
                const std::vector<CellRecord> before = board.Cells;
                const bool synced = g % 2 == 0;
                if (!synced) {
                    const auto x = static_cast<int32_t>(rng() % side), y = static_cast<int32_t>(rng() % side);
                    for (int32_t d = 0; d < 25; ++d) board.cell((x + d / 5) % side, (y + d % 5) % side) = {};
                    for (int32_t d = 1; d <= 3; ++d) board.cell((x + 2) % side, (y + d) % side) = {1, d, 2 * d, 3 * d};
                }
                for (int k = 0; k < (synced ? 3 : 0); ++k) {
                    CellRecord& cell = board.Cells[rng() % board.Cells.size()];
                    cell = k == 0   ? CellRecord{}
                           : k == 1 ? CellRecord{1, 1, 2, 3}
                                    : CellRecord{cell.State, cell.Red, 77, cell.Blue};
                }
                plain.board.Cells = board.Cells;
                plain.foundChanged(before, FounderKind::Edit);
                if (synced) lineage.sync(board);
            }
            for (const Founder& f : plain.founders) {
                mutations += f.kind == FounderKind::Mutation;
                edits += f.kind == FounderKind::Edit;
            }
        }
    EXPECT_GT(mutations, 20);
    EXPECT_GT(stimulations, 5);
    EXPECT_GT(edits, 10);
    EXPECT_GT(links, 0);
}

INSTANTIATE_TEST_SUITE_P(KernelSets, LineageRuns, ::testing::ValuesIn(engine::AvailableKernelSets()),
                         [](const auto& info) { return std::string(engine::KernelSetName(info.param)); });

// Records stay bounded, whatever the length of the run: a field of blinkers
// mutates about once in five generations, and the lines of descent through
// those mutations would pile up if their links were kept; then the same board
// repainted every generation (every live cell a new Edit founder, which dies
// soon). Every founder made is either kept or counted among the extinct.
TEST(Lineage, RecordsStayBoundedOverALongRun) {
    Board board;
    board.create(49);
    for (int32_t i = 0; i < 300; ++i) board.cell(1 + i / 30 * 5 + i % 3, 2 + i % 30 / 3 * 5) = {1, i, 7 * i, 3 * i};
    engine::RandomSequence random(5);
    engine::Stepper stepper;
    engine::Lineage lineage;
    lineage.start(board);
    std::size_t most = 0;
    for (int g = 1; g <= 32000; ++g) {
        lineage.step(stepper, board, random);
        if (g == 30000) {
            lineage.tally();
            EXPECT_GT(lineage.extinctCount(FounderKind::Mutation, 0), 3000);
            EXPECT_LE(lineage.founders().size(), 2u * 300u);
        }
        if (g > 30000) {
            for (CellRecord& c : board.Cells) c.Red = static_cast<uint8_t>(c.Red + c.live());
            lineage.sync(board);
        }
        most = std::max(most, lineage.founders().size());
    }
    EXPECT_LT(most, 10000u);
    EXPECT_EQ(board.countLive(), 300);
    EXPECT_GT(lineage.foundersMade(), 600000u);
    EXPECT_LT(lineage.memoryBytes(), 2u << 20);
    lineage.tally();
    for (int c = 0; c < 3; ++c) {
        int64_t folded = 0;
        for (int k = 0; k < engine::kFounderKinds; ++k) folded += lineage.extinctCount(FounderKind(k), c);
        folded += std::count_if(lineage.founders().begin(), lineage.founders().end(),
                                [&](const Founder& f) { return !f.folded[c]; });
        EXPECT_EQ(folded, static_cast<int64_t>(lineage.foundersMade())) << engine::ChannelName(c);
    }
}

}  // namespace
