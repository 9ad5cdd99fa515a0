// SPDX-License-Identifier: MIT
#pragma once

// The generations computed since the last change that was not a step or a
// run, so that the user can go back through them one at a time and forward
// again to the very same boards.
//
// Not every generation is kept. A generation follows exactly from the one
// before, its random sequence's position and the stimulation switch, so the
// line keeps checkpoints (board, random position, switch) and computes
// forward from the nearest one. What else changes later generations is kept
// as an event with the generation it happened at: a drawing outside a step
// (a repaint moves the population history on and may stimulate a cell), the
// generation counter reset, and a change of the switch.
//
// Position i of the line is the state just before generation i + 1 was
// computed: the board after generation i and after the events at i.
// Checkpoints keep the board right after generation i, before its events.
//
// Checkpoints are spaced evenly; when there are too many, or they take too
// much memory, every other one goes and the spacing doubles. Going back
// from far behind a checkpoint also leaves checkpoints at the square root
// of that distance, so that the next steps back are short (within half as
// much memory again; those above the position shown go once passed).
//
// While the board's lineage is on, the generations carry it along (the
// lineage is given to every call) and checkpoints keep a copy of it, so
// going back puts it back exactly. A checkpoint without one (taken before
// lineage came on, or dropped by forgetLineage) starts the lineage afresh
// at the generation gone back to.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "app/board_image.h"
#include "engine/board.h"
#include "engine/generation_step.h"
#include "engine/lineage.h"
#include "engine/random_sequence.h"

namespace app {

class GenerationLine {
public:
    static constexpr std::size_t kCheckpointLimit = 1024;
    static constexpr std::size_t kByteLimit = std::size_t{32} << 20;
    // Boards over 200 x 200: a checkpoint takes megabytes and tens of
    // milliseconds to make, so the line may hold more of them and starts
    // with a spacing that grows with the board (one capture in about 16,384
    // cells' worth of generations: every 256th at 2048 x 2048).
    static constexpr std::size_t kLargeBoardByteLimit = std::size_t{128} << 20;
    static constexpr int32_t kLargeBoardSide = 200;
    static constexpr std::size_t kCellsPerFirstSpacing = 16384;

    // Forgets the line: the board was changed otherwise.
    void clear();

    // Before a generation is computed from `board`: starts a line if there is
    // none, drops the generations ahead of the one shown, and notes a
    // changed switch.
    void beforeStep(const engine::Board& board, const engine::RandomSequence& random, bool autoStimulate,
                    const engine::Lineage* lineage = nullptr);
    // After it was computed and drawn.
    void afterStep(const engine::Board& board, const engine::RandomSequence& random,
                   const engine::Lineage* lineage = nullptr);
    // A drawing outside a step (`running`: a run or step is standing, so it
    // may stimulate), and the generation counter reset; both at the
    // generation shown, dropping those ahead.
    void drawn(bool running, bool autoStimulate);
    void generationReset();

    bool canGoBack() const { return started_ && cursor_ > 0; }
    bool canGoForward() const { return started_ && cursor_ < end_; }
    // Makes `board` and `random` the previous / next position. The board's
    // unsaved flag stays as it is.
    // `lineage`, when on, is put back (or started afresh) and carried along.
    void back(engine::Board& board, engine::RandomSequence& random, engine::Stepper& stepper,
              engine::Lineage* lineage = nullptr);
    void forward(engine::Board& board, engine::RandomSequence& random, engine::Stepper& stepper,
                 engine::Lineage* lineage = nullptr);
    // The lineage was switched on or off: the copies kept belong to no
    // lineage of the board any more.
    void forgetLineage();

    uint64_t position() const { return cursor_; }
    uint64_t length() const { return end_; }
    std::size_t checkpoints() const { return checkpoints_.size(); }
    std::size_t bytes() const { return bytes_; }

private:
    enum class EventKind : uint8_t { Drawn, DrawnRunning, GenerationReset, SwitchOn, SwitchOff };
    struct Event {
        uint64_t at;
        EventKind kind;
    };
    struct Checkpoint {
        BoardImage board;
        engine::RandomSequence::Position random;
        bool autoStimulate;
        bool regular;  // on the even spacing; the others go first
        std::optional<engine::Lineage> lineage;  // while lineage was on
        std::size_t bytes() const { return board.bytes() + (lineage ? lineage->memoryBytes() : 0); }
    };

    void dropAhead();
    void noteSwitch(bool autoStimulate);
    void addCheckpoint(uint64_t at, const engine::Board& board, const engine::RandomSequence& random, bool flag,
                       bool regular, const engine::Lineage* lineage);
    void thin();
    // Applies the events at `at` to the state, in the order they happened.
    void replayEvents(uint64_t at, engine::Board& board, engine::RandomSequence& random, bool& flag,
                      engine::Lineage* lineage) const;

    bool started_ = false;
    uint64_t cursor_ = 0;  // the position shown
    uint64_t end_ = 0;     // the last position computed
    bool flag_ = true;     // the switch at the cursor, as the line knows it
    uint64_t spacing_ = 1;
    std::size_t byteLimit_ = kByteLimit;
    std::map<uint64_t, Checkpoint> checkpoints_;
    std::vector<Event> events_;  // by position, in order
    std::size_t bytes_ = 0;
};

}  // namespace app
