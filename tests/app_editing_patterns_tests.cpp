// The Pattern menu on Form1 over the recording fakes: built-in patterns, the
// transformations' wiring, random fill, clear, the colour dialog, and
// enlarging and reducing the board with its enabling. The pictures and the
// transformations themselves are tested in patterns/.

#include <gtest/gtest.h>

#include <set>

#include "ui/texts.h"
#include "support/form_fixture.h"

using engine::CellRecord;
using platform::Menu;

namespace {

void expectSizeCommands(FormFixture& f, bool expand, bool reduction) {
    EXPECT_EQ(f.window.menuEnabled(Menu::PatternExpand), expand);
    EXPECT_EQ(f.window.buttonEnabled("Expand"), expand);
    EXPECT_EQ(f.window.menuEnabled(Menu::PatternReduction), reduction);
    EXPECT_EQ(f.window.buttonEnabled("Reduction"), reduction);
}

using BuiltinItems = Started;
using Transformations = Started;
using BoardCommands = Started;
using ColourCommand = Started;
using BoardSize = Started;

TEST_F(BuiltinItems, PlacementShrinksTheSelectionToTheCutPictureInOneFreshColour) {
    f.clearBoard();
    f.setLive(20, 20, 1, 2, 3);  // in the old selection, outside the glider's box
    f.setLive(11, 10, 1, 2, 3);  // inside the box where the picture is dead
    f.board().Modified = false;
    f.drag(10, 10, 20, 20);
    const uint64_t drawn = f.form->random.drawn();
    f.window.events->patternItemTriggered(1);
    EXPECT_EQ(f.form->random.drawn() - drawn, 3u);
    EXPECT_EQ(f.box(), (SelectionBox{10, 10, 12, 12}));
    EXPECT_EQ(f.board().cell(20, 20), (CellRecord{1, 1, 2, 3}));
    // Glider: .O. / ..O / OOO
    const std::set<std::pair<int, int>> live = {{11, 10}, {12, 11}, {10, 12}, {11, 12}, {12, 12}};
    const CellRecord colour = f.board().cell(11, 10);
    EXPECT_NE(colour, (CellRecord{1, 1, 2, 3}));
    for (int x = 10; x <= 12; ++x)
        for (int y = 10; y <= 12; ++y) EXPECT_EQ(f.board().cell(x, y), live.count({x, y}) ? colour : CellRecord{});
    EXPECT_FALSE(f.board().Modified);
    EXPECT_EQ(f.window.panels[2], "セル数 = 6");  // drawn and counted

    f.drag(48, 48, 48, 48);
    f.window.events->patternItemTriggered(0);  // r-Pentomino, cut at the corner
    EXPECT_EQ(f.box(), (SelectionBox{48, 48, 49, 49}));
    EXPECT_EQ(f.window.panels[2], "セル数 = 9");
    EXPECT_EQ(f.board().cell(49, 48), f.board().cell(49, 49));
    EXPECT_NE(f.board().cell(49, 48), colour);
}

TEST_F(Transformations, ButtonsAndMenuItemsMirrorAndTurnTheSelection) {
    f.clearBoard();
    f.setLive(10, 20, 1, 1, 1);
    f.setLive(12, 20, 2, 2, 2);
    f.setLive(10, 21, 3, 3, 3);
    f.drag(10, 20, 12, 21);
    const int shown = f.window.showCount;
    f.press("Reversing right and left");
    EXPECT_EQ(f.board().cell(12, 20), (CellRecord{1, 1, 1, 1}));
    f.window.events->menuTriggered(Menu::PatternReverseTB);
    EXPECT_EQ(f.board().cell(12, 21), (CellRecord{1, 1, 1, 1}));
    f.window.events->menuTriggered(Menu::PatternReverseRL);
    f.press("Reversing top and bottom");  // back where they were
    f.press("Rotate");
    EXPECT_EQ(f.box(), (SelectionBox{10, 20, 11, 22}));
    EXPECT_EQ(f.board().cell(11, 20), (CellRecord{1, 1, 1, 1}));
    EXPECT_EQ(f.board().cell(11, 22), (CellRecord{1, 2, 2, 2}));
    EXPECT_EQ(f.board().cell(10, 20), (CellRecord{1, 3, 3, 3}));
    EXPECT_EQ(f.board().countLive(), 3);
    EXPECT_EQ(f.window.showCount, shown + 5);  // every command draws
    EXPECT_EQ(f.window.focus, (platform::PixelRect{96, 192, 115, 221}));  // around the turned box
    f.window.events->menuTriggered(Menu::PatternRotate);
    EXPECT_EQ(f.box(), (SelectionBox{10, 20, 12, 21}));
}

// A reduction drops a selection that no longer fits but leaves the buttons
// it enabled; pressing them then changes nothing.
TEST_F(Transformations, SelectionButtonsWithoutASelectionDoNothing) {
    f.setLive(40, 40);
    f.drag(30, 30, 45, 45);
    f.press("Reduction");
    ASSERT_EQ(f.selection().SelLeft, -1);
    const std::vector<CellRecord> before = f.board().Cells;
    const int shown = f.window.showCount;
    for (const char* key : {"Reversing right and left", "Reversing top and bottom", "Rotate", "Color"}) f.press(key);
    EXPECT_EQ(f.board().Cells, before);
    EXPECT_TRUE(f.dialogs.colorCalls.empty());
    EXPECT_EQ(f.window.showCount, shown);
}

// Clear keeps the selection and Modified; random fill after an enlargement
// seeds the new band too and marks the board modified.
TEST_F(BoardCommands, ClearAndRandomFillKeepTheSelection) {
    f.drag(5, 5, 9, 9);
    f.press("Expand");
    f.board().Generation = 17;
    f.window.events->menuTriggered(Menu::PatternClear);
    for (const CellRecord& c : f.board().Cells) ASSERT_EQ(c, CellRecord{});
    EXPECT_TRUE(f.board().Modified);  // unchanged from start-up
    EXPECT_TRUE(f.selection().FocusShown);
    EXPECT_EQ(f.window.panels[1], "世代 = 1");
    EXPECT_EQ(f.window.panels[2], "セル数 = 0");
    EXPECT_FALSE(f.window.buttonEnabled("Start"));

    f.board().Modified = false;
    f.board().Generation = 40;
    f.press("Random");
    ASSERT_EQ(f.board().GridMax, 59);
    EXPECT_EQ(f.board().Generation, 1);
    EXPECT_TRUE(f.board().Modified);
    int liveInNewBand = 0;
    for (int x = 0; x <= 59; ++x)
        for (int y = 0; y <= 59; ++y) liveInNewBand += (x >= 50 || y >= 50) && f.board().cell(x, y).live();
    EXPECT_GT(liveInNewBand, 100);  // about a fifth of 1100 cells
    EXPECT_EQ(f.box(), (SelectionBox{5, 5, 9, 9}));
}

TEST_F(ColourCommand, DialogStartsOnTheFirstLiveCellOnlyWhenThereIsOne) {
    f.clearBoard();
    for (auto [x, y] : {std::pair{10, 12}, {11, 11}, {12, 10}, {11, 10}}) f.setLive(x, y, x, y, 5);
    f.drag(10, 10, 12, 12);
    f.press("Color");
    ASSERT_EQ(f.dialogs.colorCalls.size(), 1u);
    EXPECT_EQ(f.dialogs.colorCalls[0].initial, 0x050A0B);  // 0x00BBGGRR of (11, 10)
    EXPECT_EQ(f.dialogs.colorCalls[0].flags, 259);
    f.drag(20, 20, 30, 30);
    f.press("Color");
    EXPECT_EQ(f.dialogs.colorCalls.size(), 1u);
}

TEST_F(ColourCommand, AnswersOfTheDialog) {
    struct Case {
        const char* name;
        platform::ColorDialogResult answer;
        bool recoloured;
    };
    const Case cases[] = {
        {"cancel", {false, 255, 0}, false},
        {"black", {true, 0, 0}, false},
        {"dialog failure", {true, 255, 0xFFFF}, false},
        {"pure red", {true, 255, 0}, true},
    };
    f.clearBoard();
    f.setLive(3, 3, 10, 20, 30);
    f.setLive(4, 4, 40, 50, 60);
    f.board().cell(3, 4) = {0, 1, 2, 3};  // dead, with colour fields
    f.setLive(9, 9, 70, 80, 90);          // outside the selection
    f.drag(2, 2, 5, 5);
    std::vector<CellRecord> expected = f.board().Cells;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.recoloured) expected[f.board().index(3, 3)] = expected[f.board().index(4, 4)] = {1, 255, 0, 0};
        const int shown = f.window.showCount;
        f.dialogs.messages.clear();
        f.dialogs.colorAnswers.push_back(c.answer);
        f.press("Color");
        EXPECT_EQ(f.dialogs.colorAnswers.size(), 0u);  // the dialog was asked
        EXPECT_EQ(f.board().Cells, expected);
        EXPECT_EQ(f.window.showCount, shown + (c.recoloured ? 1 : 0));
        if (c.answer.failureCode) {
            expectOnlyMessage(f.dialogs.messages, "ChooseColor (65535)", platform::MessageIcon::Exclamation);
        } else {
            EXPECT_TRUE(f.dialogs.messages.empty());
        }
    }
}

TEST_F(BoardSize, FifteenEnlargementsAndFourReductionsWithTheEnabling) {
    for (int i = 1; i <= 15; ++i) {
        f.press("Expand");
        ASSERT_EQ(f.board().GridMax, 49 + 10 * i);
        EXPECT_EQ(f.window.scale, 50 + 10 * i);
        expectSizeCommands(f, i < 15, true);
    }
    EXPECT_EQ(f.board().Cells.size(), 40000u);
    f.form->mnuPatternExpand_Click();  // nothing beyond the limit, even when asked
    EXPECT_EQ(f.board().GridMax, 199);

    f.board().create(49);
    for (int i = 1; i <= 4; ++i) {
        f.window.events->menuTriggered(Menu::PatternReduction);
        ASSERT_EQ(f.board().GridMax, 49 - 10 * i);
        EXPECT_EQ(f.window.scale, 50 - 10 * i);
        expectSizeCommands(f, true, i < 4);
    }
    f.form->mnuPatternReduction_Click();
    EXPECT_EQ(f.board().Cells.size(), 100u);

    // A board file may bring a size off the steps of ten: the limits hold.
    f.board().create(195);
    f.form->ApplySizeRule();
    f.press("Expand");
    EXPECT_EQ(f.board().GridMax, 199);
    expectSizeCommands(f, false, true);
    f.board().create(14);
    f.form->ApplySizeRule();
    f.press("Reduction");
    EXPECT_EQ(f.board().GridMax, 9);
    expectSizeCommands(f, true, false);
}

TEST_F(BoardSize, CellsBeyondTheSmallerBoardAreLostForGood) {
    f.clearBoard();
    f.setLive(49, 49, 1, 2, 3);
    f.setLive(39, 39, 4, 5, 6);
    f.board().Generation = 8;
    f.board().Modified = false;
    f.press("Reduction");
    EXPECT_EQ(f.window.panels[2], "セル数 = 1");
    f.press("Expand");
    EXPECT_EQ(f.board().cell(49, 49), CellRecord{});
    EXPECT_EQ(f.board().cell(39, 39), (CellRecord{1, 4, 5, 6}));
    EXPECT_EQ(f.board().countLive(), 1);
    EXPECT_EQ(f.board().Generation, 8);
    EXPECT_FALSE(f.board().Modified);
}

TEST_F(BoardSize, ReductionDropsOnlyASelectionThatNoLongerFits) {
    f.drag(10, 10, 39, 39);
    f.press("Reduction");
    EXPECT_EQ(f.box(), (SelectionBox{10, 10, 39, 39}));
    EXPECT_EQ(f.window.focus, (platform::PixelRect{120, 120, 480, 480}));  // 12 pixels a cell

    f.press("Expand");
    f.drag(35, 35, 45, 38);
    f.press("Reduction");
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_FALSE(f.selection().FocusShown);
    EXPECT_EQ(f.window.focus, std::nullopt);
    f.drag(1, 2, 3, 4);
    f.press("Expand");  // enlargement leaves a selection alone
    EXPECT_EQ(f.box(), (SelectionBox{1, 2, 3, 4}));
}

}  // namespace
