// SPDX-License-Identifier: MIT
#include "app/stimulation.h"

#include <algorithm>

#include "engine/stimulation.h"

namespace app {

// The rules themselves are the engine's, which the command-line tools share.
void RecordPopulation(engine::Board& board, int32_t population) { engine::RecordPopulation(board, population); }

bool StimulateOneCell(engine::Board& board, engine::RandomSequence& random) {
    return engine::StimulateOneCell(board, random);
}

void StimulateIfSettled(engine::Board& board, engine::RandomSequence& random, bool autoStimulate,
                        engine::Lineage* lineage) {
    if (!autoStimulate) return;
    if (lineage)
        lineage->autoStimulate(board, random);
    else
        engine::AutoStimulate(board, random);
}

void RecordDrawing(engine::Board& board, engine::RandomSequence& random, bool running, bool autoStimulate,
                   engine::Lineage* lineage, std::optional<int32_t> population) {
    engine::RecordPopulation(board, population ? *population : board.countLive());
    if (running) StimulateIfSettled(board, random, autoStimulate, lineage);
}

void AdvanceGeneration(engine::Board& board, engine::RandomSequence& random, engine::Stepper& stepper,
                       bool autoStimulate, engine::Lineage* lineage) {
    if (lineage)
        lineage->step(stepper, board, random);
    else
        stepper.ReCalc(board, random);
    // The step counted the live cells of the board it left.
    RecordDrawing(board, random, true, autoStimulate, lineage, stepper.liveCells(board));
}

}  // namespace app
