// SPDX-License-Identifier: MIT
// The 表示 menu: how the board's live cells are drawn.

#include "app/form1.h"

namespace app {

void Form1::mnuViewRaised_Click() { SetRaisedCells(!RaisedCells()); }

void Form1::SetRaisedCells(bool raised) {
    cellLook_ = raised ? display::CellLook::Raised : display::CellLook::Flat;
    window().setMenuChecked(platform::Menu::ViewRaised, raised);
    // The board is drawn afresh in the new look at once, also during a run,
    // as when the window system asks for a repaint; before start-up has made
    // the board, its first drawing takes the look.
    if (!board.Cells.empty() && !unloaded_) ReDraw();
}

}  // namespace app
