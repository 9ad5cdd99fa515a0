// SPDX-License-Identifier: MIT
#include "patterns/transformations.h"

#include <algorithm>
#include <utility>

namespace patterns {

bool MirrorLeftRight(engine::Board& board, const CellRect& rect) {
    if (!LiesOn(board, rect)) return false;
    const int32_t n = rect.width() / 2;
    for (int32_t k = 0; k < n; ++k)
        for (int32_t y = rect.top; y <= rect.bottom; ++y)
            std::swap(board.cell(rect.left + k, y), board.cell(rect.right - k, y));
    return true;
}

bool MirrorTopBottom(engine::Board& board, const CellRect& rect) {
    if (!LiesOn(board, rect)) return false;
    const int32_t n = rect.height() / 2;
    for (int32_t x = rect.left; x <= rect.right; ++x)
        for (int32_t k = 0; k < n; ++k) std::swap(board.cell(x, rect.top + k), board.cell(x, rect.bottom - k));
    return true;
}

bool RotateClockwise(engine::Board& board, CellRect& rect) {
    if (!LiesOn(board, rect)) return false;
    const int32_t w = rect.width();
    const int32_t h = rect.height();

    // Lift the block: scratch(dx, dy) at dx * h + dy, the board's cells cleared.
    std::vector<engine::CellRecord> scratch(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int32_t dx = 0; dx < w; ++dx) {
        for (int32_t dy = 0; dy < h; ++dy) {
            engine::CellRecord& c = board.cell(rect.left + dx, rect.top + dy);
            scratch[static_cast<std::size_t>(dx) * h + dy] = c;
            c = {};
        }
    }

    rect.right = std::min(rect.left + h - 1, board.GridMax);
    rect.bottom = std::min(rect.top + w - 1, board.GridMax);

    // (dx, dy) goes to (left + h - 1 - dy, top + dx).
    for (int32_t dx = 0; dx < w; ++dx) {
        const int32_t y = rect.top + dx;
        if (y > board.GridMax) break;
        for (int32_t dy = 0; dy < h; ++dy) {
            const int32_t x = rect.left + h - 1 - dy;
            if (x > board.GridMax) continue;
            board.cell(x, y) = scratch[static_cast<std::size_t>(dx) * h + dy];
        }
    }
    return true;
}

}  // namespace patterns
