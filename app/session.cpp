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

#include "app/session.h"

#include <algorithm>

#include "app/stimulation.h"

namespace app {

EditorState Session::capture(const std::string& caption) const {
    EditorState s;
    s.board = BoardImage::capture(board);
    s.selection = {selection.SelLeft, selection.SelTop, selection.SelRight, selection.SelBottom};
    s.focusShown = selection.FocusShown;
    s.fileName = FileName;
    s.caption = caption;
    if (lineage_.on()) s.lineage = std::make_shared<const engine::Lineage>(lineage_);
    return s;
}

void Session::restore(const EditorState& s) {
    s.board.restore(board);
    selection = Selection{};
    selection.SelLeft = s.selection[0];
    selection.SelTop = s.selection[1];
    selection.SelRight = s.selection[2];
    selection.SelBottom = s.selection[3];
    FileName = s.fileName;
    // A state kept while lineage was off has none: it starts at that board.
    if (lineage_.on()) {
        if (s.lineage)
            lineage_ = *s.lineage;
        else
            lineage_.start(board);
    }
}

void Session::beginChange(const std::string& caption) {
    if (changeDepth_++ == 0) changeBefore_ = capture(caption);
}

void Session::endChange(const std::string& caption, bool stepOrRun) {
    if (changeDepth_ == 0 || --changeDepth_ > 0) return;
    if (!changeBefore_) return;
    // Cells an edit brought to life or recoloured are edit founders.
    if (!stepOrRun) lineage_.sync(board, engine::FounderKind::Edit);
    EditorState after = capture(caption);
    if (after.differsFrom(*changeBefore_)) {
        undo_.push(std::move(*changeBefore_), std::move(after));
        if (!stepOrRun) generations_.clear();
    }
    changeBefore_.reset();
}

const EditorState& Session::undo() {
    generations_.clear();
    return undo_.undo();
}

const EditorState& Session::redo() {
    generations_.clear();
    return undo_.redo();
}

void Session::recordStartupOpen(const std::string& emptyCaption, const std::string& caption) {
    EditorState before;
    engine::Board empty;
    empty.create(engine::kStartGridMax);
    before.board = BoardImage::capture(empty);
    before.caption = emptyCaption;
    undo_.push(std::move(before), capture(caption));
}

void Session::stepGeneration(const std::function<void()>& draw) {
    generations_.beforeStep(board, random, run.AutoStimulate, lineage());
    computingGeneration_ = true;
    lineage_.step(stepper, board, random);  // the plain step while lineage is off
    draw();
    computingGeneration_ = false;
    generations_.afterStep(board, random, lineage());
}

void Session::needLineage(bool wanted) {
    const bool was = lineage_.on();
    lineageWanted_ = wanted ? lineageWanted_ + 1 : std::max(0, lineageWanted_ - 1);
    if (lineageWanted_ > 0 && !was)
        lineage_.start(board);
    else if (lineageWanted_ == 0 && was)
        lineage_.stop();
    else
        return;
    generations_.forgetLineage();
}

void Session::restartLineage() {
    if (lineage_.on()) lineage_.start(board);
}

void Session::stimulateIfSettled() {
    if (run.RunMode != RunMode::Stopped) StimulateIfSettled(board, random, run.AutoStimulate, lineageOrNull());
}

void Session::drawn() {
    if (!computingGeneration_) generations_.drawn(run.RunMode != RunMode::Stopped, run.AutoStimulate);
}

}  // namespace app
