// SPDX-License-Identifier: MIT
#pragma once

// What a generation does to the board besides the step itself, apart from
// drawing: the population history moves on by one, and a run that has
// settled gets one new cell. The window's drawing and the generation line's
// replay both go through these, so a replayed generation is the one shown.

#include <cstdint>
#include <optional>

#include "engine/board.h"
#include "engine/generation_step.h"
#include "engine/lineage.h"
#include "engine/random_sequence.h"

namespace app {

// Moves the history on by one drawing and puts `population` in front.
void RecordPopulation(engine::Board& board, int32_t population);

// Brings one random dead cell of the interior that touches a live cell to
// life; false (and nothing drawn from `random`) when no cell qualifies.
bool StimulateOneCell(engine::Board& board, engine::RandomSequence& random);

// The test made after each drawing of a run: a population that stood still,
// or alternated between two values, over the last ten drawings gets one cell
// and the generation count restarts at 1. With a `lineage` (on), the new cell
// is a stimulation founder.
void StimulateIfSettled(engine::Board& board, engine::RandomSequence& random, bool autoStimulate,
                        engine::Lineage* lineage = nullptr);

// One drawing without the picture: the history moves on, and while a run or
// step is standing the settled test is made. The population is counted
// unless the caller knows it.
void RecordDrawing(engine::Board& board, engine::RandomSequence& random, bool running, bool autoStimulate,
                   engine::Lineage* lineage = nullptr, std::optional<int32_t> population = std::nullopt);

// One generation of a run as the window makes it: the step (carrying the
// lineage along when one is given), then its drawing.
void AdvanceGeneration(engine::Board& board, engine::RandomSequence& random, engine::Stepper& stepper,
                       bool autoStimulate, engine::Lineage* lineage = nullptr);

}  // namespace app
