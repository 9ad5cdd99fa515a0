// SPDX-License-Identifier: MIT
#pragma once

// Lineage by the rule, literally, for checking engine::Lineage and what the
// window shows of it: every newborn takes each channel's founder from the
// parent that gave it that channel (its three live neighbours in ascending
// position: red from the first, green from the second, blue from the third);
// a mutated newborn, a stimulated cell and an edited cell become founders.

#include <array>
#include <cstdint>
#include <tuple>
#include <vector>

#include "engine/board.h"
#include "engine/lineage.h"
#include "engine/random_sequence.h"
#include "engine/rules.h"
#include "engine/stimulation.h"

namespace support {

using engine::Board;
using engine::CellRecord;
using engine::Founder;
using engine::FounderId;
using engine::FounderKind;
using Ids = std::array<FounderId, 3>;

// The rule, literally, on its own copy of the board and the random sequence.
struct PlainTracker {
    Board board;
    engine::RandomSequence random;
    std::vector<Ids> ids;                // per cell, 0 when dead
    std::vector<Founder> founders{{}};  // by number; 0 is none
    uint64_t clock = 0;

    void found(std::size_t i, FounderKind kind, Ids ancestor = {}, std::array<int32_t, 3> group = {-1, -1, -1}) {
        const CellRecord& c = board.Cells[i];
        Founder f{founders.size(), kind, clock, board.Generation, static_cast<int32_t>(i / board.side()),
                  static_cast<int32_t>(i % board.side()), CellRecord(1, c.Red, c.Green, c.Blue),
                  ancestor, ancestor, group};
        ids[i] = {f.id, f.id, f.id};
        founders.push_back(f);
    }
    // Starts on `start` with the sequence `r`, every live cell a start founder.
    void begin(const Board& start, const engine::RandomSequence& r) {
        board = start;
        random = r;
        ids.assign(board.Cells.size(), {});
        for (std::size_t i = 0; i < ids.size(); ++i)
            if (board.Cells[i].live()) found(i, FounderKind::Start);
    }
    // One generation as the window makes it: the step, the drawing's count of
    // the live cells, then auto-stimulation. Returns the cells stimulated.
    int windowStep() {
        step();
        engine::RecordPopulation(board, board.countLive());
        const std::vector<CellRecord> before = board.Cells;
        const int stimulated = engine::AutoStimulate(board, random);
        foundChanged(before, FounderKind::Stimulation);
        return stimulated;
    }
    // Every live cell that was dead in `before` or has another colour.
    void foundChanged(const std::vector<CellRecord>& before, FounderKind kind) {
        for (std::size_t i = 0; i < before.size(); ++i) {
            const CellRecord &now = board.Cells[i], &was = before[i];
            if (!now.live()) ids[i] = {};
            else if (!was.live() || std::tie(now.Red, now.Green, now.Blue) != std::tie(was.Red, was.Green, was.Blue))
                found(i, kind);
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
                std::size_t parents[8], count = 0;  // the live neighbours in ascending position
                for (int32_t dx = -1; dx <= 1; ++dx)
                    for (int32_t dy = -1; dy <= 1; ++dy)
                        if ((dx || dy) && old.cell((x + dx + n) % n, (y + dy + n) % n).live()) {
                            const std::size_t p = old.index((x + dx + n) % n, (y + dy + n) % n);
                            std::size_t k = count++;
                            for (; k > 0 && parents[k - 1] > p; --k) parents[k] = parents[k - 1];
                            parents[k] = p;
                        }
                const std::size_t i = old.index(x, y);
                CellRecord& cell = board.Cells[i];
                if (!old.Cells[i].live() && count == 3) {
                    cell = {1, old.Cells[parents[0]].Red, old.Cells[parents[1]].Green, old.Cells[parents[2]].Blue};
                    ids[i] = {oldIds[parents[0]][0], oldIds[parents[1]][1], oldIds[parents[2]][2]};
                    if (engine::ScaledDraw(random.next(), 1000) == 0) {
                        engine::RandomColor(random, cell);
                        const Ids from = ids[i];
                        found(i, FounderKind::Mutation, from,
                              {founders[from[0]].group[0], founders[from[1]].group[1], founders[from[2]].group[2]});
                    }
                } else if (old.Cells[i].live() && (count == 2 || count == 3)) {
                    cell.State = 1;
                } else {
                    cell = {};
                    ids[i] = {};
                }
            }
    }
    // Per founder and channel: live cells carrying it, those and the live
    // cells of the mutations below it, the mutations right below it with live
    // cells in their clade. Kept: carried by live cells, or where lines part.
    std::vector<std::array<int32_t, 3>> live, clade, branches;
    void count() {
        live.assign(founders.size(), {});
        clade = branches = live;
        for (std::size_t i = 0; i < ids.size(); ++i)
            for (int c = 0; c < 3 && board.Cells[i].live(); ++c) {
                ++live[ids[i][c]][c];
                for (FounderId f = ids[i][c]; f != 0; f = founders[f].ancestor[c]) ++clade[f][c];
            }
        for (const Founder& f : founders)
            for (int c = 0; c < 3; ++c) branches[f.ancestor[c]][c] += clade[f.id][c] > 0;
    }
    bool kept(FounderId f, int c) const { return clade[f][c] > 0 && (live[f][c] > 0 || branches[f][c] > 1); }
};

}  // namespace support
