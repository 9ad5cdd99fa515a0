// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "engine/board.h"

namespace patterns {

// A rectangle of cells, corners included (left <= right, top <= bottom once
// in order). The selection and every block the commands work on.
struct CellRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left + 1; }
    int32_t height() const { return bottom - top + 1; }
    friend bool operator==(const CellRect&, const CellRect&) = default;
};

// The same rectangle with its corners put in order.
inline CellRect Ordered(CellRect r) {
    if (r.right < r.left) { const int32_t t = r.left; r.left = r.right; r.right = t; }
    if (r.bottom < r.top) { const int32_t t = r.top; r.top = r.bottom; r.bottom = t; }
    return r;
}

// True when the rectangle is in order and lies wholly on the board.
inline bool LiesOn(const engine::Board& board, const CellRect& r) {
    return r.left <= r.right && r.top <= r.bottom && board.contains(r.left, r.top) &&
           board.contains(r.right, r.bottom);
}

}  // namespace patterns
