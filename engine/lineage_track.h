// SPDX-License-Identifier: MIT
#pragma once

// What the generation step needs to carry lineage along (internal to
// engine/): the three founder slots of every cell, where the live bits of the
// board after the step go, and the call for a mutated newborn. See lineage.h.

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/board.h"
#include "engine/cell_record.h"

namespace engine {

class Lineage;

namespace detail {

struct LineageTrack {
    std::array<uint32_t, 3>* slots;  // per cell
    uint64_t* live;                  // the live bits as the step keeps them: W words a column
    Lineage* lineage;
    const Board* board;  // the board being stepped

    // The newborn at `cell` mutated to `colour`: it already carries the slots
    // it would have inherited; it becomes a Mutation founder.
    void mutated(std::size_t cell, const CellRecord& colour) const;
    // The board about to be stepped has other live cells than the lineage
    // knows: it syncs with the board (as edits) before the births.
    void edited() const;
};

}  // namespace detail
}  // namespace engine
