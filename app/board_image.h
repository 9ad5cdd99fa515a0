// SPDX-License-Identifier: MIT
#pragma once

// A compact, exact copy of a board: a bit per cell says whether any of its
// fields is non-zero (a live cell, or a dead one that still carries a colour),
// followed by those cells' records in board order, the whole compressed with
// zstd. A sparse 200 x 200 board takes a few kilobytes instead of 160, and a
// 2048 x 2048 one a few megabytes instead of 16. The compressed bytes are
// shared, immutable, between copies that hold the same cells.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
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
    // The compressed bit map and records; the same cells give the same bytes.
    using Cells = std::vector<uint8_t>;
    std::shared_ptr<const Cells> cells_;
};

}  // namespace app
