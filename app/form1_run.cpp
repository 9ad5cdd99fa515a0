// SPDX-License-Identifier: MIT
// Drawing, the run loop, run control, auto-stimulation, the toolbar and the
// status bar.

#include <algorithm>

#include "app/form1.h"
#include "app/stimulation.h"
#include "ui/texts.h"
#include "display/board_renderer.h"
#include "engine/rules.h"
#include "engine/stimulation.h"

namespace app {

using platform::Button;
using platform::Menu;

void Form1::ScalePictures() {
    services_.window.setBoardScale(board.side());
    if (picBuffer.width != services_.window.boardPixelWidth() || picBuffer.height != services_.window.boardPixelHeight()) {
        picBuffer.resize(services_.window.boardPixelWidth(), services_.window.boardPixelHeight());
        painter_.forget();
    }
}

void Form1::ReDraw() {
    if (unloaded_) return;
    auto& history = board.PopulationHistory;
    for (std::size_t i = history.size() - 1; i > 0; --i) history[i] = history[i - 1];
    ShowBoard(true);
    if (run.RunMode != RunMode::Stopped) AutoStimulation();
    if (!computingGeneration_) generations_.drawn(run.RunMode != RunMode::Stopped, run.AutoStimulate);
}

void Form1::ShowBoard(bool countPopulation) {
    if (unloaded_) return;
    platform::MainWindow& w = services_.window;
    // The window has been resized (or moved to a screen of another pixel
    // density) since the last drawing: the picture takes its new size, once.
    if (picBuffer.width != w.boardPixelWidth() || picBuffer.height != w.boardPixelHeight()) ScalePictures();

    // Only the cells that look different from the last drawing are painted
    // and handed to the window; the picture is the same as a full drawing.
    const display::BoardPainter::Drawing& drawing = painter_.paint(board, picBuffer, w.bevelColors(), cellLook_);
    if (countPopulation) board.Population() = drawing.population;
    w.showBoardPart(picBuffer, drawing.changed);

    // The fresh picture has no focus rectangle: put it back, flag unchanged.
    if (selection.FocusShown) {
        selection.FocusShown = false;
        DrawFocus();
    }

    w.setPanelText(1, texts::kGenerationPrefix + display::FormatCount(board.Generation));
    w.setPanelText(2, texts::kPopulationPrefix + display::FormatCount(board.Population()));

    const bool canRun = board.Population() != 0 && run.RunMode != RunMode::Continuous;
    w.setMenuEnabled(Menu::ExecStart, canRun);
    w.setMenuEnabled(Menu::ExecStep, canRun);
    SyncButton(Button::Start);
    SyncButton(Button::Step);
    ScheduleKeeping();
}

void Form1::picDraw_Paint() {
    // A generation gone back to is shown as it was: counting a drawing there
    // would change the generations that follow from it.
    if (generations_.canGoForward()) return ShowBoard();
    ReDraw();
}

// ---- the run loop -----------------------------------------------------------------

void Form1::Exec() {
    selection.FocusShown = false;
    selection.SelLeft = -1;
    services_.window.setFocusRect(std::nullopt);
    platform::MainWindow& w = services_.window;
    pacer_.restart();
    for (;;) {
        // 最高速 reads no clock: the loop is as fast as it ever was.
        if (pacer_.rate() != kUnlimitedRate) pacer_.generationStarted(w.clock());
        StepOneGeneration();  // ReCalc, then ReDraw
        RecordGeneration();
        if (run.RunMode == RunMode::SingleStep) break;
        if (board.Population() == 0) {
            Message(texts::kExtinct, platform::MessageIcon::Information);
            mnuExecStop_Click();
        }
        w.processEvents();
        // A window closed inside the yield has stopped the run already.
        if (run.RunMode != RunMode::Continuous || unloaded_) break;
        // At a limited speed the next generation waits for its deadline,
        // asleep in the window's event loop: commands (stop, another rung)
        // are taken as they come.
        while (pacer_.rate() != kUnlimitedRate) {
            const auto wait = pacer_.waitBeforeNext(w.clock());
            if (wait.count() <= 0) break;
            w.waitForEvents(wait);
            if (run.RunMode != RunMode::Continuous || unloaded_) return;
        }
    }
}

void Form1::mnuExecStart_Click() {
    platform::MainWindow& w = services_.window;
    w.setMenuEnabled(Menu::ExecStart, false);
    w.setMenuEnabled(Menu::ExecStop, true);
    w.setMenuEnabled(Menu::ExecStep, false);
    w.setMenuEnabled(Menu::Pattern, false);
    w.setMenuEnabled(Menu::FileOpen, false);
    w.setMenuEnabled(Menu::FileSave, false);
    EnableSaveAsAndRestore(false);
    w.setMenuEnabled(Menu::Edit, false);

    for (Button b : {Button::Start, Button::Stop, Button::Step, Button::Open, Button::Save}) SyncButton(b);
    SyncMenuButtons(Menu::Pattern);
    SyncMenuButtons(Menu::Edit);

    run.RunMode = RunMode::Continuous;
    Exec();
}

void Form1::mnuExecStop_Click() {
    platform::MainWindow& w = services_.window;
    const bool populated = board.Population() != 0;
    w.setMenuEnabled(Menu::ExecStart, populated);
    w.setMenuEnabled(Menu::ExecStop, false);
    w.setMenuEnabled(Menu::ExecStep, populated);
    w.setMenuEnabled(Menu::Pattern, true);
    w.setMenuEnabled(Menu::FileOpen, true);
    w.setMenuEnabled(Menu::FileSave, true);
    EnableSaveAsAndRestore(true);
    w.setMenuEnabled(Menu::Edit, true);

    // The buttons that need a selection stay as the run left them.
    for (Button b : {Button::Start, Button::Stop, Button::Step, Button::Open, Button::Save}) SyncButton(b);
    SyncButton(Button::Random, Menu::Pattern);
    SyncButton(Button::Clear, Menu::Pattern);
    const bool pattern = w.menuEnabled(Menu::Pattern);
    w.setButtonEnabled(Button::Expand, pattern && board.GridMax < engine::kMaxGridMax);
    w.setButtonEnabled(Button::Reduction, pattern && board.GridMax > engine::kMinGridMax);

    run.RunMode = RunMode::Stopped;
    KeepBoard();
}

void Form1::mnuExecStep_Click() {
    run.RunMode = RunMode::SingleStep;
    Exec();
}

void Form1::mnuExecStimulate_Click() {
    platform::MainWindow& w = services_.window;
    w.setMenuChecked(Menu::ExecStimulate, !w.menuChecked(Menu::ExecStimulate));
    run.AutoStimulate = !run.AutoStimulate;
    w.setButtonPressed(Button::AutoStimulate, run.AutoStimulate);
}

// ---- auto-stimulation ---------------------------------------------------------------

void Form1::AutoStimulation() {
    if (run.RunMode == RunMode::Stopped) return;
    StimulateIfSettled(board, random, run.AutoStimulate);
}

bool Form1::StimulateOneCell() { return app::StimulateOneCell(board, random); }

// ---- toolbar and status bar -----------------------------------------------------------

// A button runs the handler of its menu item.
void Form1::Toolbar1_ButtonClick(Button button) {
    if (const platform::Command* command = platform::FindCommand(button)) RunCommand(command->id);
}

void Form1::SyncButton(Button button) { SyncButton(button, platform::ButtonFollows(button)); }

void Form1::SyncButton(Button button, Menu source) {
    services_.window.setButtonEnabled(button, services_.window.menuEnabled(source));
}

void Form1::SyncMenuButtons(Menu menu) {
    for (const platform::Command& command : platform::kCommands)
        if (command.button != Button::None && platform::MenuOf(command.id) == menu) SyncButton(command.button, menu);
}

void Form1::StatusBar1_MouseButton(int button, int /*shift*/, int x, int /*y*/) {
    if (x < services_.window.panelLeft(2) && (button & platform::kRightButton))
        services_.window.showPopup(platform::Popup::Popup1);
}

void Form1::mnuPopup1Reset_Click() {
    board.Generation = 0;
    generations_.generationReset();  // later generations count on from here, replayed too
    services_.window.setPanelText(1, texts::kGenerationReset);
}

}  // namespace app
