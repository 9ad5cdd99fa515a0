// SPDX-License-Identifier: MIT
#pragma once

// The document the user works on: the board, the selection, the file name,
// the one random sequence, the stepper, the run state and its speed, the undo
// history, the line of generations computed since the last edit, and the
// board's lineage while something shows it. It knows
// nothing of windows; the window's controller shows it and turns the user's
// commands into changes of it.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/generation_line.h"
#include "app/generation_pacer.h"
#include "app/undo_history.h"
#include "engine/board.h"
#include "engine/generation_step.h"
#include "engine/lineage.h"
#include "engine/random_sequence.h"
#include "patterns/cell_rect.h"

namespace app {

// Stopped (0); a single step (1), left standing after the step until a
// continuous run ends; a continuous run (2).
enum class RunMode : int32_t { Stopped = 0, SingleStep = 1, Continuous = 2 };

struct RunState {
    app::RunMode RunMode = app::RunMode::Stopped;
    bool AutoStimulate = true;
};

struct Selection {
    int32_t SelLeft = -1;  // -1: nothing selected
    int32_t SelTop = 0;
    int32_t SelRight = 0;
    int32_t SelBottom = 0;
    bool Selecting = false;   // a left drag is going on
    bool FocusShown = false;  // the focus rectangle is on the board
};

inline patterns::CellRect SelectionRect(const Selection& s) { return {s.SelLeft, s.SelTop, s.SelRight, s.SelBottom}; }

class Session {
public:
    engine::Board board;      // Cells, GridMax, Generation, PopulationHistory, Modified
    // ReCalc with its work space, kept between generations; large boards by two threads.
    engine::Stepper stepper = [] {
        engine::Stepper s;
        s.useSecondThread(true);
        return s;
    }();
    engine::RandomSequence random;
    Selection selection;
    std::string FileName;
    RunState run;
    GenerationPacer pacer;  // when a continuous run's next generation is due
    std::vector<engine::CellRecord> BoardCopy;  // work space of enlarging and reducing

    bool hasSelection() const { return selection.SelLeft != -1; }
    bool running() const { return run.RunMode == RunMode::Continuous; }

    // ---- undo and redo ------------------------------------------------------
    // The document as an undo step keeps it; `caption` is the window's title,
    // which belongs to the step (an imported pattern names its file there).
    EditorState capture(const std::string& caption) const;
    // Puts the board, the selection (without the focus rectangle, which the
    // window draws) and the file name of `state` back.
    void restore(const EditorState& state);

    // A change of the document begins; changes begun inside it belong to it.
    void beginChange(const std::string& caption);
    // The change begun last ends. When the outermost one has changed
    // anything it becomes one undo step; unless it was a step or a run, the
    // line of generations starts anew.
    void endChange(const std::string& caption, bool stepOrRun);
    // What the change going on does is no undo step (going forward along
    // the generations already computed is none).
    void notAChange() { changeBefore_.reset(); }
    bool changing() const { return changeDepth_ > 0; }

    bool canUndo() const { return !running() && undo_.canUndo(); }
    bool canRedo() const { return !running() && undo_.canRedo(); }
    // The state to put back; only when canUndo / canRedo.
    const EditorState& undo();
    const EditorState& redo();
    // A board opened at start-up can be undone to an empty board.
    void recordStartupOpen(const std::string& emptyCaption, const std::string& caption);

    // ---- generations -----------------------------------------------------------
    // One generation of a step or run: `draw` shows (and counts) the board
    // ReCalc has computed; the line keeps it so that it can be gone back to.
    void stepGeneration(const std::function<void()>& draw);
    // After every drawing: a drawing outside a generation is noted in the line.
    void drawn();
    // The live cells of the board; within `draw` of stepGeneration the
    // step's own count, without a pass over the records.
    int32_t countLive() const { return computingGeneration_ ? stepper.liveCells(board) : board.countLive(); }
    bool canGoBack() const { return !running() && generations_.canGoBack(); }
    bool canGoForward() const { return generations_.canGoForward(); }
    void back() { generations_.back(board, random, stepper, lineageOrNull()); }
    void forward() { generations_.forward(board, random, stepper, lineageOrNull()); }
    void generationReset() { generations_.generationReset(); }

    // ---- lineage ----------------------------------------------------------------
    // Where every live cell's red, green and blue came from (engine/lineage.h).
    // Off, costing nothing, until something asks for it; each user (the
    // lineage view, the graph window) asks with true and gives it back with
    // false, and it stays on while anyone wants it. When it comes on, the live
    // cells become founders of kind start. While it is on, every generation
    // computed here (steps, runs, stimulation, the line's replays) carries it
    // along, changes that are no step or run make their new or recoloured
    // cells edit founders, and undo, redo, and going back and forward a
    // generation put it back with the board. Switching it on or off starts
    // the line of generations anew (its checkpoints keep it or do not).
    void needLineage(bool wanted);
    bool lineageOn() const { return lineage_.on(); }
    // Null while off. The records hold until the next generation or change.
    const engine::Lineage* lineage() const { return lineage_.on() ? &lineage_ : nullptr; }
    // The board was replaced as a whole (opened, imported, ランダム, クリア,
    // 拡大, 縮小, the kept board): its live cells become start founders.
    void restartLineage();
    // Counts every founder's live cells and folds the records of extinct
    // ones (Lineage::tally). Folding changes no cell's founders, but going
    // back a generation does not repeat it: afterwards the records equal
    // those of the run as computed again, not as tallied.
    void tallyLineage() { lineage_.tally(); }
    // Auto-stimulation after a drawing, with its cell a stimulation founder.
    void stimulateIfSettled();
    // ---- the graph's recorder ----
    // The lineage for a recorder that tallies it and takes over the records
    // it folds (app/run_recorder.h); null while off.
    engine::Lineage* recordedLineage() { return lineageOrNull(); }

    const UndoHistory& history() const { return undo_; }
    const GenerationLine& generations() const { return generations_; }

private:
    engine::Lineage* lineageOrNull() { return lineage_.on() ? &lineage_ : nullptr; }

    UndoHistory undo_;
    GenerationLine generations_;
    int changeDepth_ = 0;
    std::optional<EditorState> changeBefore_;
    bool computingGeneration_ = false;  // the drawing belongs to a generation of the line
    engine::Lineage lineage_;
    int lineageWanted_ = 0;  // how many users want the lineage
};

}  // namespace app
