// Mouse editing and selection on Form1, driven through the window events over
// the recording fakes: drags, Shift+clicks, the right-click pop-up, the
// pointer read-out, the focus rectangle and the enabling that follows the
// selection.

#include <gtest/gtest.h>

#include <limits>

#include "app/texts.h"
#include "engine/rules.h"
#include "support/form_fixture.h"

using platform::kLeftButton;
using platform::kRightButton;
using platform::kShiftKey;
using platform::Menu;
using platform::PixelRect;

namespace {

const std::vector<std::string> kLiveCellButtons = {"Color", "Reversing right and left", "Reversing top and bottom",
                                                   "Rotate"};

// Mouse positions in board units, in the middle of a cell unless given.
struct Mouse {
    FormFixture& f;
    void down(float x, float y, int button = kLeftButton, int shift = 0) {
        f.window.events->boardMouseDown(button, shift, x, y);
    }
    void move(float x, float y, int button = kLeftButton, int shift = 0) {
        f.window.events->boardMouseMove(button, shift, x, y);
    }
    void up(float x, float y, int button = kLeftButton, int shift = 0) {
        f.window.events->boardMouseUp(button, shift, x, y);
    }
    void drag(int x0, int y0, int x1, int y1) {
        down(x0 + 0.5f, y0 + 0.5f);
        move(x1 + 0.5f, y1 + 0.5f);
        up(x1 + 0.5f, y1 + 0.5f);
    }
    void click(int x, int y, int button = kLeftButton, int shift = 0) {
        down(x + 0.5f, y + 0.5f, button, shift);
        up(x + 0.5f, y + 0.5f, button, shift);
    }
};

void expectSelection(FormFixture& f, int left, int top, int right, int bottom) {
    const app::Selection& s = f.selection();
    EXPECT_EQ(s.SelLeft, left);
    EXPECT_EQ(s.SelTop, top);
    EXPECT_EQ(s.SelRight, right);
    EXPECT_EQ(s.SelBottom, bottom);
}

}  // namespace

TEST(MouseSelection, DragUpAndLeftEndsInOrderWithTheFocusRectangleAround) {
    FormFixture f;
    f.start();
    Mouse m{f};
    m.down(10.5f, 10.5f);
    EXPECT_TRUE(f.selection().Selecting);
    expectSelection(f, 10, 10, 10, 10);
    // 480 pixels for 50 cells: 9.6 a cell.
    EXPECT_EQ(f.window.focus, (PixelRect{96, 96, 106, 106}));
    m.move(7.2f, 15.9f);
    m.move(5.5f, 20.5f);
    expectSelection(f, 10, 10, 5, 20);  // the moving corner, not yet in order
    m.up(5.5f, 20.5f);
    EXPECT_FALSE(f.selection().Selecting);
    expectSelection(f, 5, 10, 10, 20);
    EXPECT_TRUE(f.selection().FocusShown);
    // Columns 5..10 and rows 10..20: edges 48, 96, 105.6 -> 106, 201.6 -> 202.
    EXPECT_EQ(f.window.focus, (PixelRect{48, 96, 106, 202}));

    // A drawing keeps the rectangle; a new press replaces it.
    f.form->ReDraw();
    EXPECT_EQ(f.window.focus, (PixelRect{48, 96, 106, 202}));
    m.down(0.5f, 49.5f);
    EXPECT_EQ(f.window.focus, (PixelRect{0, 470, 10, 480}));
    m.up(0.5f, 49.5f);
    // DrawFocus alone takes it off and flips the flag.
    f.form->DrawFocus();
    EXPECT_FALSE(f.selection().FocusShown);
    EXPECT_EQ(f.window.focus, std::nullopt);
}

TEST(MouseSelection, FocusEdgesRoundHalvesToEven) {
    FormFixture f;
    f.start();
    // A board of 64 cells (a board file may bring any size): 7.5 pixels a cell.
    f.board().create(63);
    f.form->ScalePictures();
    Mouse m{f};
    m.drag(1, 3, 2, 4);
    // Edges 7.5 -> 8, 22.5 -> 22, 22.5 -> 22, 37.5 -> 38.
    EXPECT_EQ(f.window.focus, (PixelRect{8, 22, 22, 38}));
}

TEST(MouseSelection, DragLeavingTheBoardKeepsTheLastCellInside) {
    FormFixture f;
    f.start();
    Mouse m{f};
    m.down(45.5f, 45.5f);
    m.move(49.9f, 30.2f);
    m.move(50.0f, 29.0f);   // the right edge itself is off the board
    m.move(63.0f, -4.0f);
    m.move(20.0f, -0.01f);
    const std::string panel3 = f.window.panels[3];
    m.up(63.0f, -4.0f);
    expectSelection(f, 45, 30, 49, 45);
    EXPECT_EQ(panel3, "x = 49, y = 30");  // moves off the board leave the panels alone
    EXPECT_EQ(f.window.focus, (PixelRect{432, 288, 480, 442}));
}

TEST(MouseSelection, PressesOffTheBoardSelectNothing) {
    FormFixture f;
    f.start();
    Mouse m{f};
    m.click(50, 3);
    m.down(-0.5f, 3.0f);
    m.down(std::numeric_limits<float>::quiet_NaN(), 3.0f);
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_FALSE(f.selection().Selecting);
    EXPECT_EQ(f.window.focus, std::nullopt);
}

// The release step enables the selection buttons by what the selection holds.
TEST(MouseSelection, ReleaseEnablesTheToolbarByTheSelection) {
    struct Case {
        const char* name;
        bool liveCell;
        bool clipboardHasCells;
    };
    for (const Case& c : {Case{"dead cells only", false, false}, Case{"dead cells, cells on the clipboard", false, true},
                          Case{"a live cell", true, false}}) {
        SCOPED_TRACE(c.name);
        FormFixture f;
        f.start();
        f.clearBoard();
        if (c.liveCell) f.setLive(12, 14);
        if (c.clipboardHasCells) f.clipboard.contents[f.form->ClipFormat] = {1, 2, 3};
        Mouse m{f};
        m.drag(10, 10, 12, 14);
        EXPECT_TRUE(f.window.buttonEnabled("Cut"));
        EXPECT_TRUE(f.window.buttonEnabled("Copy"));
        EXPECT_TRUE(f.window.buttonEnabled("New registration"));
        EXPECT_EQ(f.window.buttonEnabled("Paste"), c.clipboardHasCells);
        for (const auto& key : kLiveCellButtons) EXPECT_EQ(f.window.buttonEnabled(key), c.liveCell) << key;
    }
    // A later selection without life takes the live-cell buttons back.
    FormFixture f;
    f.start();
    f.clearBoard();
    f.setLive(3, 3);
    Mouse m{f};
    m.drag(3, 3, 4, 4);
    EXPECT_TRUE(f.window.buttonEnabled("Rotate"));
    m.drag(6, 6, 8, 8);
    for (const auto& key : kLiveCellButtons) EXPECT_FALSE(f.window.buttonEnabled(key)) << key;
}

TEST(MouseEditing, ShiftClickBringsADeadCellToLifeAndKillsALiveOne) {
    FormFixture f;
    f.start();
    f.clearBoard();
    f.board().Modified = false;
    Mouse m{f};
    const uint64_t drawnBefore = f.form->random.drawn();
    m.click(7, 9, kLeftButton, kShiftKey);
    const engine::CellRecord born = f.board().cell(7, 9);
    EXPECT_EQ(born.State, 1);
    EXPECT_GE(born.Red, 1);
    EXPECT_LE(born.Red, 255);
    EXPECT_GE(born.Green, 1);
    EXPECT_LE(born.Green, 255);
    EXPECT_GE(born.Blue, (born.Red <= 128 && born.Green <= 128) ? 128 : 1);
    EXPECT_LE(born.Blue, 255);
    EXPECT_EQ(f.form->random.drawn() - drawnBefore, 3u);  // one random colour
    expectSelection(f, 7, 9, 7, 9);
    EXPECT_FALSE(f.selection().Selecting);
    EXPECT_FALSE(f.board().Modified);
    EXPECT_EQ(f.board().Population(), 1);  // redrawn
    EXPECT_EQ(f.window.panels[2], "セル数 = 1");
    // The buttons were set by the release before the toggle: the cell was dead.
    for (const auto& key : kLiveCellButtons) EXPECT_FALSE(f.window.buttonEnabled(key)) << key;
    EXPECT_TRUE(f.window.buttonEnabled("Cut"));

    f.board().cell(7, 9) = {1, 4, 5, 6};
    m.click(7, 9, kLeftButton, kShiftKey);
    EXPECT_EQ(f.board().cell(7, 9), engine::CellRecord{});
    EXPECT_EQ(f.board().Population(), 0);
    for (const auto& key : kLiveCellButtons) EXPECT_TRUE(f.window.buttonEnabled(key)) << key;
    EXPECT_FALSE(f.board().Modified);
}

TEST(MouseEditing, RightClickInsideKeepsTheSelectionOutsideSelectsTheCell) {
    FormFixture f;
    f.start();
    Mouse m{f};
    m.drag(10, 10, 20, 15);
    const PixelRect before = *f.window.focus;
    m.click(12, 13, kRightButton);
    expectSelection(f, 10, 10, 20, 15);
    EXPECT_EQ(f.window.focus, before);
    ASSERT_EQ(f.window.popups.size(), 1u);

    // Outside: the cell is selected before the pop-up opens.
    app::Selection atPopup;
    f.window.onPopup = [&](platform::Popup) { atPopup = f.selection(); };
    m.click(30, 2, kRightButton);
    EXPECT_EQ(atPopup.SelLeft, 30);
    EXPECT_EQ(atPopup.SelTop, 2);
    expectSelection(f, 30, 2, 30, 2);
    EXPECT_EQ(f.window.popups.size(), 2u);

    // With Shift outside the selection the cell is toggled as well; inside not.
    const engine::CellRecord inside = f.board().cell(30, 2);
    m.click(30, 2, kRightButton, kShiftKey);
    EXPECT_EQ(f.board().cell(30, 2), inside);
    const bool wasLive = f.board().cell(40, 40).live();
    m.click(40, 40, kRightButton, kShiftKey);
    EXPECT_EQ(f.board().cell(40, 40).live(), !wasLive);
    expectSelection(f, 40, 40, 40, 40);
}

TEST(MouseEditing, RightClickRightAfterStartUpSelectsTheCornerCell) {
    FormFixture f;
    f.start();
    ASSERT_EQ(f.selection().SelLeft, -1);
    bool selectedAtPopup = false;
    f.window.onPopup = [&](platform::Popup p) {
        EXPECT_EQ(p, platform::Popup::Pattern);
        selectedAtPopup = f.selection().SelLeft == 0 && f.selection().SelTop == 0;
    };
    Mouse m{f};
    m.click(0, 0, kRightButton);
    EXPECT_TRUE(selectedAtPopup);
    expectSelection(f, 0, 0, 0, 0);
}

// While the pop-up is open it offers only the selection commands, enabled
// by the selection; afterwards the menu is whole again.
TEST(MouseEditing, PopupHidesTheBoardCommandsWhileOpen) {
    FormFixture f;
    f.start();
    f.clearBoard();
    f.setLive(5, 5);
    const Menu hidden[] = {Menu::PatternRandom, Menu::PatternClear, Menu::PatternExpand, Menu::PatternReduction,
                           Menu::Bar3};
    const Menu offered[] = {Menu::PatternCommon, Menu::PatternColor, Menu::PatternReverse, Menu::PatternRotate};
    int opened = 0;
    bool expectLive = true;
    f.window.onPopup = [&](platform::Popup) {
        ++opened;
        for (Menu m : hidden) EXPECT_FALSE(f.window.menuVisible(m));
        for (Menu m : offered) EXPECT_TRUE(f.window.menuVisible(m));
        EXPECT_TRUE(f.window.menuEnabled(Menu::PatternCommon));
        EXPECT_EQ(f.window.menuEnabled(Menu::PatternColor), expectLive);
        EXPECT_EQ(f.window.menuEnabled(Menu::PatternReverse), expectLive);
        EXPECT_EQ(f.window.menuEnabled(Menu::PatternRotate), expectLive);
    };
    Mouse m{f};
    m.click(5, 5, kRightButton);
    expectLive = false;
    m.click(9, 9, kRightButton);
    EXPECT_EQ(opened, 2);
    for (Menu item : hidden) EXPECT_TRUE(f.window.menuVisible(item));

    // An item chosen in the pop-up is carried out: a glider at the cell.
    f.window.onPopup = [&](platform::Popup) { f.window.events->patternItemTriggered(1); };
    m.click(20, 20, kRightButton);
    EXPECT_TRUE(f.board().cell(21, 20).live());
    expectSelection(f, 20, 20, 22, 22);
    for (Menu item : hidden) EXPECT_TRUE(f.window.menuVisible(item));
}

TEST(MouseEditing, PointerReadOut) {
    FormFixture f;
    f.start();
    f.board().cell(12, 7) = {1, 10, 200, 3};
    f.board().cell(0, 49) = {1, 255, 128, 1};
    f.board().cell(3, 3) = {0, 0, 0, 0};
    Mouse m{f};
    m.move(12.9f, 7.1f, 0);
    EXPECT_EQ(f.window.panels[3], "x = 12, y = 7");
    EXPECT_EQ(f.window.panels[4], "RGB = &H0AC803");
    m.move(0.0f, 49.99f, 0);
    EXPECT_EQ(f.window.panels[3], "x = 0, y = 49");
    EXPECT_EQ(f.window.panels[4], "RGB = &HFF8001");
    m.move(3.5f, 3.5f, 0);
    EXPECT_EQ(f.window.panels[4], "RGB = &H000000");
    // Colour fields are shown as stored, dead cell or not.
    f.board().cell(4, 4) = {0, 171, 205, 239};
    m.move(4.5f, 4.5f, 0);
    EXPECT_EQ(f.window.panels[3], "x = 4, y = 4");
    EXPECT_EQ(f.window.panels[4], "RGB = &HABCDEF");
    // A hover without a drag does not touch the selection.
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_EQ(f.window.focus, std::nullopt);
}

// During a continuous run presses and releases do nothing while the
// pointer read-out keeps following.
TEST(MouseEditing, ClicksAreIgnoredDuringARun) {
    FormFixture f;
    f.start();
    Mouse m{f};
    int yields = 0;
    std::string panel3;
    f.window.onProcessEvents = [&] {
        ++yields;
        m.click(10, 10);
        m.click(11, 11, kLeftButton, kShiftKey);
        m.click(12, 12, kRightButton);
        m.move(33.5f, 21.5f, 0);
        panel3 = f.window.panels[3];
        if (yields == 3) f.form->mnuExecStop_Click();
    };
    f.form->mnuExecStart_Click();
    EXPECT_EQ(yields, 3);
    EXPECT_EQ(panel3, "x = 33, y = 21");
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_FALSE(f.selection().Selecting);
    EXPECT_TRUE(f.window.popups.empty());
    EXPECT_EQ(f.window.focus, std::nullopt);
}

// A run or step drops the selection under a drag that is still going on;
// the drag then ends instead of stretching a rectangle from nowhere.
TEST(MouseEditing, DragInterruptedByAStepEnds) {
    FormFixture f;
    f.start();
    Mouse m{f};
    m.down(10.5f, 10.5f);
    f.form->mnuExecStep_Click();
    m.move(15.5f, 15.5f);
    EXPECT_FALSE(f.selection().Selecting);
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_FALSE(f.selection().FocusShown);
    EXPECT_EQ(f.window.focus, std::nullopt);
    m.up(15.5f, 15.5f);
    EXPECT_EQ(f.selection().SelLeft, -1);
}

TEST(MenuEnabling, EditMenuFollowsSelectionFocusAndClipboard) {
    FormFixture f;
    f.start();
    auto open = [&] { f.window.events->menuAboutToShow(Menu::Edit); };
    auto expectEdit = [&](bool cut, bool paste) {
        EXPECT_EQ(f.window.menuEnabled(Menu::EditCut), cut);
        EXPECT_EQ(f.window.menuEnabled(Menu::EditCopy), cut);
        EXPECT_EQ(f.window.menuEnabled(Menu::EditPaste), paste);
        EXPECT_EQ(f.window.buttonEnabled("Cut"), cut);
        EXPECT_EQ(f.window.buttonEnabled("Copy"), cut);
        EXPECT_EQ(f.window.buttonEnabled("Paste"), paste);
    };
    f.clipboard.contents[f.form->ClipFormat] = {1};
    open();
    expectEdit(false, false);  // nothing selected, nothing shown
    Mouse m{f};
    m.drag(1, 1, 3, 3);
    open();
    expectEdit(true, true);
    f.clipboard.putForeign();
    open();
    expectEdit(true, false);
    f.clipboard.contents[f.form->ClipFormat] = {1};
    f.form->DrawFocus();  // rectangle off, selection kept
    open();
    expectEdit(true, false);
}

TEST(MenuEnabling, PatternMenuFollowsTheSelection) {
    FormFixture f;
    f.start();
    f.clearBoard();
    f.setLive(30, 30);
    auto open = [&] { f.window.events->menuAboutToShow(Menu::Pattern); };
    auto expectPattern = [&](bool common, bool live) {
        EXPECT_EQ(f.window.menuEnabled(Menu::PatternCommon), common);
        EXPECT_EQ(f.window.buttonEnabled("New registration"), common);
        for (Menu item : {Menu::PatternColor, Menu::PatternReverse, Menu::PatternRotate})
            EXPECT_EQ(f.window.menuEnabled(item), live);
        for (const auto& key : kLiveCellButtons) EXPECT_EQ(f.window.buttonEnabled(key), live) << key;
        // The board-wide commands never depend on the selection.
        for (Menu item : {Menu::PatternRandom, Menu::PatternClear, Menu::PatternExpand, Menu::PatternReduction})
            EXPECT_TRUE(f.window.menuEnabled(item));
    };
    open();
    expectPattern(false, false);
    Mouse m{f};
    m.drag(25, 25, 29, 29);
    open();
    expectPattern(true, false);
    m.drag(25, 25, 30, 30);
    open();
    expectPattern(true, true);
    // A cell with a State other than 1 is live too.
    f.board().cell(30, 30).State = 2;
    open();
    expectPattern(true, true);
    f.form->mnuExecStep_Click();  // drops the selection
    open();
    expectPattern(false, false);
}
