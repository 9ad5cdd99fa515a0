// SPDX-License-Identifier: MIT
#include "app/stimulation.h"

#include <algorithm>

#include "engine/rules.h"

namespace app {

void RecordPopulation(engine::Board& board, int32_t population) {
    auto& history = board.PopulationHistory;
    for (std::size_t i = history.size() - 1; i > 0; --i) history[i] = history[i - 1];
    history[0] = population;
}

// Brings one random dead cell of the interior (rows and columns 1 .. GridMax - 1)
// that touches a live cell to life. Such a cell need not exist (an empty board,
// or one whose interior is all live, drawn ten times after a single step); the
// random search would then never end, so the board is checked first and, with
// no candidate, nothing is stimulated and no fraction is drawn.
bool StimulateOneCell(engine::Board& board, engine::RandomSequence& random) {
    const int32_t g = board.GridMax;
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
        const int32_t x = engine::ScaledDraw(random.next(), g - 1) + 1;
        const int32_t y = engine::ScaledDraw(random.next(), g - 1) + 1;
        if (live(x, y) || !touchesLife(x, y)) continue;
        engine::CellRecord& c = board.cell(x, y);
        c.State = 1;
        engine::RandomColor(random, c);
        return true;
    }
}

void StimulateIfSettled(engine::Board& board, engine::RandomSequence& random, bool autoStimulate) {
    auto& p = board.PopulationHistory;
    const bool still = std::all_of(p.begin(), p.end(), [&](int32_t v) { return v == p[0]; });
    if (still && autoStimulate && StimulateOneCell(board, random)) {
        ++p[0];
        board.Generation = 1;
    }
    const bool alternating = p[0] == p[2] && p[0] == p[4] && p[0] == p[6] && p[0] == p[8] && p[1] == p[3] &&
                             p[1] == p[5] && p[1] == p[7] && p[1] == p[9];
    if (alternating && autoStimulate && StimulateOneCell(board, random)) {
        ++p[0];
        board.Generation = 1;
    }
}

void RecordDrawing(engine::Board& board, engine::RandomSequence& random, bool running, bool autoStimulate) {
    RecordPopulation(board, board.countLive());
    if (running) StimulateIfSettled(board, random, autoStimulate);
}

void AdvanceGeneration(engine::Board& board, engine::RandomSequence& random, engine::Stepper& stepper,
                       bool autoStimulate) {
    stepper.ReCalc(board, random);
    RecordDrawing(board, random, true, autoStimulate);
}

}  // namespace app
