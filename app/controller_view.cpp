// SPDX-License-Identifier: MIT
// The 表示 menu: how the board's live cells are drawn.

#include "app/window_controller.h"

namespace app {

void WindowController::toggleRaisedCells() {
    SetRaisedCells(!RaisedCells());
    if (services_.settings) services_.settings->writeBool(platform::setting::kRaised, RaisedCells());
    ReportSettingsFailure();
}

void WindowController::SetRaisedCells(bool raised) {
    cellLook_ = raised ? display::CellLook::Raised : display::CellLook::Flat;
    // The board is drawn afresh in the new look at once, also during a run;
    // only the picture changes (no drawing is counted, so the generations
    // that follow are the same in either look). Before start-up has made the
    // board, its first drawing takes the look.
    if (!board.Cells.empty() && !closed_) ShowBoard();
}

}  // namespace app
