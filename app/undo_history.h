// SPDX-License-Identifier: MIT
#pragma once

// The list of the user's changes that can be undone and redone. Each step
// keeps the whole state before and after the change (boards as compact
// images), so undo and redo put back exactly what was there, random colours
// included, without computing anything again.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "app/board_image.h"
#include "engine/lineage.h"

namespace app {

// What one change can alter besides the board: the selection, and the file
// the board belongs to with the window's caption.
struct EditorState {
    BoardImage board;
    std::array<int32_t, 4> selection{-1, 0, 0, 0};  // SelLeft, SelTop, SelRight, SelBottom
    bool focusShown = false;
    std::string fileName;
    std::string caption;
    // The board's lineage while it was on (shared between states that hold
    // the same); null when it was off.
    std::shared_ptr<const engine::Lineage> lineage;

    // Something the user would call a change: cells, size, counter, file.
    bool differsFrom(const EditorState& other) const;
};

class UndoHistory {
public:
    // The oldest steps are dropped first to stay within both; but the last
    // kKeptSteps stay beyond kByteLimit (twenty changes of a whole 2048 x
    // 2048 board take more), as long as they fit in kHardByteLimit.
    static constexpr std::size_t kStepLimit = 1000;
    static constexpr std::size_t kByteLimit = std::size_t{64} << 20;
    static constexpr std::size_t kKeptSteps = 20;
    static constexpr std::size_t kHardByteLimit = std::size_t{256} << 20;

    // A new change; drops the steps that had been undone.
    void push(EditorState before, EditorState after);
    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // The state before the last change done / after the next one undone.
    const EditorState& undo();
    const EditorState& redo();
    void clear();

    std::size_t steps() const { return steps_.size(); }
    // The memory the kept boards and lineages take, each shared one once.
    std::size_t bytes() const;

private:
    struct Step {
        EditorState before;
        EditorState after;
    };
    std::deque<Step> steps_;
    std::size_t done_ = 0;  // steps_[0 .. done_) are done, the rest undone
};

}  // namespace app
