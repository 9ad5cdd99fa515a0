// SPDX-License-Identifier: MIT
// Editing the board from the keyboard, and the board as a screen reader
// tells it. The cursor goes through the mouse's own code: an arrow key is a
// click on the next cell, Shift+arrow a drag from where the selecting began,
// Space a Shift+click, so selection, toggling, undo and the lineage's edit
// founders behave exactly as with the mouse.

#include <algorithm>
#include <string>

#include "app/window_controller.h"
#include "display/board_renderer.h"
#include "ui/texts.h"

namespace app {

using platform::BoardKey;
using platform::MouseButton;

bool WindowController::boardKey(BoardKey key, platform::Modifiers modifiers) {
    if (closed_) return false;
    FitKeyCursor();
    if (!keyCursor_.shown) {
        // While the cursor is hidden the arrows and Space move the view; Tab shows it.
        if (key != BoardKey::Show) return false;
        keyCursor_.shown = true;
        FollowKeyCursor();
        ShowKeyCursor();
        return true;
    }
    switch (key) {
        case BoardKey::Show: return false;  // Tab goes on to the next control
        case BoardKey::Left: MoveKeyCursor(-1, 0, modifiers.shift); break;
        case BoardKey::Right: MoveKeyCursor(+1, 0, modifiers.shift); break;
        case BoardKey::Up: MoveKeyCursor(0, -1, modifiers.shift); break;
        case BoardKey::Down: MoveKeyCursor(0, +1, modifiers.shift); break;
        case BoardKey::Toggle: {
            const platform::BoardMouse click{MouseButton::Left, {true}, {keyCursor_.column, keyCursor_.row, true}};
            pressBoard(click);
            boardMouseUp(click);
            keyCursor_.anchorColumn = keyCursor_.column, keyCursor_.anchorRow = keyCursor_.row;
            break;
        }
    }
    ShowKeyCursor();
    return true;
}

void WindowController::boardFocusLeft() {
    if (closed_ || !keyCursor_.shown) return;
    keyCursor_.shown = false;
    ShowKeyCursor();
}

void WindowController::MoveKeyCursor(int32_t dx, int32_t dy, bool select) {
    KeyCursor& k = keyCursor_;
    const int32_t side = board.side();
    if (!select) {
        // Round the torus, as the cells' neighbours go.
        k.column = (k.column + dx + side) % side, k.row = (k.row + dy + side) % side;
        k.anchorColumn = k.column, k.anchorRow = k.row;
        const platform::BoardMouse click{MouseButton::Left, {}, {k.column, k.row, true}};
        pressBoard(click);
        moveOverBoard(click);
        boardMouseUp(click);
        FollowKeyCursor();
        return;
    }
    // A selection is a rectangle of the board, which cannot go round its
    // edge: Shift+arrows stop there. One made since by other means (the
    // mouse, Ctrl+A) starts a new one at the cursor.
    const Selection& s = selection;
    const bool continuing = HasSelection() && s.SelLeft == std::min(k.anchorColumn, k.column) &&
                            s.SelRight == std::max(k.anchorColumn, k.column) &&
                            s.SelTop == std::min(k.anchorRow, k.row) && s.SelBottom == std::max(k.anchorRow, k.row);
    if (!continuing) k.anchorColumn = k.column, k.anchorRow = k.row;
    k.column = std::clamp(k.column + dx, 0, board.GridMax), k.row = std::clamp(k.row + dy, 0, board.GridMax);
    const platform::BoardMouse from{MouseButton::Left, {}, {k.anchorColumn, k.anchorRow, true}};
    const platform::BoardMouse to{MouseButton::Left, {}, {k.column, k.row, true}};
    pressBoard(from);
    moveOverBoard(to);
    boardMouseUp(to);
    FollowKeyCursor();
}

void WindowController::FollowKeyCursor() {
    if (view_.wholeBoard()) return;  // every cell is in sight
    // Where the cursor's cell is drawn, counted from the picture's corner
    // forwards round the torus; out of sight, the view centres it.
    const int32_t side = board.side();
    const int width = window().boardPixelWidth(), height = window().boardPixelHeight();
    const double cell = view_.cellPixels(side, width);
    const int64_t sub = display::Viewport::kSubCell, span = int64_t{side} * sub;
    const auto at = [&](int32_t c, int64_t corner) { return double(((c * sub - corner) % span + span) % span) / sub * cell; };
    const double x = at(keyCursor_.column, view_.left()), y = at(keyCursor_.row, view_.top());
    if (x + cell <= width && y + cell <= height) return;
    display::Viewport view;
    view.panFrom(view_, width / 2.0 - (x + cell / 2), height / 2.0 - (y + cell / 2), side, width);
    SetView(view);
}

void WindowController::FitKeyCursor() {
    KeyCursor& k = keyCursor_;
    if (!k.placed) k.column = k.row = board.GridMax / 2, k.placed = true;
    // A board made smaller keeps the cursor on its last cells.
    k.column = std::clamp(k.column, 0, board.GridMax), k.row = std::clamp(k.row, 0, board.GridMax);
    k.anchorColumn = std::clamp(k.anchorColumn, 0, board.GridMax), k.anchorRow = std::clamp(k.anchorRow, 0, board.GridMax);
}

void WindowController::ShowKeyCursor(bool now) {
    if (closed_) return;
    std::optional<platform::PixelRect> outline;
    if (keyCursor_.shown) {
        FitKeyCursor();
        outline = view_.cellsRect(keyCursor_.column, keyCursor_.row, keyCursor_.column, keyCursor_.row, board.side(),
                                  window().boardPixelWidth());
    }
    window().setKeyCursor(outline);
    if (now) described_.reset();  // the cursor's cell is told at once
    DescribeBoard();
}

void WindowController::DescribeBoard() {
    if (closed_) return;
    if (session_.running()) {
        const std::chrono::nanoseconds now = window().clock();
        if (described_ && now - *described_ < kDescribeInterval) return;
        described_ = now;
    } else {
        described_.reset();
    }
    std::string cell;  // the cell under the cursor while it is shown
    if (keyCursor_.shown && board.contains(keyCursor_.column, keyCursor_.row)) {
        cell = tr(texts::kAccessSeparator) + texts::kPointerXPrefix + std::to_string(keyCursor_.column) +
               texts::kPointerYPrefix + std::to_string(keyCursor_.row) + tr(texts::kAccessSeparator);
        const engine::CellRecord& c = board.cell(keyCursor_.column, keyCursor_.row);
        if (c.live()) {
            static constexpr char kDigits[] = "0123456789ABCDEF";
            cell += tr(texts::kAccessLiveCell) + texts::kColorPrefix;
            for (int32_t v : {c.Red, c.Green, c.Blue}) {
                const unsigned b = static_cast<unsigned>(v) & 0xFFu;
                cell += kDigits[b >> 4];
                cell += kDigits[b & 0xFu];
            }
        } else {
            cell += tr(texts::kAccessDeadCell);
        }
    }
    const std::string side = std::to_string(board.side());
    const std::string name = tr(texts::kAccessBoardName) + cell;
    const std::string description = tr(texts::kAccessBoardName) + " " + side + tr(texts::kAccessBoardSizeTimes) + side +
                                    tr(texts::kAccessBoardSizeUnit) + tr(texts::kAccessSeparator) +
                                    tr(texts::kGenerationPrefix) + display::FormatCount(board.Generation) +
                                    tr(texts::kAccessSeparator) + tr(texts::kPopulationPrefix) +
                                    display::FormatCount(board.Population()) + cell;
    window().describeBoard(name, description);
}

}  // namespace app
