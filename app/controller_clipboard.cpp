// SPDX-License-Identifier: MIT
// Cut, copy and paste through the system clipboard. The cells travel as a cell
// block, which every running copy of the program reads; a picture of the
// selection and the selection as RLE text (live and dead only, which Life
// programs and editors paste) go beside it for other programs. Pasting reads
// the cell block, or when there is none a Life pattern copied as text.

#include <algorithm>
#include <variant>

#include "app/window_controller.h"
#include "ui/texts.h"
#include "display/board_renderer.h"
#include "io/formats.h"
#include "io/life_text.h"

namespace app {

namespace {

using platform::MessageIcon;

// The selection as the board shows it: the part of the drawn board picture
// under the selected cells, cut at the same pixel edges as the focus
// rectangle, with the focus rectangle's dotted inverting outline when it is on
// the screen. Empty when the picture has not been drawn.
platform::PixelImage SelectionPicture(const platform::PixelImage& board, const Selection& s, int32_t side) {
    platform::PixelImage picture;
    if (board.width <= 0 || board.height <= 0) return picture;
    const platform::PixelRect cells = display::CellsPixelRect(s.SelLeft, s.SelTop, s.SelRight, s.SelBottom, side,
                                                              board.width, board.height);
    const int left = std::clamp(cells.left, 0, board.width);
    const int top = std::clamp(cells.top, 0, board.height);
    const int right = std::clamp(cells.right, left, board.width);
    const int bottom = std::clamp(cells.bottom, top, board.height);
    if (right == left || bottom == top) return picture;

    picture.resize(right - left, bottom - top);
    for (int y = 0; y < picture.height; ++y)
        std::copy_n(&board.pixels[static_cast<std::size_t>(top + y) * board.width + left], picture.width,
                    &picture.pixels[static_cast<std::size_t>(y) * picture.width]);

    if (s.FocusShown)
        display::ForEachFocusDot({0, 0, picture.width, picture.height},
                                 [&picture](int x, int y) { picture.at(x, y) ^= 0x00FFFFFFu; });
    return picture;
}

// The selection as it goes to the clipboard. A selection wider or taller
// than a cell block holds goes as its RLE text and picture alone (the paste
// takes the RLE back, in new colours).
platform::ClipboardContents SelectionContents(const engine::Board& board, const Selection& s,
                                              const platform::PixelImage& shown) {
    const int w = s.SelRight - s.SelLeft + 1, h = s.SelBottom - s.SelTop + 1;
    if (w > io::kMaxBlockSide || h > io::kMaxBlockSide) {
        const auto live = [&](int x, int y) { return board.cell(s.SelLeft + x, s.SelTop + y).live(); };
        return {{}, SelectionPicture(shown, s, board.side()), io::WriteRleOf(w, h, live)};
    }
    const io::CellBlock block = io::BlockFromBoard(board, s.SelLeft, s.SelTop, s.SelRight, s.SelBottom);
    return {io::EncodeCellBlock(block), SelectionPicture(shown, s, board.side()), io::WriteRle(io::GridFromBlock(block))};
}

}  // namespace

// True when the cells are on the clipboard; otherwise the user has been told.
bool WindowController::PutSelectionOnClipboard() {
    if (services_.clipboard.put(SelectionContents(board, selection, picBuffer))) return true;
    Message(texts::kOpenClipboardFailed, MessageIcon::Exclamation);
    return false;
}

void WindowController::copySelection() {
    if (HasSelection()) PutSelectionOnClipboard();
    editButtons_.paste = true;
}

void WindowController::cutSelection() {
    Selection& s = selection;
    if (!HasSelection()) return;
    // Cells that did not get onto the clipboard stay on the board.
    if (PutSelectionOnClipboard()) {
        for (int32_t x = s.SelLeft; x <= s.SelRight; ++x)
            for (int32_t y = s.SelTop; y <= s.SelBottom; ++y) board.cell(x, y) = {};
        ReDraw();
    }
    editButtons_.paste = true;
}

void WindowController::pasteSelection() {
    Selection& s = selection;
    if (!HasSelection()) return;

    // Take the focus rectangle off; the flag stays set so that it comes back
    // around the selection as it is when the paste ends.
    if (s.FocusShown) {
        DrawFocus();
        s.FocusShown = true;
    }
    // Puts the rectangle back when the paste ends without drawing the board.
    const auto restoreFocus = [this, &s] {
        if (s.FocusShown) {
            s.FocusShown = false;
            DrawFocus();
        }
    };

    // A single cell takes whatever fits between it and the board's corner.
    if (s.SelLeft == s.SelRight && s.SelTop == s.SelBottom) {
        s.SelRight = board.GridMax;
        s.SelBottom = board.GridMax;
    }

    // The block is laid from the selection's top-left cell, cut to the
    // selection and to the board.
    const auto lay = [&](const io::CellBlock& block) {
        if (s.SelRight - s.SelLeft + 1 > block.w) s.SelRight = s.SelLeft + block.w - 1;
        if (s.SelBottom - s.SelTop + 1 > block.h) s.SelBottom = s.SelTop + block.h - 1;
        io::BlockToBoard(block, board, s.SelLeft, s.SelTop, s.SelRight, s.SelBottom);
        ReDraw();
    };

    platform::Clipboard& clipboard = services_.clipboard;
    if (!clipboard.hasCells()) {
        // Without a cell block, a Life pattern copied as text is pasted.
        if (const std::optional<io::CellBlock> pattern = ClipboardLifePattern()) return lay(*pattern);
        restoreFocus();
        return;
    }
    const auto refuse = [&](const std::string& text) {
        Message(text, MessageIcon::Exclamation);
        restoreFocus();
    };
    // Another program may have taken the clipboard since it was asked.
    const platform::Result<std::vector<uint8_t>> data = clipboard.getCells();
    if (!data) return refuse(texts::kGetClipboardDataFailed);
    if (data->empty()) return refuse(texts::kGlobalSizeFailed);
    // A block that does not hold what its size fields promise (another
    // program may use the same format name) is refused whole.
    auto decoded = io::DecodeCellBlock(*data);
    if (std::holds_alternative<io::DecodeError>(decoded)) return refuse(tr(texts::kNotOurData));
    lay(std::get<io::CellBlock>(decoded));
}

}  // namespace app
