// SPDX-License-Identifier: MIT
// The Pattern menu: built-in patterns and the pattern-menu dispatch, mirrors
// and the quarter turn, random fill, clear, recolouring through the colour
// dialog, and enlarging and reducing the board.

#include <algorithm>
#include <string>

#include "app/window_controller.h"
#include "ui/texts.h"
#include "engine/rules.h"
#include "patterns/board_tools.h"
#include "patterns/builtin_patterns.h"
#include "patterns/transformations.h"

namespace app {

// ---- the pattern submenu ---------------------------------------------------------

void WindowController::placePatternItem(int Index) {
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
    }
    s.SelRight = std::min(s.SelRight, board.GridMax);
    s.SelBottom = std::min(s.SelBottom, board.GridMax);
    ReDraw();
}

// The registration item is the last of the pattern list, however many
// pattern files it lists.
void WindowController::registerPattern() { placePatternItem(window().patternItemCount() - 1); }

// ---- mirrors and the quarter turn ----------------------------------------------------

// Each works on the selection; without one (a toolbar button can outlive
// the selection it was enabled for, e.g. across a reduction) nothing happens.

void WindowController::mirrorLeftRight() {
    if (!HasSelection() || !patterns::MirrorLeftRight(board, SelectionRect(selection))) return;
    ReDraw();
}

void WindowController::mirrorTopBottom() {
    if (!HasSelection() || !patterns::MirrorTopBottom(board, SelectionRect(selection))) return;
    ReDraw();
}

void WindowController::rotateSelection() {
    Selection& s = selection;
    patterns::CellRect r = SelectionRect(s);
    if (!HasSelection() || !patterns::RotateClockwise(board, r)) return;
    s.SelRight = r.right;
    s.SelBottom = r.bottom;
    ReDraw();
}

// ---- random fill, clear and colour -----------------------------------------------------

void WindowController::fillRandom() {
    engine::Init(board, random);
    session_.restartLineage();
    ReDraw();
    BoardReplaced();
}

void WindowController::clearBoard() {
    patterns::ClearBoard(board);
    session_.restartLineage();
    ReDraw();
    BoardReplaced();
}

void WindowController::chooseColour() {
    if (!HasSelection()) return;
    const patterns::CellRect r = SelectionRect(selection);
    const std::optional<int32_t> start = patterns::StartingColour(board, r);
    if (!start) return;  // no live cell: no dialog

    // The board's tools give a colour as 0x00BBGGRR.
    const auto part = [&](int shift) { return static_cast<uint8_t>((*start >> shift) & 0xFF); };
    const std::optional<platform::RgbColour> colour = askColour({part(0), part(8), part(16)});
    if (!colour || *colour == platform::RgbColour{}) return;  // cancelled, or black
    patterns::Recolour(board, r, colour->red | (colour->green << 8) | (colour->blue << 16));
    ReDraw();
}

std::optional<platform::RgbColour> WindowController::askColour(platform::RgbColour start) {
    return services_.dialogs.chooseColor(start, CustomColors);
}

// ---- enlargement and reduction -----------------------------------------------------------

void WindowController::enlargeBoard() {
    if (board.GridMax >= kLargestEnlargedGridMax) return;
    // Ten columns and rows more, never beyond 200 (a board file or an
    // imported pattern may bring a size off the steps of ten).
    patterns::ResizeBoard(board, std::min(board.GridMax + 10, kLargestEnlargedGridMax), session_.BoardCopy);
    session_.restartLineage();
    ScalePictures();
    ReDraw();
    ApplySizeRule();
    BoardReplaced();
}

void WindowController::reduceBoard() {
    if (board.GridMax <= engine::kMinGridMax) return;
    const int32_t newGridMax = std::max(board.GridMax - 10, engine::kMinGridMax);
    DropSelectionBeyond(newGridMax);  // before the board shrinks
    patterns::ResizeBoard(board, newGridMax, session_.BoardCopy);
    session_.restartLineage();
    ScalePictures();
    ReDraw();
    ApplySizeRule();
    BoardReplaced();
}

void WindowController::DropSelectionBeyond(int32_t gridMax) {
    Selection& s = selection;
    if (HasSelection() && (s.SelRight > gridMax || s.SelBottom > gridMax)) {
        s.SelLeft = -1;
        s.FocusShown = false;
        window().setFocusRect(std::nullopt);
    }
}

void WindowController::ApplySizeRule() {
    sizeMenu_ = {board.GridMax < kLargestEnlargedGridMax, board.GridMax > engine::kMinGridMax};
    sizeButtons_ = sizeMenu_;
}

}  // namespace app
