// SPDX-License-Identifier: MIT
#include "app/board_image.h"

namespace app {

BoardImage BoardImage::capture(const engine::Board& board, const BoardImage* like) {
    BoardImage image;
    image.GridMax = board.GridMax;
    image.Generation = board.Generation;
    image.PopulationHistory = board.PopulationHistory;
    image.Modified = board.Modified;

    const engine::CellRecord empty{};
    std::size_t kept = 0;
    for (const engine::CellRecord& c : board.Cells) kept += !(c == empty);
    auto cells = std::make_shared<Cells>();
    // A kept cell costs twice a whole one (its place beside it).
    if (kept * 2 < board.Cells.size()) {
        cells->sparse.reserve(kept);
        for (std::size_t i = 0; i < board.Cells.size(); ++i)
            if (!(board.Cells[i] == empty)) cells->sparse.emplace_back(static_cast<uint32_t>(i), board.Cells[i]);
    } else {
        cells->whole = board.Cells;
    }
    if (like && like->cells_ && *like->cells_ == *cells)
        image.cells_ = like->cells_;
    else
        image.cells_ = std::move(cells);
    return image;
}

void BoardImage::restore(engine::Board& board) const {
    board.create(GridMax);
    if (cells_) {
        if (!cells_->whole.empty()) board.Cells = cells_->whole;
        for (const auto& [index, cell] : cells_->sparse) board.Cells[index] = cell;
    }
    board.Generation = Generation;
    board.PopulationHistory = PopulationHistory;
    board.Modified = Modified;
}

bool BoardImage::sameCells(const BoardImage& other) const {
    if (GridMax != other.GridMax) return false;
    if (cells_ == other.cells_) return true;
    return cells_ && other.cells_ && *cells_ == *other.cells_;
}

std::size_t BoardImage::bytes() const {
    if (!cells_) return 0;
    return sizeof(Cells) + cells_->sparse.capacity() * sizeof(cells_->sparse[0]) +
           cells_->whole.capacity() * sizeof(engine::CellRecord);
}

}  // namespace app
