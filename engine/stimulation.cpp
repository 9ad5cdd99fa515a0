// SPDX-License-Identifier: MIT
#include "engine/stimulation.h"

#include <algorithm>

#include "engine/rules.h"

namespace engine {

void RecordPopulation(Board& board, int32_t population) {
    auto& history = board.PopulationHistory;
    for (std::size_t i = history.size() - 1; i > 0; --i) history[i] = history[i - 1];
    history[0] = population;
}

// Such a cell need not exist (an empty board, or one whose interior is all
// live); the random search would then never end, so the board is checked first.
bool StimulateOneCell(Board& board, RandomSequence& random) {
    const int32_t g = board.GridMax;
    if (board.Cells.size() != static_cast<std::size_t>(board.side()) * static_cast<std::size_t>(board.side()))
        return false;
    auto live = [&](int32_t x, int32_t y) { return board.cell(x, y).State != 0; };
    auto touchesLife = [&](int32_t x, int32_t y) {
        for (int32_t dx = -1; dx <= 1; ++dx)
            for (int32_t dy = -1; dy <= 1; ++dy)
                if ((dx || dy) && live(x + dx, y + dy)) return true;
        return false;
    };
    bool anyCandidate = false;
    for (int32_t x = 1; x < g && !anyCandidate; ++x)
        for (int32_t y = 1; y < g && !anyCandidate; ++y) anyCandidate = !live(x, y) && touchesLife(x, y);
    if (!anyCandidate) return false;

    for (;;) {
        const int32_t x = ScaledDraw(random.next(), g - 1) + 1;
        const int32_t y = ScaledDraw(random.next(), g - 1) + 1;
        if (live(x, y) || !touchesLife(x, y)) continue;
        CellRecord& c = board.cell(x, y);
        c.State = 1;
        RandomColor(random, c);
        return true;
    }
}

namespace {
bool Still(const Board& board) {
    const auto& p = board.PopulationHistory;
    return std::all_of(p.begin(), p.end(), [&](int32_t v) { return v == p[0]; });
}
bool Alternating(const Board& board) {
    const auto& p = board.PopulationHistory;
    return p[0] == p[2] && p[0] == p[4] && p[0] == p[6] && p[0] == p[8] && p[1] == p[3] && p[1] == p[5] &&
           p[1] == p[7] && p[1] == p[9];
}
}  // namespace

bool MayStimulate(const Board& board) { return Still(board) || Alternating(board); }

int AutoStimulate(Board& board, RandomSequence& random) {
    auto& p = board.PopulationHistory;
    int stimulated = 0;
    const bool still = Still(board);
    if (still && StimulateOneCell(board, random)) {
        ++p[0];
        board.Generation = 1;
        ++stimulated;
    }
    if (Alternating(board) && StimulateOneCell(board, random)) {
        ++p[0];
        board.Generation = 1;
        ++stimulated;
    }
    return stimulated;
}

void StepAndStimulate(Stepper& stepper, Board& board, RandomSequence& random) {
    stepper.ReCalc(board, random);
    RecordPopulation(board, stepper.liveCells(board));
    AutoStimulate(board, random);
}

}  // namespace engine
