// SPDX-License-Identifier: MIT
// The Session on its own, without a window: changes kept for undo, the
// generations stepped and gone back through, and what a run locks.

#include <gtest/gtest.h>

#include "app/session.h"
#include "engine/rules.h"

namespace {

app::Session seeded(uint64_t seed = 9) {
    app::Session s;
    s.random.reseed(seed);
    s.board.create(19);
    engine::Init(s.board, s.random);
    return s;
}

// A change becomes one undo step that gives back the board, selection and
// file name; a change inside it belongs to it, one that changes nothing is
// none, and one not to be kept (going forward) is dropped.
TEST(Session, ChangesAreKeptAsOneUndoStepEach) {
    app::Session s = seeded();
    const auto cells = s.board.Cells;
    s.beginChange("a");
    s.board.cell(1, 1) = {1, 9, 9, 9};
    s.beginChange("a");  // inside the first: no step of its own
    s.selection.SelLeft = 3;
    s.FileName = "/b.hxa";
    s.endChange("a", false);
    EXPECT_FALSE(s.canUndo());
    s.endChange("b", false);
    ASSERT_TRUE(s.canUndo());
    EXPECT_EQ(s.history().steps(), 1u);

    s.beginChange("b");
    s.endChange("b", false);  // nothing changed
    s.beginChange("b");
    s.notAChange();
    s.board.cell(2, 2) = {1, 1, 1, 1};
    s.endChange("b", false);
    EXPECT_EQ(s.history().steps(), 1u);

    const app::EditorState& before = s.undo();
    EXPECT_EQ(before.caption, "a");
    s.restore(before);
    EXPECT_EQ(s.board.Cells, cells);
    EXPECT_EQ(s.selection.SelLeft, -1);
    EXPECT_EQ(s.FileName, "");
    ASSERT_TRUE(s.canRedo());
    s.restore(s.redo());
    EXPECT_EQ(s.board.cell(1, 1).State, 1);
    EXPECT_EQ(s.FileName, "/b.hxa");
}

// Steps keep the line: back gives each earlier board, forward the very same
// later ones; an edit (not a step) ends the line, and a run locks undo and
// going back until it stops.
TEST(Session, StepsGoBackAndForwardAndARunLocksTheHistory) {
    app::Session s = seeded();
    s.run.RunMode = app::RunMode::SingleStep;
    std::vector<std::vector<engine::CellRecord>> boards{s.board.Cells};
    const int32_t first = s.board.Generation;
    int drawings = 0;
    for (int i = 0; i < 3; ++i) {
        s.beginChange("");
        s.stepGeneration([&] { ++drawings; });
        s.endChange("", true);
        boards.push_back(s.board.Cells);
    }
    EXPECT_EQ(drawings, 3);
    EXPECT_EQ(s.board.Generation, first + 3);
    for (int i = 2; i >= 0; --i) {
        ASSERT_TRUE(s.canGoBack());
        s.back();
        EXPECT_EQ(s.board.Cells, boards[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_FALSE(s.canGoBack());
    s.forward();
    s.forward();
    EXPECT_EQ(s.board.Cells, boards[2]);
    EXPECT_TRUE(s.canGoForward());

    s.run.RunMode = app::RunMode::Continuous;
    EXPECT_TRUE(s.running());
    EXPECT_FALSE(s.canUndo() || s.canGoBack());
    s.run.RunMode = app::RunMode::Stopped;
    EXPECT_TRUE(s.canUndo() && s.canGoBack());

    s.beginChange("");
    s.board.cell(0, 0) = {1, 5, 5, 5};
    s.endChange("", false);
    EXPECT_FALSE(s.canGoBack() || s.canGoForward());
}

}  // namespace
