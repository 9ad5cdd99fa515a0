// SPDX-License-Identifier: MIT
// The Pattern menu through the controller over the recording fakes: built-in patterns, the
// transformations' wiring, the colour dialog, and enlarging and reducing the
// board with its enabling. The pictures and the transformations themselves
// are tested in patterns/.

#include <gtest/gtest.h>

#include "support/controller_fixture.h"

using engine::CellRecord;
using platform::Menu;

namespace {

using PatternMenu = Started;

// One fresh colour per click, drawn first; the selection shrinks to the
// picture's box, cut at the board's corner; Modified stays.
TEST_F(PatternMenu, BuiltinPlacementShrinksTheSelectionToThePicture) {
    f.clearBoard();
    f.setLive(20, 20, 1, 2, 3);  // in the old selection, outside the glider's box
    f.board().Modified = false;
    f.drag(10, 10, 20, 20);
    const uint64_t drawn = f.random().drawn();
    f.window.events->patternItemTriggered(1);  // Glider: .O. / ..O / OOO
    EXPECT_EQ(f.random().drawn() - drawn, 3u);
    EXPECT_EQ(f.box(), (SelectionBox{10, 10, 12, 12}));
    EXPECT_EQ(f.board().cell(20, 20), (CellRecord{1, 1, 2, 3}));
    EXPECT_EQ(f.board().cell(12, 12), f.board().cell(11, 10));
    EXPECT_FALSE(f.board().Modified);
    EXPECT_EQ(f.window.panels[2], "セル数 = 6");  // drawn and counted
    f.drag(48, 48, 48, 48);
    f.window.events->patternItemTriggered(0);  // r-Pentomino
    EXPECT_EQ(f.box(), (SelectionBox{48, 48, 49, 49}));
}

// Buttons and menu items reach their command; every command draws, and the
// focus rectangle follows the turned box.
TEST_F(PatternMenu, TransformationCommandsMirrorAndTurnTheSelection) {
    f.clearBoard();
    f.setLive(10, 20, 1, 1, 1);
    f.drag(10, 20, 12, 21);
    const int shown = f.window.showCount;
    f.press(Button::ReversingRightAndLeft);
    f.window.events->menuTriggered(Menu::PatternReverseTB);
    EXPECT_EQ(f.board().cell(12, 21), (CellRecord{1, 1, 1, 1}));
    f.window.events->menuTriggered(Menu::PatternReverseRL);
    f.press(Button::ReversingTopAndBottom);
    f.press(Button::Rotate);
    EXPECT_EQ(f.box(), (SelectionBox{10, 20, 11, 22}));
    EXPECT_EQ(f.board().cell(11, 20), (CellRecord{1, 1, 1, 1}));
    EXPECT_EQ(f.window.showCount, shown + 5);
    EXPECT_EQ(f.window.focus, (platform::PixelRect{96, 192, 115, 221}));
    f.window.events->menuTriggered(Menu::PatternRotate);
    EXPECT_EQ(f.box(), (SelectionBox{10, 20, 12, 21}));
}

// The dialog starts on the first live cell in diagonal order; cancel and
// black change nothing.
TEST_F(PatternMenu, ColourDialog) {
    f.clearBoard();
    f.setLive(3, 3, 10, 20, 30);
    f.setLive(4, 2, 40, 50, 60);  // the same diagonal as (3, 3), further right: first
    f.setLive(9, 9, 70, 80, 90);  // outside the selection
    f.drag(2, 2, 5, 5);
    using platform::RgbColour;
    const std::optional<RgbColour> answers[] = {std::nullopt, RgbColour{}, RgbColour{255, 0, 0}};
    std::vector<CellRecord> expected = f.board().Cells;
    for (const auto& answer : answers) {
        if (answer.value_or(RgbColour{}) != RgbColour{}) expected[f.board().index(3, 3)] = expected[f.board().index(4, 2)] = {1, 255, 0, 0};
        f.dialogs.colorAnswers.push_back(answer);
        f.press(Button::Color);
        EXPECT_EQ(f.board().Cells, expected);
    }
    ASSERT_EQ(f.dialogs.colorCalls.size(), 3u);
    EXPECT_EQ(f.dialogs.colorCalls[0], (RgbColour{40, 50, 60}));  // the colour of (4, 2)
    EXPECT_TRUE(f.dialogs.messages.empty());
    f.drag(20, 20, 30, 30);  // no live cell: no dialog
    f.press(Button::Color);
    EXPECT_EQ(f.dialogs.colorCalls.size(), 3u);
}

// Ten rows and columns a step, never beyond 10 x 10 .. 200 x 200, also from
// sizes off the steps of ten, with Expand and Reduction enabled by the size.
// A reduction drops a selection that no longer fits, and only such a one.
TEST_F(PatternMenu, EnlargeAndReduce) {
    auto expectSize = [&](int32_t gridMax, bool expand, bool reduction) {
        EXPECT_EQ(f.board().GridMax, gridMax);
        EXPECT_EQ(f.window.scale, gridMax + 1);
        EXPECT_EQ(f.window.menuEnabled(Menu::PatternExpand) && f.window.buttonEnabled(Button::Expand), expand);
        EXPECT_EQ(f.window.menuEnabled(Menu::PatternReduction) && f.window.buttonEnabled(Button::Reduction), reduction);
    };
    f.board().create(185);
    f.press(Button::Expand);
    expectSize(195, true, true);
    f.press(Button::Expand);
    expectSize(199, false, true);
    f.board().create(24);
    f.window.events->menuTriggered(Menu::PatternReduction);
    expectSize(14, true, true);
    f.press(Button::Reduction);
    expectSize(9, true, false);
    f.command(Menu::PatternReduction);
    EXPECT_EQ(f.board().Cells.size(), 100u);

    f.board().create(49);
    f.controller->ScalePictures();
    f.drag(10, 10, 39, 39);
    f.press(Button::Reduction);
    EXPECT_EQ(f.box(), (SelectionBox{10, 10, 39, 39}));
    f.press(Button::Expand);
    f.drag(35, 35, 45, 38);
    f.press(Button::Reduction);
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_EQ(f.window.focus, std::nullopt);
}

}  // namespace
