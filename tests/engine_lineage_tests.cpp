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
#include <iostream>
#include <map>
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
    std::map<FounderId, PlainFounder> founders;
    FounderId next = 1;
    uint64_t clock = 0;

    FounderId found(std::size_t i, FounderKind kind, Ids ancestor = {}, std::array<int32_t, 3> group = {-1, -1, -1}) {
        founders[next] = {kind, clock, board.Generation, i, board.Cells[i], ancestor, group};
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
                std::vector<std::size_t> parents;
                for (int32_t dx = -1; dx <= 1; ++dx)
                    for (int32_t dy = -1; dy <= 1; ++dy)
                        if ((dx || dy) && old.cell((x + dx + n) % n, (y + dy + n) % n).live())
                            parents.push_back(old.index((x + dx + n) % n, (y + dy + n) % n));
                std::sort(parents.begin(), parents.end());
                const std::size_t i = old.index(x, y);
                CellRecord& cell = board.Cells[i];
                if (!old.Cells[i].live() && parents.size() == 3) {
                    const CellRecord &p0 = old.Cells[parents[0]], &p1 = old.Cells[parents[1]], &p2 = old.Cells[parents[2]];
                    cell = {1, p0.Red, p1.Green, p2.Blue};
                    ids[i] = {oldIds[parents[0]][0], oldIds[parents[1]][1], oldIds[parents[2]][2]};
                    if (engine::ScaledDraw(random.next(), 1000) == 0) {
                        engine::RandomColor(random, cell);
                        const Ids inherited = ids[i];
                        std::array<int32_t, 3> group;
                        for (int c = 0; c < 3; ++c) group[c] = founders.at(inherited[c]).group[c];
                        found(i, FounderKind::Mutation, inherited, group);
                    }
                } else if (old.Cells[i].live() && (parents.size() == 2 || parents.size() == 3)) {
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
    std::map<FounderId, std::array<int32_t, 3>> live, clade;
    void count() {
        live.clear();
        clade.clear();
        for (std::size_t i = 0; i < ids.size(); ++i)
            if (board.Cells[i].live())
                for (int c = 0; c < 3; ++c) {
                    ++live[ids[i][c]][c];
                    for (FounderId f = ids[i][c]; f != 0; f = founders.at(f).ancestor[c]) ++clade[f][c];
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
    for (const auto& [id, p] : plain.founders) {
        const engine::Founder* f = lineage.founder(id);
        const bool held = plain.clade.count(id) > 0;
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
            const int32_t own = plain.live.count(id) ? plain.live[id][c] : 0;
            if (f->live[c] != own || f->clade[c] != plain.clade[id][c] || f->folded[c] != (plain.clade[id][c] == 0))
                return failure() << "founder " << id << " " << engine::ChannelName(c) << ": live " << f->live[c]
                                 << " vs " << own << ", clade " << f->clade[c] << " vs " << plain.clade[id][c];
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
                if (g % 5 == 0 || g == s.generations) {
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
            for (const auto& [id, f] : plain.founders) {
                mutations += f.kind == FounderKind::Mutation;
                edits += f.kind == FounderKind::Edit;
            }
        }
    EXPECT_GT(mutations, 20);
    EXPECT_GT(stimulations, 10);
    EXPECT_GT(edits, 10);
    std::cout << mutations << ' ' << stimulations << ' ' << edits << '\n';
}

INSTANTIATE_TEST_SUITE_P(KernelSets, LineageRuns, ::testing::ValuesIn(engine::AvailableKernelSets()),
                         [](const auto& info) { return std::string(engine::KernelSetName(info.param)); });

}  // namespace
