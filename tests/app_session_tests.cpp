// SPDX-License-Identifier: MIT
// The Session on its own, without a window: changes kept for undo, the
// generations stepped and gone back through, and what a run locks.

#include <gtest/gtest.h>

#include "app/session.h"
#include "engine/rules.h"

namespace {

// A change (with one inside it, which belongs to it) is one undo step that
// gives back board, selection and file name; one that is no change (going
// forward) is none. Steps keep the line of
// generations, which goes back to each earlier board; a run locks undo and
// going back; an edit ends the line.
TEST(Session, UndoStepsAndTheLineOfGenerations) {
    app::Session s;
    s.random.reseed(9), s.board.create(19);
    engine::Init(s.board, s.random);
    const auto cells = s.board.Cells;
    s.beginChange("a");
    s.board.cell(1, 1) = {1, 9, 9, 9};
    s.beginChange("a");
    s.selection.SelLeft = 3, s.FileName = "/b.hxa";
    s.endChange("a", false);
    EXPECT_FALSE(s.canUndo());
    s.endChange("b", false);
    s.beginChange("b");
    s.notAChange(), s.board.cell(2, 2) = {1, 1, 1, 1};  // as going forward: no undo step
    s.endChange("b", false);
    ASSERT_EQ(s.history().steps(), 1u);
    s.restore(s.undo());
    EXPECT_TRUE(s.board.Cells == cells && s.selection.SelLeft == -1);
    s.restore(s.redo());
    EXPECT_EQ(s.FileName, "/b.hxa");

    const auto before = s.board.Cells;
    s.run.RunMode = app::RunMode::SingleStep;
    for (int i = 0; i < 2; ++i) s.stepGeneration([] {});
    s.back(), s.back();
    EXPECT_EQ(s.board.Cells, before);
    s.run.RunMode = app::RunMode::Continuous;
    EXPECT_FALSE(s.canUndo() || s.canGoBack());
    s.run.RunMode = app::RunMode::Stopped;
    EXPECT_TRUE(s.canUndo() && s.canGoForward() && !s.canGoBack());
    s.beginChange("");
    s.board.cell(0, 0) = {1, 5, 5, 5};
    s.endChange("", false);
    EXPECT_FALSE(s.canGoBack() || s.canGoForward());
}

}  // namespace
