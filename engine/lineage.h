// SPDX-License-Identifier: MIT
#pragma once

// Lineage: where every live cell's red, green and blue came from.
//
// A newborn takes its red from exactly one parent, its green from exactly one
// and its blue from exactly one, so each colour channel's ancestry is a tree.
// Every live cell carries three lineage numbers, one per channel, each naming
// a founder: a cell that came to life other than by birth from three parents.
// Founders are
//   - Start:       the live cells of a board when lineage starts,
//   - Edit:        cells added or recoloured between generations (a click, a
//                  stamped or pasted pattern, a recolouring),
//   - Stimulation: a cell brought to life by auto-stimulation,
//   - Mutation:    a newborn whose colour mutated. It records, per channel,
//                  the founder it would have inherited (its ancestor), so
//                  mutations are the branches of the trees.
// A newborn copies each channel's number from the parent that gave it that
// channel: red from the first of its three parents in scan order, green from
// the second, blue from the third (see generation_step.cpp).
//
// Lineage is optional and lives beside the board: the board's cells and the
// plain step (Stepper::ReCalc(board, random)) are untouched by it. While it
// is on, Lineage::step runs the same generation (the same board, the same
// random fractions) and carries the numbers along.
//
// Edits: after changing the board between generations (a click, a stamped
// or pasted pattern, a recolouring, a loaded board) call sync(board): every
// live cell that the lineage saw dead, or with another colour, becomes an
// Edit founder. A step also finds cells that came to life or died since the
// lineage last saw the board (not recoloured ones) and syncs first; until
// then, or for recoloured cells never synced, founderAt may name the wrong
// founder, or none, but nothing worse happens.
//
// Records stay bounded: a tally (tally(), and automatically when the records
// have doubled since the last one) counts the live cells of every founder and
// folds into the extinct counts each founder's channel that no live cell
// carries, neither itself nor through a mutation below it, and each that no
// live cell carries itself and that has only one line of mutations below it
// with live cells: a link of a single line, which the line's next founder
// bypasses from then on (keptAncestor). So the founders kept in a channel are
// those carried by live cells and those where lines part, at most twice the
// live cells, however long the run: lines of descent through many mutations
// do not pile up. A founder's record goes when all three of its channels are
// folded; Founder::ancestor keeps the founder a mutation would have
// inherited, folded or not.
//
// A Lineage is a value: copying it and assigning the copy back restores the
// whole state exactly (for undo, going back a generation, a kept board); the
// board and the random sequence must be restored with it.
//
// In use:
//   engine::Lineage lineage;
//   lineage.start(board, [&](int32_t x, int32_t y) { return x < side / 2 ? 0 : 1; });  // groups
//   for (...) lineage.step(stepper, board, random);  // or stepAndStimulate
//   lineage.tally();
//   for (const engine::Founder& f : lineage.founders())
//       ... f.live[c] cells carry f in channel c; f.group[c], f.kind, f.origin ...

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <span>
#include <vector>

#include "engine/board.h"
#include "engine/cell_record.h"
#include "engine/generation_step.h"
#include "engine/random_sequence.h"

namespace engine {

inline constexpr int kChannels = 3;  // 0 red, 1 green, 2 blue
// "red", "green", "blue".
const char* ChannelName(int channel);

enum class FounderKind : uint8_t { Start, Edit, Stimulation, Mutation };
inline constexpr int kFounderKinds = 4;
// "start", "edit", "stimulation", "mutation".
const char* FounderKindName(FounderKind kind);

// Founders are numbered 1, 2, 3, ... in the order they come to life, never
// reused; those of one start or sync, and the mutations of one generation,
// in array order (x outer, y inner). 0 is no founder (a dead cell).
using FounderId = uint64_t;
inline constexpr FounderId kNoFounder = 0;

// The group of founders given no group.
inline constexpr int32_t kNoGroup = -1;

// A founder's extinct time while it still has live cells.
inline constexpr uint64_t kStillLiving = std::numeric_limits<uint64_t>::max();

struct Founder {
    FounderId id = kNoFounder;
    FounderKind kind = FounderKind::Start;
    uint64_t origin = 0;     // Lineage::clock() when it came to life
    int32_t generation = 0;  // the board's Generation then (auto-stimulation restarts that one)
    int32_t x = 0, y = 0;    // its cell
    CellRecord colour;       // its colour: Red, Green and Blue are its three channels' values
    // Per channel (0 red, 1 green, 2 blue):
    std::array<FounderId, kChannels> ancestor{};  // a mutation's would-be parent founder; kNoFounder otherwise
    // The nearest ancestor not folded: `ancestor` until that one is folded
    // as a link of a single line (see tally()), then its own nearest.
    std::array<FounderId, kChannels> keptAncestor{};
    std::array<int32_t, kChannels> group{kNoGroup, kNoGroup, kNoGroup};
    // As of the last tally:
    std::array<int32_t, kChannels> live{};   // live cells whose number in the channel is this founder
    std::array<int32_t, kChannels> clade{};  // those and the live cells of the mutations below it
    // The clock at the first tally that found no live cell carrying it (its
    // own cells, not its mutations'), kStillLiving before. Exact when a tally
    // follows every generation.
    std::array<uint64_t, kChannels> extinct{kStillLiving, kStillLiving, kStillLiving};
    std::array<bool, kChannels> folded{};  // the channel is folded into the extinct counts

    uint8_t value(int channel) const { return channel == 0 ? colour.Red : channel == 1 ? colour.Green : colour.Blue; }
    friend bool operator==(const Founder&, const Founder&) = default;
};

// One channel of a founder as it was folded (Lineage::keepFolded).
struct FoldedChannel {
    Founder founder;
    int channel = 0;
    friend bool operator==(const FoldedChannel&, const FoldedChannel&) = default;
};

namespace detail {
struct LineageTrack;
struct LineageScratch;

// Room a lineage's steps reuse. It is no part of the lineage's state: a copy
// starts with none, and assigning keeps one's own.
class LineageScratchRoom {
public:
    LineageScratchRoom();
    ~LineageScratchRoom();
    LineageScratchRoom(const LineageScratchRoom&);
    LineageScratchRoom& operator=(const LineageScratchRoom&);
    LineageScratchRoom(LineageScratchRoom&&) noexcept;
    LineageScratchRoom& operator=(LineageScratchRoom&&) noexcept;
    LineageScratch& get();

private:
    std::unique_ptr<LineageScratch> scratch_;
};
}  // namespace detail

class Lineage {
public:
    Lineage();
    ~Lineage();
    Lineage(const Lineage&);
    Lineage& operator=(const Lineage&);
    Lineage(Lineage&&) noexcept;
    Lineage& operator=(Lineage&&) noexcept;

    // ---- switching on and off ------------------------------------------------

    // Starts afresh on `board`: every live cell becomes a Start founder, the
    // clock 0, the extinct counts 0 (keepFolded stays as it is). `group`,
    // when given, gives the group of the founder at (x, y); otherwise kNoGroup.
    void start(const Board& board, const std::function<int32_t(int32_t x, int32_t y)>& group = {});
    // Lineage off: everything released, keepFolded off.
    void stop();
    bool on() const { return on_; }

    // ---- following the board -------------------------------------------------

    // Makes every live cell of `board` that the lineage saw dead, or with
    // another colour, a founder of `kind` in `group`, at the current clock;
    // cells that died drop out; live cells of unknown origin become founders
    // too. A board of another size than the one the lineage knows makes
    // every live cell such a founder. Returns the number of new founders.
    // Nothing when lineage is off.
    int sync(const Board& board, FounderKind kind = FounderKind::Edit, int32_t group = kNoGroup);

    // One generation: stepper.ReCalc(board, random) exactly (the same board,
    // the same fractions drawn), with every newborn's numbers taken from its
    // parents and every mutation made a founder. The clock goes up by one.
    // When cells came to life or died since the lineage last saw the board,
    // sync(board) comes first. With lineage off it is the plain step.
    void step(Stepper& stepper, Board& board, RandomSequence& random);

    // engine::AutoStimulate with every stimulated cell a Stimulation founder.
    int autoStimulate(Board& board, RandomSequence& random);

    // engine::StepAndStimulate with lineage: step, the drawing's count, then
    // autoStimulate.
    void stepAndStimulate(Stepper& stepper, Board& board, RandomSequence& random);

    // Generations stepped since start(): the founders' origin time. Unlike the
    // board's Generation it never restarts.
    uint64_t clock() const { return clock_; }

    // ---- asking --------------------------------------------------------------

    // The founder whose number the cell (x, y) carries in `channel`;
    // kNoFounder for a dead cell (as the lineage last saw the board), one off
    // the board, or a live one of unknown origin (see sync()).
    FounderId founderAt(int32_t x, int32_t y, int channel) const;
    // The record of a founder with a channel not folded yet; nullptr otherwise.
    const Founder* founder(FounderId id) const;
    // Every such record, in the order of their numbers. The records and the
    // pointers above hold until the next step, sync, tally or start.
    std::span<const Founder> founders() const { return std::span<const Founder>(records_).subspan(1); }

    // Counts every founder's live cells and clade per channel, notes the
    // extinct times and folds extinct channels and links of single lines
    // (see above). After it, founders() has the counts of the board as the
    // lineage last saw it.
    void tally();
    // Founders carried by at least one live cell in `channel`, as of the last tally.
    int32_t survivors(int channel) const;
    // Live cells whose founder in `channel` is unknown (see sync()), as of
    // the last tally.
    int32_t unknownCells(int channel) const { return records_[0].live[static_cast<std::size_t>(channel)]; }
    // Channels of founders of `kind` folded so far (all of them extinct).
    int64_t extinctCount(FounderKind kind, int channel) const;
    // Founders numbered so far (the last number given).
    FounderId foundersMade() const { return nextId_ - 1; }

    // With `keep`, every channel folded from now on is kept (its record as it
    // was then) until takeFolded() hands the list over: for a full history of
    // a run (kaleidomat-cli lineage). Off by default, so memory stays bounded.
    void keepFolded(bool keep) { keepFolded_ = keep; }
    std::vector<FoldedChannel> takeFolded();

    // Bytes the lineage holds, roughly: for measuring.
    std::size_t memoryBytes() const;

    friend bool operator==(const Lineage&, const Lineage&);

private:
    friend struct detail::LineageTrack;

    uint32_t addFounder(FounderKind kind, std::size_t cell, const CellRecord& colour, int32_t generation);
    void editedBeforeStep(const Board& board);  // called by the step for unsynced edits
    // After the step: the board as it was before it, from the board after it
    // and the records of the cells that died, synced as edited when the
    // lineage finds other live cells in it than it knows.
    void syncBeforeStep(const Board& board, const detail::LineageTrack& track, int32_t generation);
    // The slots carried over from the live bits before the step to those after
    // it, and the mutated newborns made founders.
    void carry(Stepper& stepper, const Board& board, const detail::LineageTrack& track);
    int stimulate(Board& board, RandomSequence& random);  // autoStimulate after a step
    void resize(const Board& board);
    void rankLive();  // rank_ from live_
    std::size_t wordOf(int32_t x, int32_t y) const {
        return static_cast<std::size_t>(x) * static_cast<std::size_t>(words_) + static_cast<std::size_t>(y / 64);
    }
    bool liveAt(int32_t x, int32_t y) const { return (live_[wordOf(x, y)] >> (y % 64)) & 1; }
    // The index of the live cell (x, y) among the live cells, in array order.
    uint32_t rankOf(int32_t x, int32_t y) const;
    uint32_t slotOf(FounderId id) const;

    bool on_ = false;
    int32_t side_ = 0;
    int32_t words_ = 0;  // words of live bits a column
    uint64_t clock_ = 0;
    int32_t generation_ = 0;  // the board's Generation for new founders' records
    FounderId nextId_ = 1;
    // The live cells as the lineage last saw them: bit y % 64 of word
    // x * words_ + y / 64, as the step counts them. Their colours are their
    // founders' values, so no copy of the board is needed.
    std::vector<uint64_t> live_;
    // Per word of live_, the live cells in the words before it; one more at
    // the end, all of them.
    std::vector<uint32_t> rank_;
    // The slots in records_ of the three founders (red, green, blue) of every
    // live cell, in array order (x outer, y inner): three per set bit of live_.
    std::vector<uint32_t> slots_;
    // Ascending numbers, after records_[0]: cells of unknown origin, which
    // is never folded and no founder (its id is kNoFounder).
    std::vector<Founder> records_;
    std::size_t tallyAt_ = 0;  // records_.size() that makes the next step tally
    std::array<std::array<int64_t, kChannels>, kFounderKinds> extinctCounts_{};
    bool keepFolded_ = false;
    std::vector<FoldedChannel> folded_;
    detail::LineageScratchRoom scratch_;
};

}  // namespace engine
