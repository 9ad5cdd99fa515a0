// SPDX-License-Identifier: MIT
// The Pattern menu: built-in patterns and the pattern-menu dispatch, mirrors
// and the quarter turn, random fill, clear, recolouring through the colour
// dialog, and enlarging and reducing the board.

#include <algorithm>
#include <string>

#include "app/form1.h"
#include "ui/texts.h"
#include "engine/rules.h"
#include "patterns/board_tools.h"
#include "patterns/builtin_patterns.h"
#include "patterns/transformations.h"

namespace app {

using platform::Menu;

// ---- the pattern submenu ---------------------------------------------------------

void Form1::mnuPatternCommonItem_Click(int Index) {
    // One colour per click, drawn before the item is looked at, used or not.
    engine::CellRecord colour;
    engine::RandomColor(random, colour);

    Selection& s = selection;
    const int count = window().patternItemCount();
    if (Index >= 0 && Index < patterns::kBuiltinPatternCount) {
        // The submenu is offered only with a selection; without one there is
        // no anchor and nothing is placed.
        if (HasSelection()) {
            const patterns::CellRect box =
                patterns::StampPattern(board, patterns::Builtin(Index), s.SelLeft, s.SelTop, colour);
            s.SelRight = box.right;
            s.SelBottom = box.bottom;
        }
    } else if (Index == count - 1) {
        CreatePatternFile();
        return;
    } else {
        ReadPatternFile(std::to_string(Index));
        if (unloaded_) return;
    }
    s.SelRight = std::min(s.SelRight, board.GridMax);
    s.SelBottom = std::min(s.SelBottom, board.GridMax);
    ReDraw();
}

// ---- mirrors and the quarter turn ----------------------------------------------------

void Form1::mnuPatternReverseRL_Click() { ReverseRL(); }
void Form1::mnuPatternReverseTB_Click() { ReverseTB(); }
void Form1::mnuPatternRotate_Click() { Rotate(); }

// Each works on the selection; without one (a toolbar button can outlive
// the selection it was enabled for, e.g. across a reduction) nothing happens.

void Form1::ReverseRL() {
    if (!HasSelection() || !patterns::MirrorLeftRight(board, SelectionRect(selection))) return;
    ReDraw();
}

void Form1::ReverseTB() {
    if (!HasSelection() || !patterns::MirrorTopBottom(board, SelectionRect(selection))) return;
    ReDraw();
}

void Form1::Rotate() {
    Selection& s = selection;
    patterns::CellRect r = SelectionRect(s);
    if (!HasSelection() || !patterns::RotateClockwise(board, r)) return;
    s.SelRight = r.right;
    s.SelBottom = r.bottom;
    ReDraw();
}

// ---- random fill, clear and colour -----------------------------------------------------

void Form1::mnuPatternRandom_Click() {
    engine::Init(board, random);
    ReDraw();
    BoardReplaced();
}

void Form1::mnuPatternClear_Click() {
    patterns::ClearBoard(board);
    ReDraw();
    BoardReplaced();
}

void Form1::mnuPatternColor_Click() {
    if (!HasSelection()) return;
    const patterns::CellRect r = SelectionRect(selection);
    const std::optional<int32_t> start = patterns::StartingColour(board, r);
    if (!start) return;  // no live cell: no dialog

    const std::optional<platform::ColorValue> colour = ChooseColor(*start);
    if (!colour || *colour == 0) return;  // cancelled, or black
    patterns::Recolour(board, r, *colour);
    ReDraw();
}

std::optional<platform::ColorValue> Form1::ChooseColor(platform::ColorValue SelectColor) {
    return services_.dialogs.chooseColor(SelectColor, CustomColors);
}

// ---- enlargement and reduction -----------------------------------------------------------

void Form1::mnuPatternExpand_Click() {
    if (board.GridMax >= engine::kMaxGridMax) return;
    // Ten columns and rows more, never beyond the largest board (a board file
    // may bring a size off the steps of ten).
    patterns::ResizeBoard(board, std::min(board.GridMax + 10, engine::kMaxGridMax), BoardCopy);
    ScalePictures();
    ReDraw();
    ApplySizeRule();
    BoardReplaced();
}

void Form1::mnuPatternReduction_Click() {
    if (board.GridMax <= engine::kMinGridMax) return;
    const int32_t newGridMax = std::max(board.GridMax - 10, engine::kMinGridMax);
    DropSelectionBeyond(newGridMax);  // before the board shrinks
    patterns::ResizeBoard(board, newGridMax, BoardCopy);
    ScalePictures();
    ReDraw();
    ApplySizeRule();
    BoardReplaced();
}

void Form1::DropSelectionBeyond(int32_t gridMax) {
    Selection& s = selection;
    if (HasSelection() && (s.SelRight > gridMax || s.SelBottom > gridMax)) {
        s.SelLeft = -1;
        s.FocusShown = false;
        window().setFocusRect(std::nullopt);
    }
}

void Form1::ApplySizeRule() {
    platform::MainWindow& w = window();
    w.setMenuEnabled(Menu::PatternExpand, board.GridMax < engine::kMaxGridMax);
    w.setMenuEnabled(Menu::PatternReduction, board.GridMax > engine::kMinGridMax);
    SyncButton(platform::Button::Expand);
    SyncButton(platform::Button::Reduction);
}

}  // namespace app
