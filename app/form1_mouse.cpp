// SPDX-License-Identifier: MIT
// Mouse editing on the board: selecting rectangles, toggling single cells,
// the focus rectangle, the pattern pop-up, the pointer read-out, and the
// enabling of the edit and pattern commands that depends on the selection.

#include <string>
#include <utility>

#include "app/form1.h"
#include "ui/texts.h"
#include "display/board_renderer.h"
#include "engine/rules.h"
#include "patterns/board_tools.h"

namespace app {

using platform::Button;
using platform::Menu;

namespace {

// Two upper-case hexadecimal digits of the low byte.
std::string HexByte(int32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const unsigned v = static_cast<unsigned>(value) & 0xFFu;
    return {kDigits[v >> 4], kDigits[v & 0xFu]};
}

// The selection-bound toolbar buttons that need a live cell.
constexpr Button kLiveCellButtons[] = {Button::Color, Button::ReversingRightAndLeft, Button::ReversingTopAndBottom,
                                       Button::Rotate};

// A position on the board picture, in board units, lies on a cell when it is
// inside the picture's scale; the cell is the position truncated.
bool CellAt(const engine::Board& board, int scale, float X, float Y, int32_t& cx, int32_t& cy) {
    const float limit = static_cast<float>(scale);
    if (!(X >= 0.0f && X < limit && Y >= 0.0f && Y < limit)) return false;  // also refuses NaN
    cx = static_cast<int32_t>(X);
    cy = static_cast<int32_t>(Y);
    return board.contains(cx, cy);
}

}  // namespace

void Form1::picDraw_MouseDown(int Button, int Shift, float X, float Y) {
    if (run.RunMode == RunMode::Continuous) return;
    int32_t cx = 0, cy = 0;
    // Presses come from the picture, which is all board; a position beyond
    // the last cell (an edge pixel) selects nothing rather than a cell that
    // does not exist.
    if (!CellAt(board, window().boardScale(), X, Y, cx, cy)) return;
    Selection& s = selection;

    if (Button & platform::kLeftButton) {
        if (Shift & platform::kShiftKey) {
            // Select the single cell as a plain click would, then toggle it.
            picDraw_MouseDown(platform::kLeftButton, 0, X, Y);
            picDraw_MouseMove(platform::kLeftButton, 0, X, Y);
            picDraw_MouseUp(platform::kLeftButton, 0, X, Y);
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
    } else if (Button & platform::kRightButton) {
        const bool inside =
            HasSelection() && s.SelLeft <= cx && cx <= s.SelRight && s.SelTop <= cy && cy <= s.SelBottom;
        if (!inside) {
            // The clicked cell becomes the selection (and is toggled with Shift).
            picDraw_MouseDown(platform::kLeftButton, Shift, X, Y);
            picDraw_MouseMove(platform::kLeftButton, Shift, X, Y);
            picDraw_MouseUp(platform::kLeftButton, Shift, X, Y);
        }
        // The pop-up comes with the release.
    }
}

void Form1::picDraw_MouseMove(int /*Button*/, int /*Shift*/, float X, float Y) {
    int32_t cx = 0, cy = 0;
    if (!CellAt(board, window().boardScale(), X, Y, cx, cy)) return;  // off the board while dragging

    platform::MainWindow& w = window();
    w.setPanelText(3, texts::kPointerXPrefix + std::to_string(cx) + texts::kPointerYPrefix + std::to_string(cy));
    const engine::CellRecord& c = board.cell(cx, cy);
    w.setPanelText(4, texts::kColorPrefix + HexByte(c.Red) + HexByte(c.Green) + HexByte(c.Blue));

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

void Form1::picDraw_MouseUp(int Button, int /*Shift*/, float /*X*/, float /*Y*/) {
    if (run.RunMode == RunMode::Continuous) return;
    platform::MainWindow& w = window();
    Selection& s = selection;

    if (!(Button & platform::kLeftButton)) {
        if (Button & platform::kRightButton) {
            mnuPattern_Click();
            // The pop-up offers only the selection commands.
            constexpr Menu kHidden[] = {Menu::PatternClear, Menu::PatternExpand, Menu::PatternRandom,
                                        Menu::PatternReduction, Menu::Bar3};
            for (Menu m : kHidden) w.setMenuVisible(m, false);
            w.showPopup(platform::Popup::Pattern);
            if (unloaded_) return;  // the window was closed from inside the pop-up
            for (Menu m : kHidden) w.setMenuVisible(m, true);
        }
        return;
    }

    if (!s.Selecting) return;
    s.Selecting = false;
    if (s.SelRight < s.SelLeft) std::swap(s.SelLeft, s.SelRight);
    if (s.SelBottom < s.SelTop) std::swap(s.SelTop, s.SelBottom);

    w.setButtonEnabled(Button::Cut, true);
    w.setButtonEnabled(Button::Copy, true);
    w.setButtonEnabled(Button::Paste, ClipboardCanPaste());
    w.setButtonEnabled(Button::NewRegistration, true);
    const bool live = SelectionHasLiveCell();
    for (platform::Button b : kLiveCellButtons) w.setButtonEnabled(b, live);
}

void Form1::DrawFocus() {
    const patterns::CellRect r = patterns::Ordered(SelectionRect(selection));
    const platform::PixelRect pixels = display::CellsPixelRect(r.left, r.top, r.right, r.bottom, board.side(),
                                                               window().boardPixelWidth(), window().boardPixelHeight());

    selection.FocusShown = !selection.FocusShown;
    window().setFocusRect(selection.FocusShown ? std::optional<platform::PixelRect>(pixels) : std::nullopt);
}

void Form1::mnuEdit_Click() {
    platform::MainWindow& w = window();
    const bool selected = HasSelection();
    w.setMenuEnabled(Menu::EditCut, selected);
    w.setMenuEnabled(Menu::EditCopy, selected);
    w.setMenuEnabled(Menu::EditPaste, selection.FocusShown && ClipboardCanPaste());
    for (Button b : {Button::Cut, Button::Copy, Button::Paste}) SyncButton(b);
}

void Form1::mnuPattern_Click() {
    platform::MainWindow& w = window();
    const bool selected = HasSelection();
    w.setMenuEnabled(Menu::PatternCommon, selected);
    const bool live = selected && SelectionHasLiveCell();
    w.setMenuEnabled(Menu::PatternColor, live);
    w.setMenuEnabled(Menu::PatternReverse, live);
    w.setMenuEnabled(Menu::PatternRotate, live);

    // The mirrors follow their submenu, the registration button the pattern list.
    for (Button b : {Button::NewRegistration, Button::Color, Button::ReversingRightAndLeft,
                     Button::ReversingTopAndBottom, Button::Rotate})
        SyncButton(b);
}

bool Form1::SelectionHasLiveCell() const {
    return HasSelection() && patterns::HasLiveCell(board, SelectionRect(selection));
}

}  // namespace app
