// SPDX-License-Identifier: MIT
// Mouse editing and selection through the controller, driven through the window events over
// the recording fakes: drags off the board, the right-click pop-up, the
// pointer read-out and the enabling that follows the selection. The real
// window's mouse is driven end to end under Xvfb (tests/e2e/).

#include <gtest/gtest.h>

#include "support/controller_fixture.h"

using platform::Menu;
using engine::CellRecord;
using platform::PixelRect;

namespace {

using MouseEditing = Started;

// The last cell inside is kept; presses off the board select nothing. A
// selection over a live cell enables the commands that need one.
TEST_F(MouseEditing, DragLeavingTheBoardKeepsTheLastCellInside) {
    f.clearBoard();
    f.setLive(47, 40);
    f.down(f.at(45, 45));
    f.move(f.at(49, 30));
    f.move(f.offBoard);
    const std::string panel3 = f.window.panels[3];
    f.up(f.offBoard);
    EXPECT_EQ(f.box(), (SelectionBox{45, 30, 49, 45}));
    EXPECT_EQ(panel3, "x = 49, y = 30");  // moves off the board leave the panels alone
    EXPECT_EQ(f.window.focus, (PixelRect{432, 288, 480, 442}));
    for (Button b : {Button::Cut, Button::Copy, Button::NewRegistration, Button::Color, Button::Rotate})
        EXPECT_TRUE(f.window.buttonEnabled(b)) << static_cast<int>(b);
    f.click(50, 3);  // a cell the board does not have
    f.down(f.offBoard);
    EXPECT_EQ(f.box(), (SelectionBox{45, 30, 49, 45}));
    EXPECT_FALSE(f.selection().Selecting);
}

// Inside the selection a right click keeps it, outside it selects the cell
// (toggled with Shift) before the pop-up opens. While open, the pop-up offers
// only the selection commands; afterwards the menu is whole again.
TEST_F(MouseEditing, RightClickPopup) {
    const Menu hidden[] = {Menu::PatternRandom, Menu::PatternClear, Menu::PatternExpand, Menu::PatternReduction,
                           Menu::Bar3};
    SelectionBox atPopup{};
    f.window.onPopup = [&](platform::Popup p) {
        EXPECT_EQ(p, platform::Popup::Pattern);
        atPopup = f.box();
        for (Menu m : hidden) EXPECT_FALSE(f.window.menuVisible(m));
    };
    f.drag(10, 10, 20, 15);
    f.click(12, 13, MouseButton::Right);
    EXPECT_EQ(atPopup, (SelectionBox{10, 10, 20, 15}));
    f.click(21, 13, MouseButton::Right);
    EXPECT_EQ(atPopup, (SelectionBox{21, 13, 21, 13}));
    const bool wasLive = f.board().cell(40, 40).live();
    f.click(40, 40, MouseButton::Right, kShift);
    EXPECT_EQ(f.board().cell(40, 40).live(), !wasLive);
    EXPECT_EQ(f.window.popups.size(), 3u);
    for (Menu m : hidden) EXPECT_TRUE(f.window.menuVisible(m));
}

// During a continuous run presses and releases do nothing. The run drops the
// selection under a drag still going on; that drag then ends.
TEST_F(MouseEditing, ClicksAreIgnoredDuringARun) {
    f.down(f.at(10, 10));
    int yields = 0;
    f.window.onProcessEvents = [&] {
        f.click(11, 11, MouseButton::Left, kShift);
        f.click(12, 12, MouseButton::Right);
        if (++yields == 3) f.command(Menu::ExecStop);
    };
    f.command(Menu::ExecStart);
    f.move(f.at(15, 15));
    f.up(f.at(15, 15));
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_TRUE(f.window.popups.empty());
    EXPECT_EQ(f.window.focus, std::nullopt);
}

// Opening the Edit or Pattern menu brings its items and their buttons up to
// date with the selection, the focus rectangle and the clipboard.
TEST_F(MouseEditing, MenusFollowTheSelectionWhenTheyOpen) {
    f.clearBoard();
    f.setLive(30, 30);
    auto expectMenus = [&](bool cut, bool paste, bool live) {
        f.window.events->menuAboutToShow(Menu::Edit);
        f.window.events->menuAboutToShow(Menu::Pattern);
        EXPECT_EQ(f.window.menuEnabled(Menu::EditCut) && f.window.buttonEnabled(Button::Copy), cut);
        EXPECT_EQ(f.window.menuEnabled(Menu::PatternCommon) && f.window.buttonEnabled(Button::NewRegistration), cut);
        EXPECT_EQ(f.window.menuEnabled(Menu::EditPaste), paste);
        EXPECT_EQ(f.window.buttonEnabled(Button::Paste), paste);
        EXPECT_EQ(f.window.menuEnabled(Menu::PatternRotate), live);
        EXPECT_EQ(f.window.buttonEnabled(Button::ReversingTopAndBottom), live);
    };
    f.clipboard.cells = {1};
    expectMenus(false, false, false);  // nothing selected, nothing shown
    f.drag(25, 25, 29, 29);
    expectMenus(true, true, false);
    f.clipboard.putForeign();
    f.drag(25, 25, 30, 30);
    expectMenus(true, false, true);
    f.clipboard.cells = {1};
    f.controller->DrawFocus();  // rectangle off, selection kept
    expectMenus(true, false, true);
}

// The live cells, row by row.
std::vector<std::pair<int, int>> LiveCells(ControllerFixture& f) {
    std::vector<std::pair<int, int>> live;
    for (int y = 0; y <= f.board().GridMax; ++y)
        for (int x = 0; x <= f.board().GridMax; ++x)
            if (f.board().cell(x, y).live()) live.push_back({x, y});
    return live;
}

// A Shift+drag from a dead cell brings every cell the pointer passes to life,
// the cells between two jumps of the pointer included (here a row, then a
// diagonal); a live cell on the way keeps its colour. The drag is one undo
// step, and redo brings back all of it.
TEST_F(MouseEditing, ShiftDragDrawsAlongThePath) {
    f.clearBoard();
    f.setLive(12, 10, 1, 2, 3);
    const std::vector<CellRecord> before = f.board().Cells;
    f.down(f.at(10, 10), MouseButton::Left, kShift);
    for (const auto& at : {f.at(14, 10), f.offBoard, f.at(14, 10), f.at(18, 14)}) f.move(at);
    f.up(f.at(18, 14));
    EXPECT_EQ(LiveCells(f), (std::vector<std::pair<int, int>>{
                                {10, 10}, {11, 10}, {12, 10}, {13, 10}, {14, 10}, {15, 11}, {16, 12}, {17, 13}, {18, 14}}));
    EXPECT_EQ(f.board().cell(12, 10), (CellRecord{1, 1, 2, 3}));
    const std::vector<CellRecord> drawn = f.board().Cells;
    f.command(Menu::EditUndo);
    EXPECT_EQ(f.board().Cells, before);
    EXPECT_FALSE(f.window.menuEnabled(Menu::EditUndo));
    f.command(Menu::EditRedo);
    EXPECT_EQ(f.board().Cells, drawn);
}

// From a live cell the drag erases and passes dead cells by. A command
// during the drag ends it: the drag is one step, the command another.
TEST_F(MouseEditing, ShiftDragFromALiveCellErases) {
    f.clearBoard();
    for (int x = 5; x <= 15; ++x) f.setLive(x, 20);
    f.setLive(30, 30);
    f.down(f.at(5, 20), MouseButton::Left, kShift);
    f.move(f.at(15, 20));
    f.move(f.at(15, 25));
    f.command(Menu::PatternRandom);
    f.up(f.at(15, 30));
    f.command(Menu::EditUndo);
    EXPECT_EQ(LiveCells(f), (std::vector<std::pair<int, int>>{{30, 30}}));
    f.command(Menu::EditUndo);
    EXPECT_EQ(LiveCells(f).size(), 12u);
    EXPECT_FALSE(f.window.menuEnabled(Menu::EditUndo));
}

}  // namespace
