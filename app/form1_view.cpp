// SPDX-License-Identifier: MIT
// The 表示 menu: how the board's live cells are drawn.

#include "app/form1.h"

namespace app {

void Form1::mnuViewRaised_Click() {
    SetRaisedCells(!RaisedCells());
    if (services_.settings) services_.settings->writeBool(platform::setting::kRaised, RaisedCells());
}

void Form1::SetRaisedCells(bool raised) {
    cellLook_ = raised ? display::CellLook::Raised : display::CellLook::Flat;
    window().setMenuChecked(platform::Menu::ViewRaised, raised);
    // The board is drawn afresh in the new look at once, also during a run;
    // only the picture changes (no drawing is counted, so the generations
    // that follow are the same in either look). Before start-up has made the
    // board, its first drawing takes the look.
    if (!board.Cells.empty() && !unloaded_) ShowBoard();
}

}  // namespace app
