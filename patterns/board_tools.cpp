// SPDX-License-Identifier: MIT
#include "patterns/board_tools.h"

#include <algorithm>

namespace patterns {

bool HasLiveCell(const engine::Board& board, const CellRect& rect) {
    if (!LiesOn(board, rect)) return false;
    for (int32_t x = rect.left; x <= rect.right; ++x)
        for (int32_t y = rect.top; y <= rect.bottom; ++y)
            if (board.cell(x, y).live()) return true;
    return false;
}

int32_t ColourValue(const engine::CellRecord& cell) {
    return (cell.Red & 0xFF) | ((cell.Green & 0xFF) << 8) | ((cell.Blue & 0xFF) << 16);
}

std::optional<int32_t> StartingColour(const engine::Board& board, const CellRect& rect) {
    if (!LiesOn(board, rect)) return std::nullopt;
    const int32_t maxDx = rect.width() - 1;
    const int32_t maxDy = rect.height() - 1;
    for (int32_t sum = 0; sum <= maxDx + maxDy; ++sum) {
        for (int32_t dx = std::min(sum, maxDx); dx >= std::max(0, sum - maxDy); --dx) {
            const engine::CellRecord& c = board.cell(rect.left + dx, rect.top + sum - dx);
            if (c.live()) return ColourValue(c);
        }
    }
    return std::nullopt;
}

void Recolour(engine::Board& board, const CellRect& rect, int32_t colour) {
    if (!LiesOn(board, rect)) return;
    for (int32_t x = rect.left; x <= rect.right; ++x) {
        for (int32_t y = rect.top; y <= rect.bottom; ++y) {
            engine::CellRecord& c = board.cell(x, y);
            if (!c.live()) continue;
            c.Red = colour & 0xFF;
            c.Green = (colour >> 8) & 0xFF;
            c.Blue = (colour >> 16) & 0xFF;
        }
    }
}

void ClearBoard(engine::Board& board) {
    board.Generation = 1;
    std::fill(board.Cells.begin(), board.Cells.end(), engine::CellRecord{});
}

void ResizeBoard(engine::Board& board, int32_t newGridMax, std::vector<engine::CellRecord>& boardCopy) {
    boardCopy = board.Cells;
    const int32_t oldSide = board.side();
    board.create(newGridMax);
    const int32_t newSide = board.side();
    // Storage is column-major, so each kept column is one contiguous run.
    const int32_t keep = std::min(oldSide, newSide);
    for (int32_t x = 0; x < keep; ++x) {
        const auto from = boardCopy.begin() + static_cast<std::ptrdiff_t>(x) * oldSide;
        std::copy(from, from + keep, board.Cells.begin() + static_cast<std::ptrdiff_t>(x) * newSide);
    }
}

}  // namespace patterns
