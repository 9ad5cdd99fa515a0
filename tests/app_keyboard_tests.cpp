// SPDX-License-Identifier: MIT
// Editing the board with the keyboard cursor alone, through the fakes.

#include "io/formats.h"
#include "support/controller_fixture.h"

using platform::BoardKey;

namespace {

struct KeyboardEditing : Started {
    bool key(BoardKey k, platform::Modifiers m = {}, int times = 1) {
        for (; times > 1; --times) f.window.events->boardKey(k, m);
        return f.window.events->boardKey(k, m);
    }
    int32_t max() { return f.board().GridMax; }
};

// Arrows and Space are the view's until Tab shows the cursor, in the board's
// middle; arrows then go round the torus, each selecting its cell as a click
// does. A click hides it and leaves it on the clicked cell, and so does the
// focus going elsewhere.
TEST_F(KeyboardEditing, TabShowsThenArrowsMoveTheCursorRoundTheTorus) {
    EXPECT_FALSE(key(BoardKey::Toggle));
    EXPECT_FALSE(key(BoardKey::Right));
    EXPECT_TRUE(key(BoardKey::Show));
    EXPECT_EQ(f.controller->KeyCursorCell(), std::make_pair(max() / 2, max() / 2));
    EXPECT_TRUE(f.window.keyCursor && f.selection().SelLeft == -1);
    f.click(0, 0);
    EXPECT_EQ(f.window.keyCursor, std::nullopt);
    key(BoardKey::Show);
    key(BoardKey::Up);
    key(BoardKey::Left);
    const std::string corner = std::to_string(max());
    EXPECT_EQ(f.box(), (SelectionBox{max(), max(), max(), max()}));
    EXPECT_EQ(f.window.boardName, "盤面、x = " + corner + ", y = " + corner + "、死んだセル");
    f.window.events->boardFocusLeft();
    EXPECT_FALSE(f.controller->KeyCursorShown());
}

// Shift+arrows select from where the cursor was, as a drag does, and stop at
// the board's edge; copy takes that selection. A selection made otherwise
// starts a new one at the cursor.
TEST_F(KeyboardEditing, ShiftArrowsSelectLikeADrag) {
    f.clearBoard();
    f.setLive(1, 2, 40, 50, 60);
    f.click(1, 1);
    key(BoardKey::Show);
    key(BoardKey::Left, kShift, 2);
    key(BoardKey::Down, kShift, 2);
    EXPECT_EQ(f.box(), (SelectionBox{0, 1, 1, 3}));
    f.command(Menu::EditCopy);
    EXPECT_EQ(std::get<io::CellBlock>(io::DecodeCellBlock(f.clipboard.cells.value())).at(1, 1),
              (io::CellEntry{1, 40, 50, 60}));
    f.drag(5, 5, 8, 8);
    key(BoardKey::Show);
    key(BoardKey::Right, kShift, 200);
    EXPECT_EQ(f.box(), (SelectionBox{5, 5, max(), 5}));
}

// Space toggles the cursor's cell through Shift+click's own path (so it also
// does nothing during a run): a dead cell lives in a random colour, the board
// names it with its colour, and each toggle is an undo step.
TEST_F(KeyboardEditing, SpaceTogglesAsShiftClickDoes) {
    f.clearBoard();
    key(BoardKey::Show);
    key(BoardKey::Right);
    const auto [x, y] = f.controller->KeyCursorCell();
    EXPECT_TRUE(key(BoardKey::Toggle));
    EXPECT_TRUE(f.board().cell(x, y).live());
    EXPECT_TRUE(f.window.boardName.ends_with("生きたセル " + f.window.panels[4]));
    key(BoardKey::Toggle);
    f.command(Menu::EditUndo);
    EXPECT_TRUE(f.board().cell(x, y).live());
}

}  // namespace
