// SPDX-License-Identifier: MIT
// Editing the board with the keyboard cursor alone, through the fakes.

#include <gtest/gtest.h>

#include "display/board_renderer.h"
#include "io/formats.h"
#include "support/controller_fixture.h"
#include "ui/texts.h"

using platform::BoardKey;

namespace {

struct KeyboardEditing : Started {
    bool key(BoardKey k, platform::Modifiers m = {}) { return f.window.events->boardKey(k, m); }
    std::pair<int32_t, int32_t> cursor() { return f.controller->KeyCursorCell(); }
    int32_t max() { return f.board().GridMax; }
};

// The first arrow only shows the cursor, in the board's middle, outlined on
// its cell; Space is not taken before. Then arrows move it round the torus,
// each move selecting the cell as a click does.
TEST_F(KeyboardEditing, ArrowsShowThenMoveTheCursorRoundTheTorus) {
    EXPECT_FALSE(key(BoardKey::Toggle));
    EXPECT_FALSE(f.controller->KeyCursorShown());
    EXPECT_TRUE(key(BoardKey::Right));
    const int32_t middle = max() / 2;
    EXPECT_EQ(cursor(), std::make_pair(middle, middle));
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_EQ(f.window.keyCursor, display::CellsPixelRect(middle, middle, middle, middle, f.board().side(),
                                                          f.window.pictureSize, f.window.pictureSize));
    f.click(0, 0);  // hidden, and waiting on the clicked cell
    EXPECT_FALSE(f.controller->KeyCursorShown());
    EXPECT_EQ(f.window.keyCursor, std::nullopt);
    key(BoardKey::Up);
    key(BoardKey::Up);
    EXPECT_EQ(cursor(), std::make_pair(0, max()));
    key(BoardKey::Left);
    EXPECT_EQ(cursor(), std::make_pair(max(), max()));
    EXPECT_EQ(f.box(), (SelectionBox{max(), max(), max(), max()}));
    key(BoardKey::Down);
    key(BoardKey::Right);
    EXPECT_EQ(cursor(), std::make_pair(0, 0));
    EXPECT_EQ(f.window.panels[3], "x = 0, y = 0");
    f.window.events->boardFocusLeft();
    EXPECT_FALSE(f.controller->KeyCursorShown());
}

// Shift+arrows select from where the cursor was, as a drag does, stopping at
// the board's edge; copy takes that selection. A selection made otherwise
// starts a new one at the cursor.
TEST_F(KeyboardEditing, ShiftArrowsSelectLikeADrag) {
    f.clearBoard();
    f.setLive(1, 2, 40, 50, 60);
    f.click(1, 1);
    key(BoardKey::Down);  // shows the cursor on (1, 1)
    for (BoardKey k : {BoardKey::Left, BoardKey::Left, BoardKey::Down, BoardKey::Down}) key(k, kShift);
    EXPECT_EQ(f.box(), (SelectionBox{0, 1, 1, 3}));
    EXPECT_TRUE(f.window.buttonEnabled(Button::Copy));
    f.command(Menu::EditCopy);
    ASSERT_TRUE(f.clipboard.cells);
    const auto decoded = io::DecodeCellBlock(*f.clipboard.cells);
    ASSERT_TRUE(std::holds_alternative<io::CellBlock>(decoded));
    const io::CellBlock& block = std::get<io::CellBlock>(decoded);
    EXPECT_EQ(block.w, 2);
    EXPECT_EQ(block.h, 3);
    EXPECT_EQ(block.at(1, 1), (io::CellEntry{1, 40, 50, 60}));
    f.drag(5, 5, 8, 8);
    key(BoardKey::Up);
    key(BoardKey::Right, kShift);
    EXPECT_EQ(f.box(), (SelectionBox{5, 5, 6, 5}));
}

// Space toggles the cell under the cursor exactly as Shift+click: a dead
// cell lives in a random colour, each toggle one undo step; during a run it
// does nothing.
TEST_F(KeyboardEditing, SpaceTogglesAsShiftClickDoes) {
    f.clearBoard();
    key(BoardKey::Right);
    key(BoardKey::Right);
    const auto [x, y] = cursor();
    EXPECT_TRUE(key(BoardKey::Toggle));
    EXPECT_TRUE(f.board().cell(x, y).live());
    EXPECT_EQ(f.box(), (SelectionBox{x, y, x, y}));
    EXPECT_NE(f.window.boardName.find(texts::kAccessLiveCell), std::string::npos);
    key(BoardKey::Toggle);
    EXPECT_FALSE(f.board().cell(x, y).live());
    EXPECT_NE(f.window.boardName.find(texts::kAccessDeadCell), std::string::npos);
    f.command(Menu::EditUndo);
    EXPECT_TRUE(f.board().cell(x, y).live());
    f.command(Menu::EditUndo);
    EXPECT_FALSE(f.board().cell(x, y).live());
    EXPECT_FALSE(f.window.menuEnabled(Menu::EditUndo));
    f.setLive(0, 0);
    f.setLive(1, 0);
    f.setLive(2, 0);
    f.window.onProcessEvents = [&] {
        key(BoardKey::Toggle);
        f.command(Menu::ExecStop);
    };
    f.command(Menu::ExecStart);
    EXPECT_FALSE(f.board().cell(x, y).live());
}

// The board as a screen reader tells it: size, generation and population,
// and the cursor's cell while it is shown; a board made smaller keeps the
// cursor on it.
TEST_F(KeyboardEditing, TheBoardDescribesItselfAndTheCursorsCell) {
    f.clearBoard();
    f.setLive(3, 4, 10, 20, 30);
    f.command(Menu::ExecStep);
    const std::string side = std::to_string(f.board().side());
    EXPECT_EQ(f.window.boardName, "盤面");
    EXPECT_EQ(f.window.boardDescription, "盤面 " + side + " × " + side + " セル、世代 = " +
                                             std::to_string(f.board().Generation) + "、セル数 = 0");
    f.click(9, 9);
    key(BoardKey::Left);
    EXPECT_EQ(f.window.boardName, "盤面、x = 9, y = 9、死んだセル");
    EXPECT_TRUE(f.window.boardDescription.ends_with("セル数 = 0、x = 9, y = 9、死んだセル"));
    for (int i = 0; i < 200; ++i) key(BoardKey::Right, kShift);
    EXPECT_EQ(cursor().first, max());
    f.command(Menu::PatternReduction);
    EXPECT_LE(cursor().first, f.board().GridMax);
}

}  // namespace
