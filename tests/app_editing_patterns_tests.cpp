// The Pattern menu on Form1 over the recording fakes: built-in patterns and
// the item dispatch, mirrors and the quarter turn, random fill, clear, the
// colour dialog, and enlarging and reducing the board with its enabling.

#include <gtest/gtest.h>

#include <set>

#include "app/texts.h"
#include "io/formats.h"
#include "support/form_fixture.h"

using engine::CellRecord;
using platform::Menu;

namespace {

void select(FormFixture& f, int left, int top, int right, int bottom) {
    f.window.events->boardMouseDown(platform::kLeftButton, 0, left + 0.5f, top + 0.5f);
    f.window.events->boardMouseMove(platform::kLeftButton, 0, right + 0.5f, bottom + 0.5f);
    f.window.events->boardMouseUp(platform::kLeftButton, 0, right + 0.5f, bottom + 0.5f);
}

void expectSelection(FormFixture& f, int left, int top, int right, int bottom) {
    const app::Selection& s = f.selection();
    EXPECT_EQ(s.SelLeft, left);
    EXPECT_EQ(s.SelTop, top);
    EXPECT_EQ(s.SelRight, right);
    EXPECT_EQ(s.SelBottom, bottom);
}

void press(FormFixture& f, const std::string& key) { f.window.events->toolbarButtonClicked(key); }

void expectSizeCommands(FormFixture& f, bool expand, bool reduction) {
    EXPECT_EQ(f.window.menuEnabled(Menu::PatternExpand), expand);
    EXPECT_EQ(f.window.buttonEnabled("Expand"), expand);
    EXPECT_EQ(f.window.menuEnabled(Menu::PatternReduction), reduction);
    EXPECT_EQ(f.window.buttonEnabled("Reduction"), reduction);
}

}  // namespace

// ---- built-in patterns ---------------------------------------------------------------

TEST(BuiltinItems, GliderShrinksTheSelectionToItsBoxInOneColour) {
    FormFixture f;
    f.start();
    f.clearBoard();
    f.setLive(20, 20, 1, 2, 3);  // in the old selection, outside the glider's box
    f.setLive(11, 10, 1, 2, 3);  // inside the box where the picture is dead
    f.board().Modified = false;
    select(f, 10, 10, 20, 20);
    const int shown = f.window.showCount;
    const uint64_t drawn = f.form->random.drawn();
    f.window.events->patternItemTriggered(1);
    EXPECT_EQ(f.form->random.drawn() - drawn, 3u);
    expectSelection(f, 10, 10, 12, 12);
    EXPECT_EQ(f.board().cell(20, 20), (CellRecord{1, 1, 2, 3}));
    // Glider: .O. / ..O / OOO
    const std::set<std::pair<int, int>> live = {{11, 10}, {12, 11}, {10, 12}, {11, 12}, {12, 12}};
    const CellRecord colour = f.board().cell(11, 10);
    EXPECT_NE(colour, (CellRecord{1, 1, 2, 3}));
    for (int x = 10; x <= 12; ++x)
        for (int y = 10; y <= 12; ++y) EXPECT_EQ(f.board().cell(x, y), live.count({x, y}) ? colour : CellRecord{});
    EXPECT_GE(std::max(colour.Red, std::max(colour.Green, colour.Blue)), 128);
    EXPECT_FALSE(f.board().Modified);
    EXPECT_GT(f.window.showCount, shown);
    EXPECT_EQ(f.board().Population(), 6);

    // A second placement draws a fresh colour.
    f.window.events->patternItemTriggered(0);
    EXPECT_NE(f.board().cell(11, 10), colour);
    EXPECT_EQ(f.board().cell(11, 10).State, 1);
}

TEST(BuiltinItems, PatternsAtTheEdgesAreCutOffWithTheSelection) {
    FormFixture f;
    f.start();
    f.clearBoard();
    select(f, 48, 48, 48, 48);
    f.window.events->patternItemTriggered(0);  // r-Pentomino
    expectSelection(f, 48, 48, 49, 49);
    EXPECT_EQ(f.board().countLive(), 3);
    EXPECT_FALSE(f.board().cell(48, 48).live());
    for (auto [x, y] : {std::pair{49, 48}, {48, 49}, {49, 49}}) EXPECT_TRUE(f.board().cell(x, y).live());

    f.clearBoard();
    select(f, 30, 45, 31, 46);
    f.window.events->patternItemTriggered(2);  // glider gun
    expectSelection(f, 30, 45, 49, 49);
    // Rows 0..4, columns 0..19 of the gun hold six live cells.
    EXPECT_EQ(f.board().countLive(), 6);
    EXPECT_TRUE(f.board().cell(43, 47).live());  // (13, 2) of the picture
    EXPECT_EQ(f.window.focus, (platform::PixelRect{288, 432, 480, 480}));
}

// The registration item is always the last, from the menu or the toolbar,
// however many pattern files the menu lists; its click still draws a colour.
TEST(BuiltinItems, NewRegistrationReachesTheLastItem) {
    FormFixture f;
    f.files.addProgramFile("a.hxq", {1});
    f.files.addProgramFile("b.hxq", {2});
    f.start();
    ASSERT_EQ(f.window.patternItemCount(), 9);
    select(f, 2, 2, 4, 4);
    const uint64_t drawn = f.form->random.drawn();
    const int shown = f.window.showCount;
    press(f, "New registration");
    EXPECT_EQ(f.form->random.drawn() - drawn, 3u);
    ASSERT_EQ(f.dialogs.fileDialogs.size(), 1u);  // the save dialog of the registration
    EXPECT_FALSE(f.dialogs.fileDialogs[0].open);
    EXPECT_EQ(f.window.showCount, shown);  // no drawing after a registration
    f.dialogs.filePaths.push_back("/app/c.hxq");
    f.window.events->patternItemTriggered(8);
    ASSERT_EQ(f.dialogs.fileDialogs.size(), 2u);
    EXPECT_EQ(f.window.patternItemCount(), 10);
    EXPECT_EQ(f.window.patternItemCaption(9), texts::kRegisterPattern);
    press(f, "New registration");
    EXPECT_EQ(f.dialogs.fileDialogs.size(), 3u);
}

TEST(BuiltinItems, FileItemsAreReadAndTheSelectionClamped) {
    io::CellBlock block;
    block.w = 4;
    block.h = 2;
    block.entries.assign(8, io::CellEntry{1, 9, 8, 7});
    FormFixture f;
    f.files.addProgramFile("wide.hxq", io::EncodePatternFile(block));
    f.start();
    f.clearBoard();
    select(f, 47, 10, 47, 10);
    f.window.events->patternItemTriggered(6);
    expectSelection(f, 47, 10, 49, 11);
    EXPECT_EQ(f.board().cell(49, 11), (CellRecord{1, 9, 8, 7}));
    EXPECT_EQ(f.board().Population(), 6);
}

// ---- mirrors and the quarter turn -------------------------------------------------------

TEST(Transformations, ButtonsMirrorAndTurnTheSelection) {
    FormFixture f;
    f.start();
    f.clearBoard();
    f.setLive(10, 20, 1, 1, 1);
    f.setLive(12, 20, 2, 2, 2);
    f.setLive(10, 21, 3, 3, 3);
    select(f, 10, 20, 12, 21);
    const int shown = f.window.showCount;
    press(f, "Reversing right and left");
    EXPECT_EQ(f.board().cell(12, 20), (CellRecord{1, 1, 1, 1}));
    EXPECT_EQ(f.board().cell(10, 20), (CellRecord{1, 2, 2, 2}));
    EXPECT_EQ(f.board().cell(12, 21), (CellRecord{1, 3, 3, 3}));
    press(f, "Reversing top and bottom");
    EXPECT_EQ(f.board().cell(12, 20), (CellRecord{1, 3, 3, 3}));
    EXPECT_EQ(f.board().cell(12, 21), (CellRecord{1, 1, 1, 1}));
    EXPECT_EQ(f.board().cell(10, 21), (CellRecord{1, 2, 2, 2}));
    expectSelection(f, 10, 20, 12, 21);
    // Mirroring twice each way restores the block.
    f.window.events->menuTriggered(Menu::PatternReverseRL);
    f.window.events->menuTriggered(Menu::PatternReverseTB);
    EXPECT_EQ(f.board().cell(10, 20), (CellRecord{1, 1, 1, 1}));
    EXPECT_EQ(f.board().cell(12, 20), (CellRecord{1, 2, 2, 2}));
    EXPECT_EQ(f.board().cell(10, 21), (CellRecord{1, 3, 3, 3}));

    press(f, "Rotate");
    expectSelection(f, 10, 20, 11, 22);
    EXPECT_EQ(f.board().cell(11, 20), (CellRecord{1, 1, 1, 1}));
    EXPECT_EQ(f.board().cell(11, 22), (CellRecord{1, 2, 2, 2}));
    EXPECT_EQ(f.board().cell(10, 20), (CellRecord{1, 3, 3, 3}));
    EXPECT_EQ(f.board().countLive(), 3);
    EXPECT_EQ(f.window.showCount, shown + 5);
    // The focus rectangle follows the turned box: columns 10..11, rows 20..22.
    EXPECT_EQ(f.window.focus, (platform::PixelRect{96, 192, 115, 221}));
    f.window.events->menuTriggered(Menu::PatternRotate);
    expectSelection(f, 10, 20, 12, 21);
}

// A reduction drops a selection that no longer fits but leaves the buttons
// that it enabled; pressing them then changes nothing.
TEST(Transformations, SelectionButtonsWithoutASelectionDoNothing) {
    FormFixture f;
    f.start();
    select(f, 30, 30, 45, 45);
    f.setLive(40, 40);
    press(f, "Reduction");
    ASSERT_EQ(f.selection().SelLeft, -1);
    const std::vector<CellRecord> before = f.board().Cells;
    const int shown = f.window.showCount;
    for (const char* key : {"Reversing right and left", "Reversing top and bottom", "Rotate", "Color"}) press(f, key);
    EXPECT_EQ(f.board().Cells, before);
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_TRUE(f.dialogs.colorCalls.empty());
    EXPECT_EQ(f.window.showCount, shown);
}

// ---- random fill, clear and colour ---------------------------------------------------------

TEST(BoardCommands, RandomFillAfterAnEnlargementSeedsTheWholeBoard) {
    FormFixture f;
    f.start();
    select(f, 1, 1, 2, 2);
    press(f, "Expand");
    f.clearBoard();
    f.board().Modified = false;
    f.board().Generation = 40;
    press(f, "Random");
    EXPECT_EQ(f.board().GridMax, 59);
    EXPECT_EQ(f.board().Generation, 1);
    EXPECT_TRUE(f.board().Modified);
    int liveInNewBand = 0;
    for (int x = 0; x <= 59; ++x)
        for (int y = 0; y <= 59; ++y) liveInNewBand += (x >= 50 || y >= 50) && f.board().cell(x, y).live();
    EXPECT_GT(liveInNewBand, 100);  // about a fifth of 1100 cells
    EXPECT_EQ(f.board().Population(), f.board().countLive());
    expectSelection(f, 1, 1, 2, 2);
}

TEST(BoardCommands, ClearEmptiesTheBoardAndKeepsTheSelection) {
    FormFixture f;
    f.start();
    select(f, 5, 5, 9, 9);
    f.board().Generation = 17;
    const bool modified = f.board().Modified;
    f.window.events->menuTriggered(Menu::PatternClear);
    EXPECT_EQ(f.board().countLive(), 0);
    for (const CellRecord& c : f.board().Cells) ASSERT_EQ(c, CellRecord{});
    EXPECT_EQ(f.board().Generation, 1);
    EXPECT_EQ(f.board().Modified, modified);
    expectSelection(f, 5, 5, 9, 9);
    EXPECT_TRUE(f.selection().FocusShown);
    EXPECT_EQ(f.window.panels[1], "世代 = 1");
    EXPECT_EQ(f.window.panels[2], "セル数 = 0");
    EXPECT_FALSE(f.window.buttonEnabled("Start"));
}

TEST(ColourCommand, DialogStartsOnTheFirstLiveCellInDiagonalOrder) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> live;
        int32_t expected;  // 0x00BBGGRR of the cell (x, y) coloured (x, y, 5)
    };
    auto colourOf = [](int x, int y) { return x | (y << 8) | (5 << 16); };
    const std::vector<Case> cases = {
        {"anti-diagonal", {{10, 12}, {11, 11}, {12, 10}}, colourOf(12, 10)},
        {"with (11,10) live", {{10, 12}, {11, 11}, {12, 10}, {11, 10}}, colourOf(11, 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormFixture f;
        f.start();
        f.clearBoard();
        for (auto [x, y] : c.live) f.setLive(x, y, x, y, 5);
        select(f, 10, 10, 12, 12);
        press(f, "Color");
        ASSERT_EQ(f.dialogs.colorCalls.size(), 1u);
        EXPECT_EQ(f.dialogs.colorCalls[0].initial, c.expected);
        EXPECT_EQ(f.dialogs.colorCalls[0].flags, 259);
    }
    // A one-column selection whose only live cell is at the bottom.
    FormFixture f;
    f.start();
    f.clearBoard();
    f.setLive(7, 30, 0x11, 0x22, 0x33);
    select(f, 7, 20, 7, 30);
    f.window.events->menuTriggered(Menu::PatternColor);
    ASSERT_EQ(f.dialogs.colorCalls.size(), 1u);
    EXPECT_EQ(f.dialogs.colorCalls[0].initial, 0x332211);
    // Without a live cell there is no dialog.
    select(f, 8, 20, 8, 30);
    press(f, "Color");
    EXPECT_EQ(f.dialogs.colorCalls.size(), 1u);
}

TEST(ColourCommand, AnswersOfTheDialog) {
    struct Case {
        const char* name;
        platform::ColorDialogResult answer;
        bool recoloured;
        bool messageShown;
    };
    const std::vector<Case> cases = {
        {"cancel", {false, 255, 0}, false, false},
        {"black", {true, 0, 0}, false, false},
        {"pure red", {true, 255, 0}, true, false},
        {"dialog failure", {true, 255, 0xFFFF}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormFixture f;
        f.start();
        f.clearBoard();
        f.setLive(3, 3, 10, 20, 30);
        f.setLive(4, 4, 40, 50, 60);
        f.board().cell(3, 4) = {0, 1, 2, 3};  // dead, with colour fields
        f.setLive(9, 9, 70, 80, 90);          // outside the selection
        select(f, 2, 2, 5, 5);
        const std::vector<CellRecord> before = f.board().Cells;
        const int shown = f.window.showCount;
        f.dialogs.colorAnswers.push_back(c.answer);
        press(f, "Color");
        ASSERT_EQ(f.dialogs.colorCalls.size(), 1u);
        if (c.recoloured) {
            EXPECT_EQ(f.board().cell(3, 3), (CellRecord{1, 255, 0, 0}));
            EXPECT_EQ(f.board().cell(4, 4), (CellRecord{1, 255, 0, 0}));
            EXPECT_EQ(f.board().cell(3, 4), (CellRecord{0, 1, 2, 3}));
            EXPECT_EQ(f.board().cell(9, 9), (CellRecord{1, 70, 80, 90}));
            EXPECT_EQ(f.window.showCount, shown + 1);
        } else {
            EXPECT_EQ(f.board().Cells, before);
            EXPECT_EQ(f.window.showCount, shown);
        }
        if (c.messageShown) {
            ASSERT_EQ(f.dialogs.messages.size(), 1u);
            EXPECT_EQ(f.dialogs.messages[0].text, "ChooseColor (65535)");
            EXPECT_EQ(f.dialogs.messages[0].title, "Kaleidomat");
            EXPECT_EQ(f.dialogs.messages[0].icon, platform::MessageIcon::Exclamation);
            EXPECT_EQ(f.dialogs.messages[0].buttons, platform::MessageButtons::Ok);
            EXPECT_FALSE(f.window.closed);
        } else {
            EXPECT_TRUE(f.dialogs.messages.empty());
        }
    }
}

TEST(ColourCommand, CustomColoursLastWhileTheWindowLives) {
    FormFixture f;
    f.start();
    f.clearBoard();
    f.setLive(3, 3);
    select(f, 3, 3, 3, 3);
    f.dialogs.editCustomColors = [](std::array<int32_t, 16>& custom) { custom[2] = 0x00FF00; };
    press(f, "Color");
    std::array<int32_t, 16> seen{};
    f.dialogs.editCustomColors = [&](std::array<int32_t, 16>& custom) { seen = custom; };
    press(f, "Color");
    EXPECT_EQ(seen[2], 0x00FF00);
    EXPECT_EQ(f.form->CustomColors[2], 0x00FF00);
}

// ---- enlargement and reduction ------------------------------------------------------------

TEST(BoardSize, FifteenEnlargementsReachTheLargestBoard) {
    FormFixture f;
    f.start();
    for (int i = 1; i <= 15; ++i) {
        press(f, "Expand");
        ASSERT_EQ(f.board().GridMax, 49 + 10 * i);
        EXPECT_EQ(f.window.scale, 50 + 10 * i);
        expectSizeCommands(f, i < 15, true);
    }
    EXPECT_EQ(f.board().Cells.size(), 40000u);
    // Nothing beyond the limit, even when asked.
    f.form->mnuPatternExpand_Click();
    EXPECT_EQ(f.board().GridMax, 199);
}

TEST(BoardSize, FourReductionsReachTheSmallestBoard) {
    FormFixture f;
    f.start();
    for (int i = 1; i <= 4; ++i) {
        f.window.events->menuTriggered(Menu::PatternReduction);
        ASSERT_EQ(f.board().GridMax, 49 - 10 * i);
        EXPECT_EQ(f.window.scale, 50 - 10 * i);
        expectSizeCommands(f, true, i < 4);
    }
    f.form->mnuPatternReduction_Click();
    EXPECT_EQ(f.board().GridMax, 9);
    EXPECT_EQ(f.board().Cells.size(), 100u);
    press(f, "Expand");
    expectSizeCommands(f, true, true);
}

TEST(BoardSize, CellsBeyondTheSmallerBoardAreLostForGood) {
    FormFixture f;
    f.start();
    f.clearBoard();
    f.setLive(49, 49, 1, 2, 3);
    f.setLive(39, 39, 4, 5, 6);
    f.board().Generation = 8;
    f.board().Modified = false;
    press(f, "Reduction");
    EXPECT_EQ(f.board().Population(), 1);
    press(f, "Expand");
    EXPECT_EQ(f.board().cell(49, 49), CellRecord{});
    EXPECT_EQ(f.board().cell(39, 39), (CellRecord{1, 4, 5, 6}));
    EXPECT_EQ(f.board().countLive(), 1);
    EXPECT_EQ(f.board().Generation, 8);
    EXPECT_FALSE(f.board().Modified);
}

TEST(BoardSize, ReductionDropsOnlyASelectionThatNoLongerFits) {
    FormFixture f;
    f.start();
    select(f, 10, 10, 39, 39);
    press(f, "Reduction");
    expectSelection(f, 10, 10, 39, 39);
    EXPECT_TRUE(f.selection().FocusShown);
    // 480 pixels for 40 cells: 12 a cell.
    EXPECT_EQ(f.window.focus, (platform::PixelRect{120, 120, 480, 480}));

    press(f, "Expand");
    select(f, 35, 35, 45, 38);
    press(f, "Reduction");
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_FALSE(f.selection().FocusShown);
    EXPECT_EQ(f.window.focus, std::nullopt);
    // Enlargement leaves a selection alone.
    select(f, 1, 2, 3, 4);
    press(f, "Expand");
    expectSelection(f, 1, 2, 3, 4);
}

// A board file may bring a size off the steps of ten; enlargement and
// reduction still stay within 10 x 10 .. 200 x 200.
TEST(BoardSize, SizesOffTheStepsStopAtTheLimits) {
    FormFixture f;
    f.start();
    std::vector<CellRecord> copy;
    f.board().create(195);
    f.form->ScalePictures();
    f.form->ApplySizeRule();
    expectSizeCommands(f, true, true);
    press(f, "Expand");
    EXPECT_EQ(f.board().GridMax, 199);
    expectSizeCommands(f, false, true);

    f.board().create(14);
    f.form->ApplySizeRule();
    press(f, "Reduction");
    EXPECT_EQ(f.board().GridMax, 9);
    expectSizeCommands(f, true, false);
}
