// SPDX-License-Identifier: MIT
// Boards over 200 a side through the controller: the size dialog, the
// stepped sizes above 200, a large selection on the clipboard and in the
// pattern registration, and undo of whole 2048 x 2048 boards.

#include <gtest/gtest.h>

#include <random>

#include "support/controller_fixture.h"
#include "ui/texts.h"

namespace {

using LargeBoard = Started;

void chooseSize(ControllerFixture& f, std::optional<int> answer) {
    f.dialogs.numberAnswers.push_back(answer);
    for (const platform::Command& c : f.window.commands)
        if (c.caption == texts::kMenuPatternSize) return f.command(c.id);
    ADD_FAILURE() << "no size command";
}

// The dialog offers 10 .. 2048 from the side there is; cancel and the same
// side change nothing, another side keeps the cells that fit and is one undo
// step. 拡大 stops at 200, and 縮小 brings a larger board back to 200.
TEST_F(LargeBoard, SizeDialogResizesKeepingCellsAsOneUndoStep) {
    f.setLive(3, 4, 1, 2, 3);
    const std::vector<engine::CellRecord> before = f.board().Cells;
    chooseSize(f, std::nullopt);
    chooseSize(f, 50);
    EXPECT_FALSE(f.session().canUndo());
    EXPECT_EQ(f.dialogs.numberCalls.at(0), (std::array{50, 10, 2048}));
    chooseSize(f, 2048);
    EXPECT_EQ(std::pair(f.board().GridMax, f.window.scale), std::pair(2047, 2048));
    EXPECT_EQ(f.board().cell(3, 4), (engine::CellRecord{1, 1, 2, 3}));
    EXPECT_FALSE(f.window.menuEnabled(Menu::PatternExpand));
    f.press(Button::Reduction);
    EXPECT_EQ(f.board().GridMax, 199);
    f.command(Menu::EditUndo);
    f.command(Menu::EditUndo);
    EXPECT_EQ(f.board().Cells, before);
}

// A selection over 200 goes as RLE text and picture without a cell block,
// and pastes back from the RLE; registering it as a pattern file is refused
// before any file dialog.
TEST_F(LargeBoard, LargeSelectionGoesAsRleAndIsNoPatternFile) {
    chooseSize(f, 300);
    f.clearBoard();
    f.setLive(10, 10);
    f.setLive(260, 11);
    f.drag(10, 10, 260, 12);
    f.press(Button::Copy);
    EXPECT_TRUE(!f.clipboard.cells && !f.clipboard.picture.pixels.empty());
    EXPECT_EQ(f.clipboard.text, "x = 251, y = 3, rule = B3/S23\no$250bo!\n");
    // The RLE pastes back, from a single cell, in colours of its own.
    f.clearBoard();
    f.drag(5, 100, 5, 100);
    f.press(Button::Paste);
    EXPECT_EQ(f.board().countLive(), 2);
    EXPECT_TRUE(f.board().cell(5, 100).live() && f.board().cell(255, 101).live());
    f.press(Button::NewRegistration);
    EXPECT_TRUE(f.dialogs.fileDialogs.empty());
    expectOnlyMessage(f.dialogs.messages, texts::kPatternTooLarge, platform::MessageIcon::Exclamation);
}

// Twenty changes of a whole 2048 x 2048 board stay undoable beyond the
// list's usual 64 MiB (every cell live in a colour of its own: 8 MB a board,
// even compressed), and undo puts back exactly the cells, dead ones with
// colour left in them included.
TEST(LargeBoardUndo, TwentyWholeBoardChangesAtTheLargestSizeStayUndoable) {
    app::Session session;
    session.board.create(2047);
    session.board.cell(5, 5) = {0, 1, 2, 3};
    const std::vector<engine::CellRecord> first = session.board.Cells;
    std::mt19937 rng(7);
    for (int i = 0; i < 20; ++i) {
        session.beginChange("");
        for (engine::CellRecord& c : session.board.Cells) c = {1, int(rng() % 256), int(rng() % 256), 0};
        session.endChange("", false);
    }
    EXPECT_GT(session.history().bytes(), app::UndoHistory::kByteLimit);
    for (int i = 0; i < 20; ++i) session.restore(session.undo());
    EXPECT_EQ(session.board.Cells, first);
}

}  // namespace
