// SPDX-License-Identifier: MIT
// Mouse editing on the board: selecting rectangles, toggling single cells,
// the focus rectangle, the pattern pop-up, the pointer read-out, and the
// enabling of the edit and pattern commands that depends on the selection.

#include <string>
#include <utility>

#include "app/window_controller.h"
#include "ui/texts.h"
#include "display/board_renderer.h"
#include "engine/rules.h"
#include "patterns/board_tools.h"

namespace app {

using platform::Menu;

namespace {

// The pointer is on a cell of this board.
bool OnCell(const engine::Board& board, const platform::PointedCell& at) {
    return at.onBoard && board.contains(at.column, at.row);
}

}  // namespace

void WindowController::pressOnBoard(platform::MouseButton button, bool shift, const platform::PointedCell& at) {
    using platform::MouseButton;
    if (session_.running()) return;
    // Presses come from the picture, which is all board; a position beyond
    // the last cell (an edge pixel) selects nothing rather than a cell that
    // does not exist.
    if (!OnCell(board, at)) return;
    const int32_t cx = at.column, cy = at.row;
    Selection& s = selection;

    if (button == MouseButton::Left) {
        if (shift) {
            // Select the single cell as a plain click would, then toggle it.
            pressOnBoard(MouseButton::Left, false, at);
            moveOnBoard(at);
            releaseOnBoard(MouseButton::Left);
            engine::CellRecord& c = board.cell(cx, cy);
            if (c.State != 0) {
                c = {};
            } else {
                c.State = 1;
                engine::RandomColor(random, c);
            }
            ReDraw();
        } else {
            if (s.FocusShown) DrawFocus();
            s.Selecting = true;
            s.SelLeft = s.SelRight = cx;
            s.SelTop = s.SelBottom = cy;
            DrawFocus();
        }
    } else if (button == MouseButton::Right) {
        const bool inside =
            HasSelection() && s.SelLeft <= cx && cx <= s.SelRight && s.SelTop <= cy && cy <= s.SelBottom;
        if (!inside) {
            // The clicked cell becomes the selection (and is toggled with Shift).
            pressOnBoard(MouseButton::Left, shift, at);
            moveOnBoard(at);
            releaseOnBoard(MouseButton::Left);
        }
        // The pop-up comes with the release.
    }
}

void WindowController::moveOnBoard(const platform::PointedCell& at) {
    if (!OnCell(board, at)) {  // off the board while dragging
        pointerCell_.reset();
        return;
    }
    const int32_t cx = at.column, cy = at.row;

    platform::MainWindow& w = window();
    w.setPanelText(platform::Panel::Pointer, texts::kPointerXPrefix + std::to_string(cx) + texts::kPointerYPrefix + std::to_string(cy));
    pointerCell_ = {cx, cy};
    ShowPointerCell();  // and again whenever the board is drawn, so it follows the cell's changes

    Selection& s = selection;
    // A run or step drops the selection; a drag that was going on then has
    // nothing left to stretch and ends here.
    if (s.Selecting && !HasSelection()) s.Selecting = false;
    if (s.Selecting) {
        DrawFocus();
        s.SelRight = cx;
        s.SelBottom = cy;
        DrawFocus();
    }
}

void WindowController::releaseOnBoard(platform::MouseButton button) {
    if (session_.running()) return;
    platform::MainWindow& w = window();
    Selection& s = selection;

    if (button != platform::MouseButton::Left) {
        if (button == platform::MouseButton::Right) {
            openPatternMenu();
            openEditMenu();
            refreshCommands();
            // The pop-up offers only the selection commands, the edit ones after its own.
            constexpr Menu kHidden[] = {Menu::PatternClear, Menu::PatternExpand, Menu::PatternRandom,
                                        Menu::PatternReduction, Menu::Bar3};
            for (Menu m : kHidden) w.setMenuVisible(m, false);
            for (Menu m : popupEditItems_) w.setMenuVisible(m, true);
            w.showPopup(platform::Popup::Pattern);
            if (closed_) return;  // the window was closed from inside the pop-up
            for (Menu m : kHidden) w.setMenuVisible(m, true);
            for (Menu m : popupEditItems_) w.setMenuVisible(m, false);
        }
        return;
    }

    if (!s.Selecting) return;
    s.Selecting = false;
    if (s.SelRight < s.SelLeft) std::swap(s.SelLeft, s.SelRight);
    if (s.SelBottom < s.SelTop) std::swap(s.SelTop, s.SelBottom);

    // The end of a drag enables the selection's buttons (not its menu
    // items, which follow the menus' opening).
    editButtons_ = {true, ClipboardCanPaste()};
    patternButtons_ = {true, SelectionHasLiveCell()};
}

void WindowController::DrawFocus() {
    const patterns::CellRect r = patterns::Ordered(SelectionRect(selection));
    // Where the view shows the selection (the whole unmoved board: the cells' own rectangles).
    const platform::PixelRect pixels =
        view_.cellsRect(r.left, r.top, r.right, r.bottom, board.side(), window().boardPixelWidth());

    selection.FocusShown = !selection.FocusShown;
    window().setFocusRect(selection.FocusShown ? std::optional<platform::PixelRect>(pixels) : std::nullopt);
}

// The edit menu opens: its items, and their buttons with them, take the
// state of the selection and the clipboard.
void WindowController::openEditMenu() {
    editMenu_ = {HasSelection(), selection.FocusShown && ClipboardCanPaste()};
    editButtons_ = editMenu_;
}

// The pattern menu opens (or pops up): the selection's items and buttons.
void WindowController::openPatternMenu() {
    const bool selected = HasSelection();
    patternMenu_ = {selected, selected && SelectionHasLiveCell()};
    patternButtons_ = patternMenu_;
}

bool WindowController::SelectionHasLiveCell() const {
    return HasSelection() && patterns::HasLiveCell(board, SelectionRect(selection));
}

}  // namespace app
