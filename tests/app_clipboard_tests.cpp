// SPDX-License-Identifier: MIT
// Cut, copy and paste through the controller over the fake clipboard.

#include <gtest/gtest.h>

#include "support/controller_fixture.h"

using platform::MessageIcon;

namespace {

using Bytes = std::vector<uint8_t>;

struct Clipboard : Started {
    // The cell block on the clipboard (an empty one is put there first).
    Bytes& clip() { return f.clipboard.cells ? *f.clipboard.cells : f.clipboard.cells.emplace(); }

    // A w x h block whose entry (dx, dy) tells its place; every third entry
    // is dead but keeps a colour.
    static Bytes block(int w, int h) {
        Bytes out = {static_cast<uint8_t>(w), 0, static_cast<uint8_t>(h), 0};
        for (int dx = 0; dx < w; ++dx)
            for (int dy = 0; dy < h; ++dy) {
                const engine::CellRecord e = entryOf(dx, dy);
                for (int v : {e.State, e.Red, e.Green, e.Blue}) out.push_back(static_cast<uint8_t>(v));
            }
        return out;
    }
    static engine::CellRecord entryOf(int dx, int dy) { return {(dx + dy) % 3 != 0, dx + 1, dy + 1, 200}; }
};

// The cell block, and beside it the board under the selected cells cut at
// the focus rectangle's edges, with its dotted outline while it is shown.
TEST_F(Clipboard, CopyPutsTheCellBlockAndAPictureOfTheSelection) {
    f.clearBoard();
    f.setLive(4, 7, 1, 2, 3);
    f.setLive(6, 8, 4, 5, 6);
    f.board().cell(5, 7) = {0, 7, 8, 9};
    f.drag(4, 7, 6, 8);
    f.press(Button::Copy);
    EXPECT_EQ(clip(), (Bytes{3, 0, 2, 0, 1, 1, 2, 3, 0, 0, 0, 0, 0, 7, 8, 9, 0, 0, 0, 0, 0, 0, 0, 0, 1, 4, 5, 6}));
    EXPECT_TRUE(f.window.buttonEnabled(Button::Paste));
    const auto& pic = f.clipboard.picture;
    const auto& board = f.picBuffer();
    ASSERT_EQ(std::pair(pic.width, pic.height), std::pair(67 - 38, 86 - 67));
    EXPECT_EQ(pic.at(0, 0), board.at(38, 67) ^ 0x00FFFFFFu);
    EXPECT_EQ(pic.at(1, 0), board.at(39, 67));
    EXPECT_EQ(pic.at(10, 10), board.at(48, 77));
}

// The block is laid from the selection's corner, cut to the selection; a
// single cell widens to the board's corner first.
TEST_F(Clipboard, PasteLaysTheBlockFromTheSelectionsCornerCutToTheSelection) {
    const std::tuple<SelectionBox, int, int, int, int> cases[] = {
        {{45, 45, 45, 45}, 10, 10, 49, 49},
        {{10, 10, 19, 19}, 3, 3, 12, 12},
        {{0, 0, 5, 1}, 2, 4, 1, 1},
    };
    for (const auto& [box, w, h, right, bottom] : cases) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        for (auto& cell : f.board().Cells) cell = {1, 9, 9, 9};
        f.drag(box[0], box[1], box[2], box[3]);
        clip() = block(w, h);
        f.press(Button::Paste);
        const int l = box[0], t = box[1];
        EXPECT_EQ(f.box(), (SelectionBox{l, t, right, bottom}));
        for (int x = 0; x <= 49; ++x)
            for (int y = 0; y <= 49; ++y) {
                const bool written = x >= l && x <= right && y >= t && y <= bottom;
                ASSERT_EQ(f.board().cell(x, y), written ? entryOf(x - l, y - t) : engine::CellRecord(1, 9, 9, 9));
            }
        EXPECT_EQ(f.board().Population(), f.board().countLive());  // drawn and counted again
        EXPECT_TRUE(f.selection().FocusShown);
    }
}

// Without the cell block (another program's text or picture) a paste only
// widens a single cell; a malformed block is refused whole. Either way the
// focus rectangle comes back only if it was on the screen.
TEST_F(Clipboard, PasteWithoutAGoodBlockChangesNoCell) {
    const auto before = f.board().Cells;
    f.drag(45, 45, 45, 45);
    f.clipboard.putForeign();
    f.press(Button::Paste);
    EXPECT_EQ(f.box(), (SelectionBox{45, 45, 49, 49}));
    EXPECT_EQ(f.window.focus, (platform::PixelRect{432, 432, 480, 480}));
    EXPECT_TRUE(f.dialogs.messages.empty());
    f.drag(3, 3, 3, 3);
    f.controller->DrawFocus();  // the rectangle off
    f.command(Menu::EditPaste);
    EXPECT_FALSE(f.selection().FocusShown || f.window.focus.has_value());
    clip() = Bytes{0xC9, 0, 1, 0};
    f.drag(10, 10, 12, 12);
    f.press(Button::Paste);
    expectOnlyMessage(f.dialogs.messages, "このプログラムのデータではありません！", MessageIcon::Exclamation);
    EXPECT_TRUE(f.window.focus.has_value());
    EXPECT_TRUE(f.board().Cells == before);
}

// A copy or cut that could not take the clipboard over leaves the cells on
// the board; a paste whose block has gone since it was seen, or holds no
// bytes, changes nothing.
TEST_F(Clipboard, EveryClipboardFailureHasItsMessageAndChangesNoCell) {
    enum Failure { TakenElsewhere, Vanished, NoBytes };
    const std::tuple<Button, Failure, const char*> cases[] = {
        {Button::Copy, TakenElsewhere, "OpenClipboard failed!"},
        {Button::Cut, TakenElsewhere, "OpenClipboard failed!"},
        {Button::Paste, Vanished, "GetClipboardData failed!"},
        {Button::Paste, NoBytes, "GlobalSize failed!"},
    };
    const auto before = f.board().Cells;
    f.drag(5, 5, 6, 6);
    for (const auto& [button, failure, text] : cases) {
        SCOPED_TRACE(text);
        clip() = failure == NoBytes ? Bytes{} : block(2, 2);
        f.dialogs.messages.clear();
        f.clipboard.failPut = failure == TakenElsewhere;
        f.clipboard.cellsVanish = failure == Vanished;
        f.press(button);
        expectOnlyMessage(f.dialogs.messages, text, MessageIcon::Exclamation);
        EXPECT_TRUE(f.board().Cells == before);
        EXPECT_EQ(clip(), failure == NoBytes ? Bytes{} : block(2, 2));
    }
}

}  // namespace
