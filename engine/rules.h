// SPDX-License-Identifier: MIT
#pragma once

#include "engine/board.h"
#include "engine/generation_step.h"
#include "engine/random_sequence.h"

namespace engine {

// Seeding density and mutation rate of the colour rule.
inline constexpr float kSeedShare = 0.2f;
inline constexpr int kMutationOneIn = 1000;

// The colour rule for a cell that comes to life without parents: Red and Green
// 1..255; Blue 1..255 when either is above 128, otherwise 128..255. Draws
// exactly three fractions, red first. Writes only the three colour fields.
void RandomColor(RandomSequence& random, CellRecord& cell);

// ⌊r × n⌋ for a fraction r, computed in single precision as the rules state.
constexpr int32_t ScaledDraw(float r, int32_t n) {
    // r * n is non-negative, so truncation is the floor.
    return static_cast<int32_t>(r * static_cast<float>(n));
}

// A birth mutates when ⌊r × 1000⌋ = 0. For r = u / 2^24 (RandomSequence::nextBits)
// that holds exactly for u below this bound: u × 1000 / 2^24 is 0.99998... at
// u = 16777 and 1.00004... at u = 16778, far from rounding across 1, and the
// product grows with u. Lets the step decide on the integer.
inline constexpr uint32_t kMutationBelow = 16778;
static_assert(ScaledDraw(16777 / 16777216.0f, kMutationOneIn) == 0 &&
              ScaledDraw(16778 / 16777216.0f, kMutationOneIn) == 1);

// Empties the board and seeds it: one fraction per cell, x outer and y inner;
// below 0.2 the cell becomes live and its colour's three fractions follow at
// once. Generation = 1, history cleared then counted, Modified = true.
// Does not touch anything outside the board.
void Init(Board& board, RandomSequence& random);

// One generation of Conway's rule on the torus with colour inheritance (see
// generation_step.cpp). Reads Cells, writes Cells and Generation; draws one
// fraction per birth in scan order and three more after a mutation. Does not
// count the population. A board whose Cells do not match GridMax is left
// alone.
//
// This one makes its scratch memory anew at every call: for a single step.
// A caller that steps again and again keeps an engine::Stepper
// (generation_step.h) and calls its ReCalc, which does the same.
void ReCalc(Board& board, RandomSequence& random);

}  // namespace engine
