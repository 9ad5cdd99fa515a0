// Mouse editing and selection on Form1, driven through the window events over
// the recording fakes: drags off the board, the right-click pop-up, the
// pointer read-out and the enabling that follows the selection. The drag
// example and Shift+click go through the real board widget in
// app_window_form_tests.cpp.

#include <gtest/gtest.h>

#include <limits>

#include "ui/texts.h"
#include "support/form_fixture.h"

using platform::kLeftButton;
using platform::kRightButton;
using platform::kShiftKey;
using platform::Menu;
using platform::PixelRect;

namespace {

const std::vector<std::string> kLiveCellButtons = {"Color", "Reversing right and left", "Reversing top and bottom",
                                                   "Rotate"};

using MouseSelection = Started;
using MouseEditing = Started;
using MenuEnabling = Started;

TEST_F(MouseSelection, DragLeavingTheBoardKeepsTheLastCellInside) {
    f.down(45.5f, 45.5f);
    f.move(49.9f, 30.2f);
    f.move(50.0f, 29.0f);  // the right edge itself is off the board
    f.move(63.0f, -4.0f);
    const std::string panel3 = f.window.panels[3];
    f.up(63.0f, -4.0f);
    EXPECT_EQ(f.box(), (SelectionBox{45, 30, 49, 45}));
    EXPECT_EQ(panel3, "x = 49, y = 30");  // moves off the board leave the panels alone
    EXPECT_EQ(f.window.focus, (PixelRect{432, 288, 480, 442}));

    // Presses off the board select nothing.
    f.click(50, 3);
    f.down(-0.5f, 3.0f);
    f.down(std::numeric_limits<float>::quiet_NaN(), 3.0f);
    EXPECT_EQ(f.box(), (SelectionBox{45, 30, 49, 45}));
    EXPECT_FALSE(f.selection().Selecting);
}

TEST_F(MouseSelection, ReleaseEnablesTheToolbarByTheSelection) {
    struct Case {
        bool liveCell, clipboardHasCells;
    };
    for (const Case c : {Case{false, false}, Case{false, true}, Case{true, false}}) {
        SCOPED_TRACE(testing::Message() << c.liveCell << c.clipboardHasCells);
        f.clearBoard();
        f.clipboard.contents.clear();
        if (c.liveCell) f.setLive(12, 14);
        if (c.clipboardHasCells) f.clipboard.contents[f.form->ClipFormat] = {1, 2, 3};
        f.drag(10, 10, 12, 14);
        for (const char* key : {"Cut", "Copy", "New registration"}) EXPECT_TRUE(f.window.buttonEnabled(key)) << key;
        EXPECT_EQ(f.window.buttonEnabled("Paste"), c.clipboardHasCells);
        for (const auto& key : kLiveCellButtons) EXPECT_EQ(f.window.buttonEnabled(key), c.liveCell) << key;
        // A later selection without life takes the live-cell buttons back.
        f.drag(1, 1, 2, 2);
        for (const auto& key : kLiveCellButtons) EXPECT_FALSE(f.window.buttonEnabled(key)) << key;
    }
}

TEST_F(MouseEditing, RightClickInsideKeepsTheSelectionOutsideSelectsTheCell) {
    // Nothing selected yet: even (0, 0) is outside, and is selected before the pop-up opens.
    SelectionBox atPopup{};
    f.window.onPopup = [&](platform::Popup p) {
        EXPECT_EQ(p, platform::Popup::Pattern);
        atPopup = f.box();
    };
    f.click(0, 0, kRightButton);
    EXPECT_EQ(atPopup, (SelectionBox{0, 0, 0, 0}));

    f.drag(10, 10, 20, 15);
    const PixelRect before = *f.window.focus;
    f.click(12, 13, kRightButton);
    EXPECT_EQ(f.box(), (SelectionBox{10, 10, 20, 15}));
    EXPECT_EQ(f.window.focus, before);
    f.click(30, 2, kRightButton);
    EXPECT_EQ(atPopup, (SelectionBox{30, 2, 30, 2}));
    EXPECT_EQ(f.window.popups.size(), 3u);

    // With Shift outside the selection the cell is toggled as well; inside not.
    const engine::CellRecord inside = f.board().cell(30, 2);
    f.click(30, 2, kRightButton, kShiftKey);
    EXPECT_EQ(f.board().cell(30, 2), inside);
    const bool wasLive = f.board().cell(40, 40).live();
    f.click(40, 40, kRightButton, kShiftKey);
    EXPECT_EQ(f.board().cell(40, 40).live(), !wasLive);
    EXPECT_EQ(f.box(), (SelectionBox{40, 40, 40, 40}));
}

// While the pop-up is open it offers only the selection commands, enabled by
// the selection; afterwards the menu is whole again.
TEST_F(MouseEditing, PopupHidesTheBoardCommandsWhileOpen) {
    f.clearBoard();
    f.setLive(5, 5);
    const Menu hidden[] = {Menu::PatternRandom, Menu::PatternClear, Menu::PatternExpand, Menu::PatternReduction,
                           Menu::Bar3};
    const Menu byLife[] = {Menu::PatternColor, Menu::PatternReverse, Menu::PatternRotate};
    int opened = 0;
    bool expectLive = true;
    f.window.onPopup = [&](platform::Popup) {
        ++opened;
        for (Menu m : hidden) EXPECT_FALSE(f.window.menuVisible(m));
        for (Menu m : byLife) EXPECT_TRUE(f.window.menuVisible(m));
        EXPECT_TRUE(f.window.menuEnabled(Menu::PatternCommon));
        for (Menu m : byLife) EXPECT_EQ(f.window.menuEnabled(m), expectLive);
    };
    f.click(5, 5, kRightButton);
    expectLive = false;
    f.click(9, 9, kRightButton);
    EXPECT_EQ(opened, 2);
    for (Menu m : hidden) EXPECT_TRUE(f.window.menuVisible(m));

    // An item chosen in the pop-up is carried out: a glider at the cell.
    f.window.onPopup = [&](platform::Popup) { f.window.events->patternItemTriggered(1); };
    f.click(20, 20, kRightButton);
    EXPECT_TRUE(f.board().cell(21, 20).live());
    EXPECT_EQ(f.box(), (SelectionBox{20, 20, 22, 22}));
    for (Menu m : hidden) EXPECT_TRUE(f.window.menuVisible(m));
}

TEST_F(MouseEditing, PointerReadOutShowsTheCellAndItsStoredColour) {
    f.board().cell(12, 7) = {1, 10, 200, 3};
    f.board().cell(0, 49) = {1, 255, 128, 1};
    f.board().cell(4, 4) = {0, 171, 205, 239};  // shown as stored, dead or not
    const std::pair<float, float> at[] = {{12.9f, 7.1f}, {0.0f, 49.99f}, {4.5f, 4.5f}};
    const char* panels[][2] = {{"x = 12, y = 7", "RGB = &H0AC803"},
                               {"x = 0, y = 49", "RGB = &HFF8001"},
                               {"x = 4, y = 4", "RGB = &HABCDEF"}};
    for (int i = 0; i < 3; ++i) {
        f.move(at[i].first, at[i].second, 0);
        EXPECT_EQ(f.window.panels[3], panels[i][0]);
        EXPECT_EQ(f.window.panels[4], panels[i][1]);
    }
    EXPECT_EQ(f.selection().SelLeft, -1);  // a hover selects nothing
}

// During a continuous run presses and releases do nothing while the pointer
// read-out keeps following. The run drops the selection under a drag still
// going on; that drag then ends instead of stretching a rectangle from nowhere.
TEST_F(MouseEditing, ClicksAreIgnoredDuringARun) {
    f.down(10.5f, 10.5f);
    int yields = 0;
    std::string panel3;
    f.window.onProcessEvents = [&] {
        ++yields;
        f.click(10, 10);
        f.click(11, 11, kLeftButton, kShiftKey);
        f.click(12, 12, kRightButton);
        f.move(33.5f, 21.5f, 0);
        panel3 = f.window.panels[3];
        if (yields == 3) f.form->mnuExecStop_Click();
    };
    f.form->mnuExecStart_Click();
    f.move(15.5f, 15.5f);
    f.up(15.5f, 15.5f);
    EXPECT_EQ(yields, 3);
    EXPECT_EQ(panel3, "x = 33, y = 21");
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_FALSE(f.selection().Selecting);
    EXPECT_TRUE(f.window.popups.empty());
    EXPECT_EQ(f.window.focus, std::nullopt);
}

// Opening the Edit or Pattern menu brings its items and their buttons up to
// date with the selection, the focus rectangle and the clipboard.
TEST_F(MenuEnabling, MenusFollowTheSelectionWhenTheyOpen) {
    f.clearBoard();
    f.setLive(30, 30);
    auto expectEdit = [&](bool cut, bool paste) {
        f.window.events->menuAboutToShow(Menu::Edit);
        for (Menu m : {Menu::EditCut, Menu::EditCopy}) EXPECT_EQ(f.window.menuEnabled(m), cut);
        for (const char* key : {"Cut", "Copy"}) EXPECT_EQ(f.window.buttonEnabled(key), cut);
        EXPECT_EQ(f.window.menuEnabled(Menu::EditPaste), paste);
        EXPECT_EQ(f.window.buttonEnabled("Paste"), paste);
    };
    auto expectPattern = [&](bool common, bool live) {
        f.window.events->menuAboutToShow(Menu::Pattern);
        EXPECT_EQ(f.window.menuEnabled(Menu::PatternCommon), common);
        EXPECT_EQ(f.window.buttonEnabled("New registration"), common);
        for (Menu m : {Menu::PatternColor, Menu::PatternReverse, Menu::PatternRotate})
            EXPECT_EQ(f.window.menuEnabled(m), live);
        for (const auto& key : kLiveCellButtons) EXPECT_EQ(f.window.buttonEnabled(key), live) << key;
        for (Menu m : {Menu::PatternRandom, Menu::PatternClear, Menu::PatternExpand, Menu::PatternReduction})
            EXPECT_TRUE(f.window.menuEnabled(m));  // never depend on the selection
    };
    f.clipboard.contents[f.form->ClipFormat] = {1};
    expectEdit(false, false);  // nothing selected, nothing shown
    expectPattern(false, false);
    f.drag(25, 25, 29, 29);
    expectEdit(true, true);
    expectPattern(true, false);
    f.clipboard.putForeign();
    expectEdit(true, false);
    f.clipboard.contents[f.form->ClipFormat] = {1};
    f.drag(25, 25, 30, 30);
    expectPattern(true, true);
    f.board().cell(30, 30).State = 2;  // any State but 0 is live
    expectPattern(true, true);
    f.form->DrawFocus();  // rectangle off, selection kept
    expectEdit(true, false);
    f.form->mnuExecStep_Click();  // drops the selection
    expectEdit(false, false);
    expectPattern(false, false);
}

}  // namespace
