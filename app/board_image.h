// SPDX-License-Identifier: MIT
#pragma once

// A compact, exact copy of a board: only the cells with a non-zero field are
// kept (a live cell, or a dead one that still carries a colour), each with
// its place, so a sparse 200 x 200 board takes a few kilobytes instead of 160;
// a board where most cells carry something is kept whole, which is then the
// smaller. The cell list is shared, immutable, between copies that hold the
// same cells.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "engine/board.h"

namespace app {

class BoardImage {
public:
    BoardImage() = default;

    // The board as it is now; shares `like`'s cell list when the cells are
    // the same.
    static BoardImage capture(const engine::Board& board, const BoardImage* like = nullptr);

    // Makes `board` exactly the copied board: size, every cell, counters,
    // and the unsaved flag.
    void restore(engine::Board& board) const;

    bool sameCells(const BoardImage& other) const;
    // The memory the cell list takes.
    std::size_t bytes() const;
    const void* cellsIdentity() const { return cells_.get(); }
    // Takes over the list of an image with the same cells, to keep one copy.
    void shareCellsOf(const BoardImage& same) { cells_ = same.cells_; }

    int32_t GridMax = engine::kStartGridMax;
    int32_t Generation = 0;
    std::array<int32_t, engine::kHistoryLength> PopulationHistory{};
    bool Modified = false;

private:
    struct Cells {
        std::vector<std::pair<uint32_t, engine::CellRecord>> sparse;  // place in Cells, cell; board order
        std::vector<engine::CellRecord> whole;                         // or every cell
        bool operator==(const Cells&) const = default;
    };
    std::shared_ptr<const Cells> cells_;
};

}  // namespace app
