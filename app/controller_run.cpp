// SPDX-License-Identifier: MIT
// Drawing, the run on the event loop, run control and auto-stimulation.
//
// A continuous run is a series of slices, each scheduled on the window's
// event loop by the one before: at 最高速 a slice computes and draws as many
// generations as fit in a few milliseconds, at a paced rung one generation,
// the next slice waiting for its deadline. Between slices the window takes
// the user's commands; stopping or closing is a change of state the next
// slice sees.

#include <algorithm>

#include "app/stimulation.h"
#include "app/window_controller.h"
#include "display/board_renderer.h"
#include "engine/rules.h"
#include "ui/texts.h"

namespace app {

namespace {
// How long a slice at 最高速 computes before it hands back to the event loop.
constexpr std::chrono::nanoseconds kSliceTime = std::chrono::milliseconds(4);
}  // namespace

void WindowController::ScalePictures() {
    services_.window.setBoardScale(board.side());
    if (picBuffer.width != services_.window.boardPixelWidth() || picBuffer.height != services_.window.boardPixelHeight()) {
        picBuffer.resize(services_.window.boardPixelWidth(), services_.window.boardPixelHeight());
        painter_.forget();
    }
}

void WindowController::ReDraw() {
    auto& history = board.PopulationHistory;
    for (std::size_t i = history.size() - 1; i > 0; --i) history[i] = history[i - 1];
    ShowBoard(true);
    if (session_.run.RunMode != RunMode::Stopped) AutoStimulation();
    session_.drawn();
}

void WindowController::ShowBoard(bool countPopulation) {
    platform::MainWindow& w = services_.window;
    // The window has been resized (or moved to a screen of another pixel
    // density) since the last drawing: the picture takes its new size, once.
    if (picBuffer.width != w.boardPixelWidth() || picBuffer.height != w.boardPixelHeight()) ScalePictures();

    // Only the cells that look different from the last drawing are painted
    // and handed to the window; the picture is the same as a full drawing.
    // The lineage view paints a board of its own colours with the same live
    // cells; its origin outlines go over the picture, and once drawn the
    // picture is painted whole again the next time.
    // A board of another side starts in the whole-board view.
    if (board.side() != viewSide_) view_.showAll(), viewSide_ = board.side();
    if (marksDrawn_) painter_.forget(), marksDrawn_ = false;
    if (!ViewPaintedByChanges()) {
        DrawView(countPopulation);  // zoomed, moved, with grid lines, or more cells than pixels
    } else {
        const display::BoardPainter::Drawing& drawing =
            painter_.paint(ShownBoard(), picBuffer, w.bevelColors(), cellLook_);
        if (countPopulation) board.Population() = drawing.population;
        if (tracing_ && trace_) {
            std::vector<display::PixelRect> changed = drawing.changed;
            DrawLineageMarks(changed);
            if (!CalmHoldsPicture()) w.showBoardPart(picBuffer, changed);
        } else if (!CalmHoldsPicture()) {
            w.showBoardPart(picBuffer, drawing.changed);
        }
    }
    ShowPointerCell();

    // The fresh picture has no focus rectangle: put it back, flag unchanged.
    if (selection.FocusShown) {
        selection.FocusShown = false;
        DrawFocus();
    }
    ShowKeyCursor(false);  // where its cell is drawn now; the description follows the board

    w.setPanelText(platform::Panel::Generation, tr(texts::kGenerationPrefix) + display::FormatCount(board.Generation));
    w.setPanelText(platform::Panel::Population, tr(texts::kPopulationPrefix) + display::FormatCount(board.Population()));
    // Start and Step follow the population shown; a slice refreshes at its end.
    if (!slicing_) refreshCommands();
    ScheduleKeeping();
}

void WindowController::paintBoard() {
    // A generation gone back to is shown as it was: counting a drawing there
    // would change the generations that follow from it.
    if (session_.canGoForward()) return ShowBoard();
    ReDraw();
}

// ---- run control -------------------------------------------------------------------

bool WindowController::canRun() const { return board.Population() != 0 && !session_.running(); }

void WindowController::dropSelection() {
    selection.FocusShown = false;
    selection.SelLeft = -1;
    services_.window.setFocusRect(std::nullopt);
}

void WindowController::runGeneration() {
    session_.stepGeneration([this] { ReDraw(); });  // ReCalc, then ReDraw
    RecordGeneration();
}

void WindowController::startRun() {
    if (session_.running()) return;
    // The buttons that edit the board or need a selection are off until the
    // run stops; those that need a selection stay off after it.
    editButtons_ = {false, false};
    patternButtons_ = {false, false};
    sizeButtons_ = {false, false};
    session_.run.RunMode = RunMode::Continuous;
    // The whole run is one undo step, ended by its stop.
    session_.beginChange(caption());
    runChangeOpen_ = true;
    dropSelection();
    session_.pacer.restart();
    runSlice(++runSerial_);
}

void WindowController::runSlice(unsigned serial) {
    if (serial != runSerial_ || !session_.running() || closed_) return;  // stopped since it was scheduled
    platform::MainWindow& w = services_.window;
    const bool paced = session_.pacer.rate() != kUnlimitedRate;
    const auto end = w.clock() + kSliceTime;
    slicing_ = true;
    for (int generations = 1;; ++generations) {
        if (paced) session_.pacer.generationStarted(w.clock());
        runGeneration();
        if (board.Population() == 0 || paced || !session_.running() || generations >= sliceLimit_ ||
            w.clock() >= end)
            break;
    }
    slicing_ = false;
    if (board.Population() == 0) {
        // All cells have died: once the window has shown the empty board,
        // the run ends with its message.
        FlushViewPicture();
        FlushCalmPicture();
        w.callAfter(std::chrono::nanoseconds(0), [this, serial] { endExtinctRun(serial); });
    } else if (session_.running()) {
        scheduleSlice();
    }
    refreshCommands();
}

void WindowController::endExtinctRun(unsigned serial) {
    if (serial != runSerial_ || !session_.running() || closed_) return;
    Message(tr(texts::kExtinct), platform::MessageIcon::Information);
    stopRun();
    refreshCommands();
}

// At a limited speed the next generation waits for its deadline, asleep in
// the window's event loop; at 最高速 it comes as soon as the window has
// taken the events that are waiting.
void WindowController::scheduleSlice() {
    platform::MainWindow& w = services_.window;
    const auto wait = session_.pacer.rate() == kUnlimitedRate ? std::chrono::nanoseconds(0)
                                                               : session_.pacer.waitBeforeNext(w.clock());
    w.callAfter(wait, [this, serial = runSerial_] { runSlice(serial); });
}

void WindowController::stopRun() {
    sizeButtons_ = {board.GridMax < engine::kMaxSteppedGridMax, board.GridMax > engine::kMinGridMax};
    session_.run.RunMode = RunMode::Stopped;
    FlushViewPicture();
    FlushCalmPicture();  // the board the run stopped at is on the screen
    KeepBoard();
    if (graphOpen_) {
        recorder_.stopped(board);  // the record ends at the board shown
        services_.graph->seriesChanged();
    }
    if (runChangeOpen_) {
        runChangeOpen_ = false;
        session_.endChange(caption(), true);
    }
    DescribeBoard();  // the board the run stopped at, whatever the last description left out
}

void WindowController::stepOnce() {
    if (session_.running()) return;
    // F8 on a generation gone back to goes forward to the very board that
    // followed it; that is no undo step.
    if (session_.canGoForward()) {
        session_.notAChange();
        session_.forward();
        ShowBoard();
        return;
    }
    session_.run.RunMode = RunMode::SingleStep;
    dropSelection();
    runGeneration();
}

void WindowController::toggleAutoStimulation() { session_.run.AutoStimulate = !session_.run.AutoStimulate; }

void WindowController::AutoStimulation() { session_.stimulateIfSettled(); }

void WindowController::resetGeneration() {
    board.Generation = 0;
    session_.generationReset();  // later generations count on from here, replayed too
    services_.window.setPanelText(platform::Panel::Generation, tr(texts::kGenerationReset));
    BoardReplaced();  // an open graph numbers its generations from the new count
}

}  // namespace app
