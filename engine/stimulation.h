// SPDX-License-Identifier: MIT
#pragma once

// Auto-stimulation, which keeps a run from settling, and the population
// history it reads. The window runs it after every drawing while a run or a
// step is going; the command-line tools run the same steps so that a seeded
// run gives the same boards in both.

#include <cstdint>

#include "engine/board.h"
#include "engine/generation_step.h"
#include "engine/random_sequence.h"

namespace engine {

// What every drawing does to the history: each count moves one place older
// and `population` becomes the newest (PopulationHistory[0]).
void RecordPopulation(Board& board, int32_t population);

// Brings one random dead cell of the interior (rows and columns 1 .. GridMax - 1)
// that touches a live cell to life with a random colour. False, with nothing
// drawn from `random`, when no cell qualifies.
bool StimulateOneCell(Board& board, RandomSequence& random);

// The two tests on the history: when the population has stood still over the
// last ten counts, and then (on the possibly raised count) when it has
// alternated between two values, one cell is stimulated; each stimulation
// adds one to the newest count and restarts Generation at 1. Returns how many
// cells were stimulated (0 or 1 in practice).
int AutoStimulate(Board& board, RandomSequence& random);
// Whether AutoStimulate would stimulate a cell now if one qualified: the
// history has stood still or alternated. A cheap test, so that work done only
// for a stimulation (following the cells' lineage) can be skipped otherwise.
bool MayStimulate(const Board& board);

// One generation as the window's step makes it with stimulation switched on:
// the step, the drawing's count of the live cells, then auto-stimulation.
void StepAndStimulate(Stepper& stepper, Board& board, RandomSequence& random);

}  // namespace engine
