// SPDX-License-Identifier: MIT
#include "app/undo_history.h"

#include <unordered_set>

namespace app {

bool EditorState::differsFrom(const EditorState& other) const {
    return !board.sameCells(other.board) || board.Generation != other.board.Generation ||
           board.Modified != other.board.Modified || fileName != other.fileName;
}

namespace {
// `state` keeps `same`'s lineage when the two are equal, to keep one copy.
void shareLineage(EditorState& state, const EditorState& same) {
    if (state.lineage && same.lineage && state.lineage != same.lineage && *state.lineage == *same.lineage)
        state.lineage = same.lineage;
}
}  // namespace

void UndoHistory::push(EditorState before, EditorState after) {
    steps_.resize(done_);
    // Consecutive changes mostly share boards: the state before this one is
    // usually the state after the last, and a change may leave the cells.
    if (!steps_.empty() && before.board.sameCells(steps_.back().after.board))
        before.board.shareCellsOf(steps_.back().after.board);
    if (after.board.sameCells(before.board)) after.board.shareCellsOf(before.board);
    if (!steps_.empty()) shareLineage(before, steps_.back().after);
    shareLineage(after, before);
    steps_.push_back({std::move(before), std::move(after)});
    while (steps_.size() > 1) {
        const std::size_t held = bytes();
        if (steps_.size() <= kStepLimit && held <= kHardByteLimit && (held <= kByteLimit || steps_.size() <= kKeptSteps))
            break;
        steps_.pop_front();
    }
    done_ = steps_.size();
}

const EditorState& UndoHistory::undo() { return steps_[--done_].before; }

const EditorState& UndoHistory::redo() { return steps_[done_++].after; }

void UndoHistory::clear() {
    steps_.clear();
    done_ = 0;
}

std::size_t UndoHistory::bytes() const {
    std::unordered_set<const void*> counted;
    std::size_t total = 0;
    auto add = [&](const EditorState& s) {
        if (counted.insert(s.board.cellsIdentity()).second) total += s.board.bytes();
        if (s.lineage && counted.insert(s.lineage.get()).second) total += s.lineage->memoryBytes();
        total += sizeof(EditorState) + s.fileName.capacity() + s.caption.capacity();
    };
    for (const Step& step : steps_) {
        add(step.before);
        add(step.after);
    }
    return total;
}

}  // namespace app
