// SPDX-License-Identifier: MIT
#pragma once

// What the generation step does for the lineage (internal to engine/; see
// lineage.h): it lists the newborns that mutated and, on boards swept column
// by column, the records of the cells that died; it tells the lineage when
// the board about to be stepped has other live cells than it knows, where it
// can; and it leaves the live bits before and after the step, from which the
// lineage carries its founder slots over (lineage_carry.h).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/board.h"
#include "engine/cell_record.h"

namespace engine {

class Lineage;
struct StepKernels;

namespace detail {

// A cell's index and its record.
struct KeptCell {
    uint32_t cell;
    CellRecord record;
};

struct LineageTrack {
    const uint64_t* live;  // the live bits the lineage knows: W words a column
    Lineage* lineage;
    const Board* board;  // the board being stepped
    // Filled by the step (emptied first by the lineage):
    std::vector<uint32_t>* mutations;  // the cells of mutated newborns, ascending
    // On boards swept column by column, the cells that died with the records
    // they had, in two lists (one per thread): what the lineage needs to
    // see the board as it was if it finds it edited after the step.
    std::vector<KeptCell>* deaths[2];
    const uint64_t* before = nullptr;  // the live bits before and after the step, W words a column,
    const uint64_t* after = nullptr;   // as the step leaves them (until the stepper's next step)
    const StepKernels* kernels = nullptr;  // the stepper's

    // The board about to be stepped has other live cells than the lineage
    // knows: it syncs with the board (as edits) before the births.
    void edited() const;
};

}  // namespace detail
}  // namespace engine
