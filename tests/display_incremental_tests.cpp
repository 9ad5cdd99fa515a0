// SPDX-License-Identifier: MIT
// Drawing only what changed: over a run with births and deaths, edits, a
// board resize, flat cells, a window resize, a load and a paste, every
// drawing the controller makes is, at the window's picture size, pixel for pixel,
// a full drawing of the board, and so is what the window was given; the
// population is a full count. The focus rectangle and the clipboard picture
// follow the picture's size.

#include <gtest/gtest.h>

#include "display/board_renderer.h"
#include "engine/rules.h"
#include "io/formats.h"
#include "support/controller_fixture.h"

namespace {

TEST(IncrementalDrawing, EveryDrawingEqualsAFullDrawing) {
    ControllerFixture f;
    f.start();
    app::WindowController& form = *f.controller;
    // A cell the stimulation brings to life after a drawing shows only in the
    // next one, so it would differ from a full drawing made now.
    f.run().AutoStimulate = false;
    auto check = [&](const std::string& what) {
        ASSERT_EQ(f.picBuffer().width, f.window.pictureSize) << what;
        platform::PixelImage full;
        full.resize(f.picBuffer().width, f.picBuffer().height);
        const auto look = form.RaisedCells() ? display::CellLook::Raised : display::CellLook::Flat;
        const int32_t population = display::RenderBoard(f.board(), full, f.window.bevelColors(), look);
        ASSERT_TRUE(f.picBuffer().pixels == full.pixels) << what;
        ASSERT_TRUE(f.window.shown.pixels == full.pixels) << what;
        ASSERT_EQ(f.board().Population(), population) << what;
    };
    auto steps = [&](int count, const std::string& what) {
        for (int i = 0; i < count; ++i) {
            f.command(Menu::ExecStep);
            check(what + ", step " + std::to_string(i));
        }
    };
    steps(40, "seeded board");
    for (int i = 0; i < 6; ++i) {  // Shift+click brings cells to life and kills them
        f.click(3 * i, 2 * i, MouseButton::Left, kShift);
        check("edit " + std::to_string(i));
    }
    steps(5, "after the edits");
    f.command(Menu::PatternExpand);
    check("enlarged");
    steps(10, "enlarged");
    f.command(Menu::PatternReduction);
    f.command(Menu::PatternReduction);
    check("reduced");
    steps(10, "reduced");

    engine::Board other;
    other.create(149);
    engine::RandomSequence random(7);
    engine::Init(other, random);
    f.files.files["/data/other.hxa"] = io::EncodeBoardFile(other);
    ASSERT_TRUE(form.OpenFile("/data/other.hxa"));
    form.ReDraw();  // as the Open command does
    check("loaded");
    steps(10, "loaded");

    // The look switched, then the window grown to where cells are not whole
    // pixels (the next drawing takes the new size).
    f.command(Menu::ViewRaised);
    check("flat");
    f.window.pictureSize = 701;
    steps(10, "flat, resized");

    f.drag(10, 10, 40, 30);
    f.command(Menu::EditCopy);
    EXPECT_EQ(f.window.focus, display::CellsPixelRect(10, 10, 40, 30, 150, 701, 701));  // at the new size
    EXPECT_EQ(f.clipboard.picture.width, f.window.focus->width());
    f.command(Menu::PatternClear);
    check("cleared");
    f.drag(100, 90, 101, 91);
    f.command(Menu::EditPaste);
    check("pasted");
    steps(10, "pasted");
}

}  // namespace
