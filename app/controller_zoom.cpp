// SPDX-License-Identifier: MIT
// The view of the board: zooming in and out (menu, keys, wheel), the whole
// board, one cell a pixel, moving the view over the torus (arrow keys,
// middle-button or Space+left drags) and grid lines. The whole unmoved
// board is drawn by the painter as always; every other view is drawn whole
// by display::RenderView.

#include <algorithm>

#include "app/window_controller.h"
#include "ui/texts.h"

namespace app {

using platform::Menu;

void WindowController::registerViewCommands() {
    using K = platform::CommandKind;
    CommandRegistry& r = commands_;
    ViewMenu& m = viewMenu_;
    // clang-format off
    m.zoomIn = r.add({.id = Menu::Unassigned, .in = Menu::View, .caption = texts::kMenuViewZoomIn, .key = "]"},
                     {.help = texts::kHelpViewZoomIn, .run = [this] { zoomIn(); }});
    m.zoomOut = r.add({.id = Menu::Unassigned, .in = Menu::View, .caption = texts::kMenuViewZoomOut, .key = "["},
                      {.help = texts::kHelpViewZoomOut, .run = [this] { zoomOut(); }});
    m.whole = r.add({.id = Menu::Unassigned, .in = Menu::View, .caption = texts::kMenuViewWhole},
                    {.help = texts::kHelpViewWhole, .run = [this] { showWholeBoard(); }});
    m.actualSize = r.add({.id = Menu::Unassigned, .in = Menu::View, .caption = texts::kMenuViewActualSize},
                         {.help = texts::kHelpViewActualSize, .run = [this] { showActualSize(); }});
    m.grid = r.add({.id = Menu::Unassigned, .in = Menu::View, .caption = texts::kMenuViewGrid, .checked = false},
                   {.help = texts::kHelpViewGrid, .run = [this] { toggleGrid(); }, .checked = [this] { return grid_; }});
    m.left = r.add({.kind = K::KeyOnly, .id = Menu::Unassigned, .in = Menu::View, .key = "Left"},
                   {.help = texts::kHelpViewPanLeft, .run = [this] { panByKey(-1, 0); }});
    m.right = r.add({.kind = K::KeyOnly, .id = Menu::Unassigned, .in = Menu::View, .key = "Right"},
                    {.help = texts::kHelpViewPanRight, .run = [this] { panByKey(1, 0); }});
    m.up = r.add({.kind = K::KeyOnly, .id = Menu::Unassigned, .in = Menu::View, .key = "Up"},
                 {.help = texts::kHelpViewPanUp, .run = [this] { panByKey(0, -1); }});
    m.down = r.add({.kind = K::KeyOnly, .id = Menu::Unassigned, .in = Menu::View, .key = "Down"},
                   {.help = texts::kHelpViewPanDown, .run = [this] { panByKey(0, 1); }});
    // clang-format on
}

void WindowController::boardWheel(int steps, double x, double y) {
    if (closed_) return;
    zoomBy(steps, x, y);
    refreshCommands();
}

void WindowController::zoomBy(int steps, double x, double y) {
    display::Viewport view = view_;
    if (view.zoom(steps, x, y, board.side(), window().boardPixelWidth())) SetView(view);
}

void WindowController::zoomIn() {
    const double centre = window().boardPixelWidth() / 2.0;
    zoomBy(1, centre, centre);
}

void WindowController::zoomOut() {
    const double centre = window().boardPixelWidth() / 2.0;
    zoomBy(-1, centre, centre);
}

void WindowController::showWholeBoard() { SetView({}); }

void WindowController::showActualSize() {
    display::Viewport view = view_;
    view.actualSize(board.side(), window().boardPixelWidth());
    SetView(view);
}

void WindowController::toggleGrid() {
    grid_ = !grid_;
    SetView(view_);
}

void WindowController::panByKey(int across, int down) {
    // Showing what lies to the left moves the board to the right.
    const double step = window().boardPixelWidth() / 8.0;
    display::Viewport view;
    view.panFrom(view_, -across * step, -down * step, board.side(), window().boardPixelWidth());
    SetView(view);
}

void WindowController::SetView(const display::Viewport& view) {
    view_ = view;
    viewSide_ = board.side();
    painter_.forget();  // the picture is made afresh, whatever the view
    if (!board.Cells.empty() && !closed_) ShowBoard();
    if (keyCursor_.shown) ShowKeyCursor(false);  // its outline moves with the cells
}

bool WindowController::ViewPaintedByChanges() const {
    return display::PaintedByChanges(view_, grid_, board.side(), picBuffer.width);
}

void WindowController::DrawView(bool countPopulation) {
    const engine::Board& shown = ShownBoard();  // also when no picture is made: it follows the cells' ages
    if (countPopulation) board.Population() = session_.countLive();
    painter_.forget();  // a later drawing by changes starts from a whole one
    const std::chrono::nanoseconds start = window().clock();
    if (slicing_) {
        // A picture that takes long to draw waits longer, so drawing keeps
        // to about a fifth of a run's time.
        if (viewDrawnOnce_ && start - viewDrawn_ < std::max(kViewFrame, 4 * viewDrawTime_)) {
            viewPending_ = true;
            return;
        }
        viewDrawn_ = start, viewDrawnOnce_ = true;
    }
    viewPending_ = false;
    display::RenderView(shown, picBuffer, {view_, window().bevelColors(), RaisedCells(), grid_});
    viewDrawTime_ = window().clock() - start;
    if (!CalmHoldsPicture()) window().showBoard(picBuffer);
}

void WindowController::FlushViewPicture() {
    if (!viewPending_ || closed_) return;
    viewPending_ = false;
    display::RenderView(ShownBoard(), picBuffer, {view_, window().bevelColors(), RaisedCells(), grid_});
    if (calm_ && session_.running())
        calmPending_ = true;  // the calm mode shows it
    else
        window().showBoard(picBuffer);
}

platform::BoardMouse WindowController::ViewedMouse(const platform::BoardMouse& event) const {
    if (view_.plain()) return event;  // the window's own cell, as it has always found it
    platform::BoardMouse viewed = event;
    if (view_.wholeBoard()) {
        if (event.cell.onBoard) {
            const display::CellPosition c = view_.turned({event.cell.column, event.cell.row}, board.side());
            viewed.cell = {c.x, c.y, true};
        }
        return viewed;
    }
    const auto c = view_.cellAt(event.x, event.y, board.side(), services_.window.boardPixelWidth());
    viewed.cell = c ? platform::PointedCell{c->x, c->y, true} : platform::PointedCell{};
    return viewed;
}

bool WindowController::ViewDragPress(const platform::BoardMouse& event) {
    using platform::MouseButton;
    const bool drag = event.button == MouseButton::Middle ||
                      (event.button == MouseButton::Left && event.modifiers.space && !event.modifiers.shift);
    if (!drag) return false;
    viewDrag_ = {true, event.x, event.y, view_};
    return true;
}

bool WindowController::ViewDragMove(const platform::BoardMouse& event) {
    if (!viewDrag_.active) return false;
    if (event.button == platform::MouseButton::None) {  // its release never came
        viewDrag_.active = false;
        return false;
    }
    display::Viewport view;
    view.panFrom(viewDrag_.from, event.x - viewDrag_.x, event.y - viewDrag_.y, board.side(),
                 window().boardPixelWidth());
    if (!(view == view_)) SetView(view);
    return true;
}

bool WindowController::ViewDragRelease(const platform::BoardMouse& event) {
    (void)event;
    if (!viewDrag_.active) return false;
    viewDrag_.active = false;
    return true;
}

}  // namespace app
