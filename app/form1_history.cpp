// SPDX-License-Identifier: MIT
// Undo and redo of every change the user makes to the board, and going back
// (and forward again) through the generations computed since the last change
// that was not a step or a run.
//
// A step or a whole run is one undo step like any edit. Going back or
// forward a generation is not: it moves along the generations of the last
// steps and runs and changes no undo step. Any change other than a step or a
// run, and undo and redo themselves, start the generation line anew; a step
// or run started from a generation gone back to drops the generations that
// had followed it.

#include "app/form1.h"
#include "ui/texts.h"

namespace app {

using platform::Button;
using platform::Menu;

namespace {

// The commands that can change the board; each is one undo step.
bool ChangesBoard(Menu item) {
    switch (item) {
        case Menu::FileOpen:
        case Menu::FileRestore:
        case Menu::ExecStart:
        case Menu::ExecStep:
        case Menu::EditCut:
        case Menu::EditPaste:
        case Menu::PatternRandom:
        case Menu::PatternClear:
        case Menu::PatternColor:
        case Menu::PatternReverseRL:
        case Menu::PatternReverseTB:
        case Menu::PatternRotate:
        case Menu::PatternExpand:
        case Menu::PatternReduction: return true;
        default: return false;
    }
}

}  // namespace

EditorState Form1::CaptureEditor() const {
    EditorState s;
    s.board = BoardImage::capture(board);
    s.selection = {selection.SelLeft, selection.SelTop, selection.SelRight, selection.SelBottom};
    s.focusShown = selection.FocusShown;
    s.fileName = FileName;
    s.caption = services_.window.caption();
    return s;
}

void Form1::RestoreEditor(const EditorState& s) {
    platform::MainWindow& w = window();
    const bool resized = s.board.GridMax != board.GridMax;
    s.board.restore(board);
    if (resized) ScalePictures();

    selection = Selection{};
    selection.SelLeft = s.selection[0];
    selection.SelTop = s.selection[1];
    selection.SelRight = s.selection[2];
    selection.SelBottom = s.selection[3];
    w.setFocusRect(std::nullopt);
    if (s.focusShown) DrawFocus();  // shows it and sets the flag
    FileName = s.fileName;
    w.setCaption(s.caption);

    ShowBoard();
    ApplySizeRule();
    SyncSelectionButtons();
}

void Form1::SyncSelectionButtons() {
    platform::MainWindow& w = window();
    const bool selected = HasSelection();
    w.setButtonEnabled(Button::Cut, selected);
    w.setButtonEnabled(Button::Copy, selected);
    w.setButtonEnabled(Button::Paste, selected && services_.clipboard.hasCells());
    w.setButtonEnabled(Button::NewRegistration, selected);
    const bool live = SelectionHasLiveCell();
    for (Button b : {Button::Color, Button::ReversingRightAndLeft, Button::ReversingTopAndBottom, Button::Rotate})
        w.setButtonEnabled(b, live);
}

void Form1::RecordChange(const std::function<void()>& change, bool stepOrRun) {
    // A change made inside another (in the yield of a run) belongs to it.
    if (changeDepth_ > 0 || unloaded_) return change();
    EditorState before = CaptureEditor();
    ++changeDepth_;
    change();
    --changeDepth_;
    if (unloaded_) return;  // the window was closed meanwhile
    EditorState after = CaptureEditor();
    if (after.differsFrom(before)) {
        undo_.push(std::move(before), std::move(after));
        if (!stepOrRun) generations_.clear();
    }
    UpdateHistoryCommands();
}

bool Form1::RunAsChange(Menu item) {
    switch (item) {
        case Menu::EditUndo: mnuEditUndo_Click(); return true;
        case Menu::EditRedo: mnuEditRedo_Click(); return true;
        case Menu::ExecBack: mnuExecBack_Click(); return true;
        default: break;
    }
    if (changeDepth_ > 0 || !ChangesBoard(item)) return false;
    // F8 on a generation gone back to goes forward to the very board that
    // followed it.
    if (item == Menu::ExecStep && generations_.canGoForward()) {
        if (run.RunMode == RunMode::Continuous) return true;
        generations_.forward(board, random, stepper);
        ShowBoard();
        UpdateHistoryCommands();
        return true;
    }
    if (item == Menu::ExecStart) {
        // Nothing of the history can be used while the run goes on.
        for (Menu m : {Menu::EditUndo, Menu::EditRedo, Menu::ExecBack}) window().setMenuEnabled(m, false);
    }
    RecordChange([&] { RunCommand(item); }, item == Menu::ExecStart || item == Menu::ExecStep);
    return true;
}

void Form1::RecordStartupOpen() {
    EditorState before;
    engine::Board empty;
    empty.create(engine::kStartGridMax);
    before.board = BoardImage::capture(empty);
    before.caption = texts::kAppTitle;
    undo_.push(std::move(before), CaptureEditor());
    UpdateHistoryCommands();
}

void Form1::StepOneGeneration() {
    generations_.beforeStep(board, random, run.AutoStimulate);
    computingGeneration_ = true;
    stepper.ReCalc(board, random);
    ReDraw();
    computingGeneration_ = false;
    generations_.afterStep(board, random);
}

void Form1::mnuEditUndo_Click() {
    if (run.RunMode == RunMode::Continuous || !undo_.canUndo()) return;
    RestoreEditor(undo_.undo());
    generations_.clear();
    BoardReplaced();  // the graph starts afresh from the board brought back
    UpdateHistoryCommands();
}

void Form1::mnuEditRedo_Click() {
    if (run.RunMode == RunMode::Continuous || !undo_.canRedo()) return;
    RestoreEditor(undo_.redo());
    generations_.clear();
    BoardReplaced();  // the graph starts afresh from the board brought back
    UpdateHistoryCommands();
}

void Form1::mnuExecBack_Click() {
    if (run.RunMode == RunMode::Continuous || !generations_.canGoBack()) return;
    generations_.back(board, random, stepper);
    ShowBoard();
    UpdateHistoryCommands();
}

void Form1::UpdateHistoryCommands() {
    platform::MainWindow& w = window();
    const bool idle = run.RunMode != RunMode::Continuous && !unloaded_;
    w.setMenuEnabled(Menu::EditUndo, idle && undo_.canUndo());
    w.setMenuEnabled(Menu::EditRedo, idle && undo_.canRedo());
    w.setMenuEnabled(Menu::ExecBack, idle && generations_.canGoBack());
}

}  // namespace app
