// SPDX-License-Identifier: MIT
// Drawing and erasing along the pointer's path with Shift+drag.

#include <cstdlib>

#include "app/window_controller.h"
#include "engine/rules.h"

namespace app {

namespace {

// Every cell of the straight line from (x0, y0) to (x1, y1), both ends
// included, each touching the one before at a side or a corner (Bresenham).
template <typename Visit>
void ForEachCellOnLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Visit&& visit) {
    const int32_t dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int32_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int32_t error = dx + dy;
    for (;;) {
        visit(x0, y0);
        if (x0 == x1 && y0 == y1) return;
        const int32_t twice = 2 * error;
        if (twice >= dy) error += dy, x0 += sx;
        if (twice <= dx) error += dx, y0 += sy;
    }
}

}  // namespace

void WindowController::beginStroke(const platform::PointedCell& at) {
    // The press toggled nothing during a run or off the board.
    if (session_.running() || !at.onBoard || !board.contains(at.column, at.row)) return;
    session_.beginChange(caption());  // ended by finishStroke, so the drag joins the press's change
    stroke_ = {true, board.cell(at.column, at.row).live(), true, at.column, at.row};
}

void WindowController::strokeTo(const platform::BoardMouse& event) {
    // A move without the left button held: its release never came.
    if (event.button != platform::MouseButton::Left) return finishStroke();
    const platform::PointedCell& at = event.cell;
    if (!at.onBoard || !board.contains(at.column, at.row)) {
        stroke_.hasLast = false;
        return;
    }
    if (!stroke_.hasLast) stroke_.lastColumn = at.column, stroke_.lastRow = at.row;
    bool changed = false;
    ForEachCellOnLine(stroke_.lastColumn, stroke_.lastRow, at.column, at.row, [&](int32_t x, int32_t y) {
        engine::CellRecord& c = board.cell(x, y);
        if (c.live() == stroke_.drawsLive) return;
        changed = true;
        if (stroke_.drawsLive) {
            c.State = 1;
            engine::RandomColor(random, c);
        } else {
            c = {};
        }
    });
    stroke_.hasLast = true;
    stroke_.lastColumn = at.column, stroke_.lastRow = at.row;
    if (changed) ReDraw();
}

void WindowController::finishStroke() {
    if (!stroke_.active) return;
    stroke_ = {};
    if (!closed_) session_.endChange(caption(), false);
}

}  // namespace app
