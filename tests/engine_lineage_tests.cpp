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
#include <vector>

#include "engine/lineage.h"
#include "engine/rules.h"
#include "engine/stimulation.h"

namespace {

using engine::Board;
using engine::CellRecord;
using engine::FounderId;
using engine::FounderKind;
using Ids = std::array<FounderId, 3>;

struct PlainFounder {
    FounderKind kind;
    uint64_t origin;
    int32_t generation;
    std::size_t cell;
    CellRecord colour;
    Ids ancestor;
    std::array<int32_t, 3> group;
};

// The rule, literally, on its own copy of the board and the random sequence.
struct PlainTracker {
    Board board;
    engine::RandomSequence random;
    std::vector<Ids> ids;  // per cell, 0 when dead
    std::vector<PlainFounder> founders{{}};  // by number; 0 is none
    FounderId next = 1;
    uint64_t clock = 0;

    FounderId found(std::size_t i, FounderKind kind, Ids ancestor = {}, std::array<int32_t, 3> group = {-1, -1, -1}) {
        founders.push_back({kind, clock, board.Generation, i, board.Cells[i], ancestor, group});
        ids[i] = {next, next, next};
        return next++;
    }
    // Every live cell that was dead in `before` or has another colour.
    void foundChanged(const std::vector<CellRecord>& before, FounderKind kind) {
        for (std::size_t i = 0; i < before.size(); ++i) {
            const CellRecord &now = board.Cells[i], &was = before[i];
            if (!now.live()) ids[i] = {};
            else if (!was.live() || now.Red != was.Red || now.Green != was.Green || now.Blue != was.Blue)
                found(i, kind);
        }
    }
    void start(const Board& b, uint64_t seed, int32_t groups) {
        board = b;
        random.reseed(seed);
        ids.assign(b.Cells.size(), {});
        for (std::size_t i = 0; i < ids.size(); ++i)
            if (board.Cells[i].live()) {
                const int32_t g = static_cast<int32_t>(i / board.side()) * groups / board.side();
                found(i, FounderKind::Start, {}, {g, g, g});
            }
    }
    void step() {
        const int32_t n = board.side();
        const Board old = board;
        const std::vector<Ids> oldIds = ids;
        ++clock;
        ++board.Generation;
        for (int32_t x = 0; x < n; ++x)
            for (int32_t y = 0; y < n; ++y) {
                std::array<std::size_t, 8> parents;
                std::size_t count = 0;
                for (int32_t dx = -1; dx <= 1; ++dx)
                    for (int32_t dy = -1; dy <= 1; ++dy)
                        if ((dx || dy) && old.cell((x + dx + n) % n, (y + dy + n) % n).live()) {
                            // in ascending position
                            const std::size_t p = old.index((x + dx + n) % n, (y + dy + n) % n);
                            std::size_t k = count++;
                            for (; k > 0 && parents[k - 1] > p; --k) parents[k] = parents[k - 1];
                            parents[k] = p;
                        }
                const std::size_t i = old.index(x, y);
                CellRecord& cell = board.Cells[i];
                if (!old.Cells[i].live() && count == 3) {
                    const CellRecord &p0 = old.Cells[parents[0]], &p1 = old.Cells[parents[1]], &p2 = old.Cells[parents[2]];
                    cell = {1, p0.Red, p1.Green, p2.Blue};
                    ids[i] = {oldIds[parents[0]][0], oldIds[parents[1]][1], oldIds[parents[2]][2]};
                    if (engine::ScaledDraw(random.next(), 1000) == 0) {
                        engine::RandomColor(random, cell);
                        const Ids inherited = ids[i];
                        std::array<int32_t, 3> group;
                        for (int c = 0; c < 3; ++c) group[c] = founders[inherited[c]].group[c];
                        found(i, FounderKind::Mutation, inherited, group);
                    }
                } else if (old.Cells[i].live() && (count == 2 || count == 3)) {
                    cell.State = 1;
                } else {
                    cell = {};
                    ids[i] = {};
                }
            }
    }
    void stimulate() {
        const std::vector<CellRecord> before = board.Cells;
        engine::RecordPopulation(board, board.countLive());
        if (engine::AutoStimulate(board, random) > 0) foundChanged(before, FounderKind::Stimulation);
    }
    // Live cells per founder and channel, own and with the mutations below.
    std::vector<std::array<int32_t, 3>> live, clade;  // by number
    void count() {
        live.assign(founders.size(), {});
        clade.assign(founders.size(), {});
        for (std::size_t i = 0; i < ids.size(); ++i)
            if (board.Cells[i].live())
                for (int c = 0; c < 3; ++c) {
                    ++live[ids[i][c]][c];
                    for (FounderId f = ids[i][c]; f != 0; f = founders[f].ancestor[c]) ++clade[f][c];
                }
    }
};

::testing::AssertionResult agree(PlainTracker& plain, engine::Lineage& lineage, const Board& board) {
    auto failure = [] { return ::testing::AssertionFailure(); };
    if (board.Cells != plain.board.Cells) return failure() << "the boards differ";
    const int32_t n = board.side();
    for (std::size_t i = 0; i < board.Cells.size(); ++i)
        for (int c = 0; c < 3; ++c)
            if (lineage.founderAt(static_cast<int32_t>(i / n), static_cast<int32_t>(i % n), c) != plain.ids[i][c])
                return failure() << "cell (" << i / n << ", " << i % n << ") " << engine::ChannelName(c) << ": engine "
                                 << lineage.founderAt(static_cast<int32_t>(i / n), static_cast<int32_t>(i % n), c)
                                 << ", plain " << plain.ids[i][c];
    lineage.tally();
    plain.count();
    if (lineage.foundersMade() != plain.next - 1) return failure() << "founders made " << lineage.foundersMade();
    std::size_t kept = 0;
    for (FounderId id = 1; id < plain.next; ++id) {
        const PlainFounder& p = plain.founders[id];
        const engine::Founder* f = lineage.founder(id);
        const std::array<int32_t, 3>& clade = plain.clade[id];
        const bool held = clade[0] + clade[1] + clade[2] > 0;
        if (!held) {
            if (f) return failure() << "founder " << id << " has no live cell but is not folded";
            continue;
        }
        ++kept;
        if (!f) return failure() << "founder " << id << " is folded but has live cells";
        if (f->kind != p.kind || f->origin != p.origin || f->generation != p.generation ||
            static_cast<std::size_t>(f->x * n + f->y) != p.cell || f->colour != CellRecord(1, p.colour.Red, p.colour.Green, p.colour.Blue) ||
            f->ancestor != p.ancestor || f->group != p.group)
            return failure() << "founder " << id << " (" << engine::FounderKindName(p.kind) << ") has another record";
        for (int c = 0; c < 3; ++c) {
            if (f->live[c] != plain.live[id][c] || f->clade[c] != clade[c] || f->folded[c] != (clade[c] == 0))
                return failure() << "founder " << id << " " << engine::ChannelName(c) << ": live " << f->live[c]
                                 << " vs " << plain.live[id][c] << ", clade " << f->clade[c] << " vs " << clade[c];
        }
    }
    if (kept != lineage.founders().size()) return failure() << lineage.founders().size() << " records, " << kept << " expected";
    return ::testing::AssertionSuccess();
}

class LineageRuns : public ::testing::TestWithParam<engine::KernelSet> {};

// Dense boards of several sizes (the largest gives dozens of mutations),
// small ones run as the window runs them (stimulation), boards with odd
// contents, and edits between generations: set, cleared and recoloured cells.
TEST_P(LineageRuns, EngineMatchesThePlainTracker) {
    engine::Stepper stepper(GetParam());
    struct Scenario {
        int32_t side;
        int generations;
        bool stimulate, odd;
    };
    int mutations = 0, stimulations = 0, edits = 0;
    for (const Scenario& s : {Scenario{200, 25, false, false}, Scenario{64, 120, false, true},
                              Scenario{65, 60, true, false}, Scenario{12, 400, true, false},
                              Scenario{10, 300, true, true}})
        for (uint64_t seed : {1u, 2u}) {
            SCOPED_TRACE(::testing::Message() << "side " << s.side << ", seed " << seed);
            std::mt19937_64 rng(seed * 7919 + s.side);
            Board board;
            board.create(s.side - 1);
            engine::RandomSequence random(seed);
            engine::Init(board, random);
            if (s.odd)  // States other than 1, colour left in dead cells
                for (CellRecord& c : board.Cells)
                    if (rng() % 8 == 0) c.State = c.live() ? static_cast<uint8_t>(2 + rng() % 200) : 0, c.Red = 9;
            const int32_t groups = 3;
            engine::Lineage lineage;
            lineage.start(board, [&](int32_t x, int32_t) { return x * groups / s.side; });
            PlainTracker plain;
            plain.start(board, seed, groups);
            random.reseed(seed);
            for (int g = 1; g <= s.generations; ++g) {
                if (s.stimulate) {
                    lineage.stepAndStimulate(stepper, board, random);
                    plain.step();
                    const uint64_t drawn = plain.random.drawn();
                    plain.stimulate();
                    stimulations += plain.random.drawn() != drawn;
                } else {
                    lineage.step(stepper, board, random);
                    plain.step();
                }
                if (g % 10 == 0 || g == s.generations) {
                    ASSERT_TRUE(agree(plain, lineage, board)) << "generation " << g;
                }
                if (g % (s.stimulate ? 40 : 7) == 0) {  // edits on both boards alike
                    const std::vector<CellRecord> before = plain.board.Cells;
                    // Cells set, cleared and recoloured, then synced; or a
                    // dead cell set, which the next step finds by itself.
                    const bool synced = g % 2 == 0;
                    for (int k = synced ? 0 : 1; k < (synced ? 3 : 2); ++k) {
                        std::size_t i = rng() % board.Cells.size();
                        while (!synced && board.Cells[i].live()) i = rng() % board.Cells.size();
                        CellRecord& cell = board.Cells[i];
                        cell = k == 0 ? CellRecord{} : k == 1 ? CellRecord{1, 1, 2, 3} : CellRecord{cell.State, cell.Red, 77, cell.Blue};
                        plain.board.Cells[i] = cell;
                    }
                    plain.foundChanged(before, FounderKind::Edit);
                    if (synced) lineage.sync(board);
                }
            }
            for (std::size_t id = 1; id < plain.founders.size(); ++id) {
                const PlainFounder& f = plain.founders[id];
                mutations += f.kind == FounderKind::Mutation;
                edits += f.kind == FounderKind::Edit;
            }
        }
    EXPECT_GT(mutations, 20);
    EXPECT_GT(stimulations, 10);
    EXPECT_GT(edits, 10);
}

INSTANTIATE_TEST_SUITE_P(KernelSets, LineageRuns, ::testing::ValuesIn(engine::AvailableKernelSets()),
                         [](const auto& info) { return std::string(engine::KernelSetName(info.param)); });

}  // namespace

namespace {

// A run of a board that is repainted every generation (every live cell a new
// Edit founder, which dies soon) keeps only a few thousand records: the
// automatic tallies fold what no live cell carries.
TEST(Lineage, RecordsStayBoundedOverALongRun) {
    Board board;
    board.create(49);
    engine::RandomSequence random(5);
    engine::Init(board, random);
    engine::Stepper stepper;
    engine::Lineage lineage;
    lineage.start(board);
    std::size_t most = 0;
    for (int g = 1; g <= 3000; ++g) {
        lineage.stepAndStimulate(stepper, board, random);
        for (CellRecord& c : board.Cells)
            if (c.live()) c.Red = static_cast<uint8_t>(c.Red + 1);
        lineage.sync(board);
        most = std::max(most, lineage.founders().size());
    }
    lineage.tally();
    const int64_t edits = lineage.extinctCount(FounderKind::Edit, 0);
    EXPECT_GT(lineage.foundersMade(), 300000u);
    EXPECT_LT(most, 10000u);
    EXPECT_LT(lineage.memoryBytes(), 2u << 20);
    // Every founder made is either kept or counted among the extinct, per channel.
    for (int c = 0; c < 3; ++c) {
        int64_t folded = 0;
        for (int k = 0; k < engine::kFounderKinds; ++k) folded += lineage.extinctCount(FounderKind(k), c);
        const auto kept = std::count_if(lineage.founders().begin(), lineage.founders().end(),
                                        [&](const engine::Founder& f) { return !f.folded[c]; });
        EXPECT_EQ(folded + kept, static_cast<int64_t>(lineage.foundersMade())) << engine::ChannelName(c);
    }
    EXPECT_GT(edits, 300000);
}

// A copy of the lineage, with the board and the random sequence, taken in the
// middle of a run and put back, gives the same run again: the same founders
// under the same numbers, the same counts.
TEST(Lineage, ACopyRestoresTheRunExactly) {
    Board board;
    board.create(63);
    engine::RandomSequence random(11);
    engine::Init(board, random);
    engine::Stepper stepper;
    engine::Lineage lineage;
    lineage.start(board, [](int32_t x, int32_t y) { return (x + y) % 2; });
    lineage.keepFolded(true);
    auto run = [&](int generations) {
        for (int g = 1; g <= generations; ++g) {
            lineage.stepAndStimulate(stepper, board, random);
            if (g % 50 == 0) {
                board.cell(g % 64, 5) = {1, 200, 100, 50};
                lineage.sync(board);
            }
        }
        lineage.tally();
    };
    run(200);
    const Board savedBoard = board;
    const engine::RandomSequence savedRandom = random;
    const engine::Lineage saved = lineage;
    run(400);
    const engine::Lineage after = lineage;
    const Board afterBoard = board;
    EXPECT_FALSE(after == saved);

    board = savedBoard;
    random = savedRandom;
    lineage = saved;
    EXPECT_TRUE(lineage == saved);
    run(400);
    EXPECT_TRUE(board.Cells == afterBoard.Cells);
    EXPECT_TRUE(lineage == after);
    EXPECT_GT(lineage.takeFolded().size(), 0u);
}

}  // namespace
