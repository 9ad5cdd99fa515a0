// SPDX-License-Identifier: MIT
// The view over the fakes: zooming by wheel and keys, moving by keys and
// drags, clicks and selections at every zoom, and the pictures handed to
// the window.

#include <gtest/gtest.h>

#include <chrono>

#include "display/viewport.h"
#include "support/controller_fixture.h"
#include "ui/texts.h"

using namespace std::chrono_literals;

namespace {

struct View : Started {
    const app::WindowController::ViewMenu& menu() { return f.controller->viewMenu(); }
    const display::Viewport& view() { return f.controller->viewport(); }
    // The picture the view should show of the board as it is.
    platform::PixelImage expected() {
        platform::PixelImage image;
        image.resize(f.window.pictureSize, f.window.pictureSize);
        display::RenderView(f.board(), image, {view(), f.window.bevelColors(), true, f.controller->gridShown()});
        return image;
    }
    // A mouse event at picture pixel (x, y), with the cell the window finds
    // there on the whole unmoved board.
    platform::BoardMouse pointer(double x, double y, MouseButton button = MouseButton::Left,
                                 platform::Modifiers keys = {}) {
        const auto c = display::Viewport{}.cellAt(x, y, f.board().side(), f.window.pictureSize);
        return {button, keys, c ? platform::PointedCell{c->x, c->y, true} : platform::PointedCell{}, x, y};
    }
};

// The wheel zooms at the pointer and the keys at the centre; a Shift+click
// toggles the cell under the pointer at any zoom; the selection stays and
// its outline follows; 全体を表示 gives back the very first picture.
TEST_F(View, ZoomKeepsClicksSelectionsAndTheFirstPicture) {
    const platform::PixelImage first = f.window.shown;
    ASSERT_TRUE(view().plain());
    f.drag(3, 4, 6, 8);
    f.window.events->boardWheel(2, 100, 120);
    EXPECT_FALSE(view().wholeBoard());
    EXPECT_EQ(f.window.shown.pixels, expected().pixels);
    EXPECT_EQ(f.window.focus, view().cellsRect(3, 4, 6, 8, f.board().side(), f.window.pictureSize));

    const display::CellPosition target = *view().cellAt(300, 50, f.board().side(), f.window.pictureSize);
    const bool wasLive = f.board().cell(target.x, target.y).live();
    f.window.events->boardMouseDown(pointer(300, 50, MouseButton::Left, kShift));
    f.window.events->boardMouseUp(pointer(300, 50, MouseButton::Left, kShift));
    EXPECT_NE(f.board().cell(target.x, target.y).live(), wasLive);
    EXPECT_EQ(f.window.shown.pixels, expected().pixels);
    EXPECT_EQ(f.window.panelText(platform::Panel::Pointer),
              texts::kPointerXPrefix + std::to_string(target.x) + texts::kPointerYPrefix + std::to_string(target.y));

    f.command(menu().zoomIn);
    f.command(menu().actualSize);
    f.command(menu().whole);
    EXPECT_TRUE(view().plain());
    f.command(Menu::EditUndo);  // the board as it was
    EXPECT_EQ(f.window.shown.pixels, first.pixels);
}

// Arrow keys move by an eighth of the picture, drags with the middle button
// or with Space held move with the pointer and neither selects nor draws;
// past the edge the other side shows.
TEST_F(View, KeysAndDragsMoveTheViewOverTheTorus) {
    const int32_t side = f.board().side();
    const int pixels = f.window.pictureSize;
    f.command(menu().right);  // the board's right part: the whole board turns by an eighth
    EXPECT_EQ(view().cellAt(0, 0, side, pixels)->x, side / 8);
    f.command(menu().left);
    f.command(menu().left);
    EXPECT_EQ(view().cellAt(0, 0, side, pixels)->x, side - side / 8);
    EXPECT_EQ(f.window.shown.pixels, expected().pixels);

    f.command(menu().actualSize);
    const std::vector<engine::CellRecord> cells = f.board().Cells;
    const auto before = *view().cellAt(10, 10, side, pixels);
    for (MouseButton button : {MouseButton::Middle, MouseButton::Left}) {
        const platform::Modifiers keys{false, button == MouseButton::Left};
        f.window.events->boardMouseDown(pointer(40, 40, button, keys));
        f.window.events->boardMouseMove(pointer(50, 45, button, keys));
        f.window.events->boardMouseUp(pointer(50, 45, button, keys));
    }
    // Both drags moved the board right 10 and down 5 pixels at one pixel a cell.
    const auto after = *view().cellAt(10, 10, side, pixels);
    EXPECT_EQ(after.x, (before.x - 20 + side) % side);
    EXPECT_EQ(after.y, (before.y - 10 + side) % side);
    EXPECT_EQ(f.board().Cells, cells);
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_EQ(f.window.shown.pixels, expected().pixels);

}

// During a zoomed run the window gets at most one picture a frame, yet the
// population panel counts every generation and the stop shows the last board.
TEST_F(View, AZoomedRunShowsItsLastBoard) {
    f.controller->SetSpeed(0);
    f.window.events->boardWheel(1, 0, 0);
    const int before = f.window.showCount;
    int slices = 0;
    f.window.onProcessEvents = [&] {
        f.window.now += 1ms;
        if (++slices == 40) f.window.events->menuTriggered(Menu::ExecStop);
    };
    f.command(Menu::ExecStart);
    EXPECT_GE(f.board().Generation, 40);
    EXPECT_LE(f.window.showCount - before, 40 / 16 + 2);
    EXPECT_EQ(f.board().Population(), f.board().countLive());
    EXPECT_EQ(f.window.shown.pixels, expected().pixels);
}

}  // namespace
