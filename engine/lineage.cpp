// SPDX-License-Identifier: MIT
// Lineage beside the board (see lineage.h).
//
// Each live cell holds three slots, indices into records_, the founders kept
// so far in ascending numbers. Dead cells hold none: the slots are kept for
// the live cells alone, in array order, so a lineage takes room by its live
// cells rather than by its board, and a generation on a large, sparse board
// costs little more than the plain step. After the step the slots are
// carried over from the live bits before it to those after it
// (lineage_carry.h): a survivor keeps its slots, and a newborn takes each
// channel's from the parent that gave it the channel. Live counts are not
// kept up to date generation by generation: a tally counts them in one pass
// over the slots, folds what is extinct and closes the gaps in records_,
// renumbering the slots. Tallies come when asked for and, to keep memory
// bounded, whenever the records have doubled since the last one, so their
// cost per new founder stays constant.

#include "engine/lineage.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "engine/lineage_track.h"
#include "engine/step_kernels.h"
#include "engine/stimulation.h"

namespace engine {

namespace {

// The fewest records at which a step tallies: below it a tally would cost
// more than the memory it frees is worth.
constexpr std::size_t kFewestRecordsToTally = 4096;

}  // namespace

const char* ChannelName(int channel) {
    switch (channel) {
        case 0: return "red";
        case 1: return "green";
        default: return "blue";
    }
}

const char* FounderKindName(FounderKind kind) {
    switch (kind) {
        case FounderKind::Start: return "start";
        case FounderKind::Edit: return "edit";
        case FounderKind::Stimulation: return "stimulation";
        case FounderKind::Mutation: return "mutation";
    }
    return "?";
}

namespace detail {

struct LineageScratch {
    std::vector<uint32_t> slots, rank;  // the slots and ranks being carried over
    std::vector<uint32_t> mutations;
    std::vector<KeptCell> deaths[2];
};

LineageScratchRoom::LineageScratchRoom() = default;
LineageScratchRoom::~LineageScratchRoom() = default;
LineageScratchRoom::LineageScratchRoom(const LineageScratchRoom&) {}
LineageScratchRoom& LineageScratchRoom::operator=(const LineageScratchRoom&) { return *this; }
LineageScratchRoom::LineageScratchRoom(LineageScratchRoom&&) noexcept = default;
LineageScratchRoom& LineageScratchRoom::operator=(LineageScratchRoom&&) noexcept = default;

LineageScratch& LineageScratchRoom::get() {
    if (!scratch_) scratch_ = std::make_unique<LineageScratch>();
    return *scratch_;
}

void LineageTrack::edited() const { lineage->editedBeforeStep(*board); }

}  // namespace detail

Lineage::Lineage() : records_(1) {}
Lineage::~Lineage() = default;
Lineage::Lineage(const Lineage&) = default;
Lineage& Lineage::operator=(const Lineage&) = default;
Lineage::Lineage(Lineage&&) noexcept = default;
Lineage& Lineage::operator=(Lineage&&) noexcept = default;

void Lineage::stop() { *this = Lineage(); }

void Lineage::resize(const Board& board) {
    side_ = board.side();
    words_ = (side_ + 63) / 64;
    slots_.clear();
    live_.assign(static_cast<std::size_t>(side_) * static_cast<std::size_t>(words_), 0);
    rank_.assign(live_.size() + 1, 0);
}

void Lineage::rankLive() { KernelsFor(FastestKernelSet()).rankWords(live_.data(), live_.size(), rank_.data()); }

uint32_t Lineage::rankOf(int32_t x, int32_t y) const {
    const std::size_t word = wordOf(x, y);
    return rank_[word] + static_cast<uint32_t>(std::popcount(live_[word] & ((uint64_t{1} << (y % 64)) - 1)));
}

void Lineage::start(const Board& board, const std::function<int32_t(int32_t x, int32_t y)>& group) {
    const bool keepFolded = keepFolded_;
    stop();
    on_ = true;
    keepFolded_ = keepFolded;
    if (!Steppable(board)) return;
    resize(board);
    generation_ = board.Generation;
    // Room for every live cell at once: a large board's records would
    // otherwise be copied over and over as they grow.
    const auto live = static_cast<std::size_t>(board.countLive());
    records_.reserve(live + 1);
    slots_.reserve(kChannels * live);
    for (int32_t x = 0; x < side_; ++x)
        for (int32_t y = 0; y < side_; ++y) {
            const std::size_t i = board.index(x, y);
            if (!board.Cells[i].live()) continue;
            const uint32_t slot = addFounder(FounderKind::Start, i, board.Cells[i], generation_);
            if (group) {
                const int32_t g = group(x, y);
                records_[slot].group = {g, g, g};
            }
            slots_.insert(slots_.end(), {slot, slot, slot});
            live_[wordOf(x, y)] |= uint64_t{1} << (y % 64);
        }
    rankLive();
    tally();
}

uint32_t Lineage::addFounder(FounderKind kind, std::size_t cell, const CellRecord& colour, int32_t generation) {
    Founder f;
    f.id = nextId_++;
    f.kind = kind;
    f.origin = clock_;
    f.generation = generation;
    f.x = static_cast<int32_t>(cell / static_cast<std::size_t>(side_));
    f.y = static_cast<int32_t>(cell % static_cast<std::size_t>(side_));
    f.colour = CellRecord(1, colour.Red, colour.Green, colour.Blue);
    records_.push_back(f);
    return static_cast<uint32_t>(records_.size() - 1);
}

int Lineage::sync(const Board& board, FounderKind kind, int32_t group) {
    if (!on_ || !Steppable(board)) return 0;
    generation_ = board.Generation;
    if (board.side() != side_) resize(board);  // another board: nothing of it is known
    int made = 0;
    std::vector<uint32_t> slots;
    slots.reserve(slots_.size());
    const uint32_t* known = slots_.data();  // the slots of the next cell the lineage knows as live
    for (int32_t x = 0; x < side_; ++x)
        for (int32_t y = 0; y < side_; ++y) {
            const CellRecord& now = board.Cells[board.index(x, y)];
            uint64_t& word = live_[wordOf(x, y)];
            const uint64_t bit = uint64_t{1} << (y % 64);
            const uint32_t* const slot = (word & bit) != 0 ? std::exchange(known, known + 3) : nullptr;
            if (!now.live()) {
                word &= ~bit;
                continue;
            }
            // Cells of unknown origin (slot 0) are taken as edited too.
            if (slot && slot[0] != 0 && slot[1] != 0 && slot[2] != 0 && records_[slot[0]].colour.Red == now.Red &&
                records_[slot[1]].colour.Green == now.Green && records_[slot[2]].colour.Blue == now.Blue) {
                slots.insert(slots.end(), slot, slot + 3);
                continue;
            }
            const uint32_t s = addFounder(kind, board.index(x, y), now, generation_);
            records_[s].group = {group, group, group};
            slots.insert(slots.end(), {s, s, s});
            word |= bit;
            ++made;
        }
    slots_ = std::move(slots);
    rankLive();
    if (records_.size() >= tallyAt_) tally();
    return made;
}

void Lineage::step(Stepper& stepper, Board& board, RandomSequence& random) {
    if (!on_) return stepper.ReCalc(board, random);
    if (!Steppable(board)) return;
    if (board.side() != side_) sync(board);
    ++clock_;
    const int32_t generation = board.Generation;
    generation_ = generation < std::numeric_limits<int32_t>::max() ? generation + 1 : generation;
    detail::LineageScratch& scratch = scratch_.get();
    scratch.mutations.clear();
    for (auto& deaths : scratch.deaths) deaths.clear();
    detail::LineageTrack track{live_.data(), this, &board, &scratch.mutations,
                               {&scratch.deaths[0], &scratch.deaths[1]}};
    stepper.ReCalcTracked(board, random, track);
    if (std::memcmp(live_.data(), track.before, live_.size() * sizeof(uint64_t)) != 0)
        syncBeforeStep(board, track, generation);
    carry(stepper, board, track);
    if (records_.size() >= tallyAt_) tally();
}

// Called from inside step(), which has already moved the clock on.
void Lineage::editedBeforeStep(const Board& board) {
    const int32_t generation = generation_;
    --clock_;
    sync(board);
    ++clock_;
    generation_ = generation;
}

void Lineage::syncBeforeStep(const Board& board, const detail::LineageTrack& track, int32_t generation) {
    // Newborns were dead, and the dead are put back; survivors kept their
    // colours (a State above 1 is still live).
    Board before = board;
    before.Generation = generation;
    for (std::size_t j = 0; j < live_.size(); ++j)
        for (uint64_t born = track.after[j] & ~track.before[j]; born != 0; born &= born - 1)
            before.Cells[j / static_cast<std::size_t>(words_) * static_cast<std::size_t>(side_) +
                         j % static_cast<std::size_t>(words_) * 64 + static_cast<std::size_t>(std::countr_zero(born))] =
                CellRecord{};
    for (const std::vector<detail::KeptCell>* deaths : track.deaths)
        for (const detail::KeptCell& dead : *deaths) before.Cells[dead.cell] = dead.record;
    editedBeforeStep(before);
}

void Lineage::carry(Stepper& stepper, const Board& board, const detail::LineageTrack& track) {
    detail::LineageScratch& scratch = scratch_.get();
    const StepKernels& kernels = *track.kernels;
    scratch.rank.resize(live_.size() + 1);
    const uint32_t total = kernels.rankWords(track.after, live_.size(), scratch.rank.data());
    scratch.slots.resize(3 * static_cast<std::size_t>(total));
    // In two halves, at the same time where the stepper has two threads.
    stepper.inTwo(side_, [&](int part) {
        const int32_t half = side_ / 2;
        kernels.carrySlots(SlotCarry{track.before, track.after, rank_.data(), scratch.rank.data(), slots_.data(),
                                     scratch.slots.data(), side_, words_, part == 0 ? 0 : half,
                                     part == 0 ? half : side_});
    });
    std::swap(slots_, scratch.slots);
    std::swap(rank_, scratch.rank);
    std::memcpy(live_.data(), track.after, live_.size() * sizeof(uint64_t));
    // A mutated newborn carries the slots it would have inherited: the
    // ancestors of the founder it becomes.
    for (const uint32_t cell : *track.mutations) {
        const auto x = static_cast<int32_t>(cell / static_cast<uint32_t>(side_));
        const auto y = static_cast<int32_t>(cell % static_cast<uint32_t>(side_));
        uint32_t* const inherited = &slots_[3 * static_cast<std::size_t>(rankOf(x, y))];
        const uint32_t slot = addFounder(FounderKind::Mutation, cell, board.Cells[cell], generation_);
        Founder& f = records_[slot];
        for (int c = 0; c < kChannels; ++c) {
            f.ancestor[c] = f.keptAncestor[c] = records_[inherited[c]].id;
            f.group[c] = records_[inherited[c]].group[c];
        }
        inherited[0] = inherited[1] = inherited[2] = slot;
    }
}

int Lineage::stimulate(Board& board, RandomSequence& random) {
    const int stimulated = AutoStimulate(board, random);
    if (stimulated > 0) sync(board, FounderKind::Stimulation);
    return stimulated;
}

int Lineage::autoStimulate(Board& board, RandomSequence& random) {
    if (!on_) return AutoStimulate(board, random);
    // Most generations stimulate nothing: the board is compared with the
    // lineage (a pass over every cell) only when a cell may be stimulated.
    if (!MayStimulate(board)) return 0;
    sync(board);  // edits since the lineage last saw the board are no stimulation
    return stimulate(board, random);
}

void Lineage::stepAndStimulate(Stepper& stepper, Board& board, RandomSequence& random) {
    if (!on_) return StepAndStimulate(stepper, board, random);
    step(stepper, board, random);
    RecordPopulation(board, stepper.liveCells(board));
    stimulate(board, random);
}

void Lineage::tally() {
    if (!on_) return;
    for (Founder& f : records_) f.live = f.clade = {};
    for (std::size_t e = 0; e < slots_.size(); e += kChannels)
        for (int c = 0; c < kChannels; ++c) ++records_[slots_[e + c]].live[c];
    // A mutation is numbered after its ancestors, so going backwards every
    // founder has its mutations' clades before it passes its own on; on the
    // way each founder counts its branches, the mutations below it (through
    // folded links) that have live cells.
    std::vector<std::array<int32_t, kChannels>> branches(records_.size());
    for (std::size_t k = records_.size(); k-- > 1;) {
        Founder& f = records_[k];
        for (int c = 0; c < kChannels; ++c) {
            if (f.folded[c]) continue;
            f.clade[c] += f.live[c];
            if (f.clade[c] == 0 || f.keptAncestor[c] == kNoFounder) continue;
            const uint32_t parent = slotOf(f.keptAncestor[c]);
            records_[parent].clade[c] += f.clade[c];
            ++branches[parent][c];
        }
    }
    // Forwards, folding: the extinct, and links of a single line, whose
    // mutation below then takes the link's own nearest ancestor.
    for (std::size_t k = 1; k < records_.size(); ++k) {
        Founder& f = records_[k];
        for (int c = 0; c < kChannels; ++c) {
            if (f.live[c] == 0 && f.extinct[c] == kStillLiving) f.extinct[c] = clock_;
            if (f.folded[c]) continue;
            if (f.clade[c] > 0 && f.keptAncestor[c] != kNoFounder) {
                const Founder& parent = records_[slotOf(f.keptAncestor[c])];
                if (parent.folded[c]) f.keptAncestor[c] = parent.keptAncestor[c];
            }
            if (f.clade[c] > 0 && (f.live[c] > 0 || branches[k][c] > 1)) continue;
            f.folded[c] = true;
            ++extinctCounts_[static_cast<std::size_t>(f.kind)][static_cast<std::size_t>(c)];
            if (keepFolded_) folded_.push_back({f, c});
        }
    }
    std::vector<uint32_t> renumbered(records_.size());
    std::size_t kept = 1;
    for (std::size_t k = 1; k < records_.size(); ++k) {
        renumbered[k] = static_cast<uint32_t>(kept);
        const Founder& f = records_[k];
        if (f.folded[0] && f.folded[1] && f.folded[2]) continue;
        if (kept != k) records_[kept] = f;
        ++kept;
    }
    if (kept != records_.size()) {
        records_.resize(kept);
        for (uint32_t& slot : slots_) slot = renumbered[slot];
    }
    tallyAt_ = std::max(2 * records_.size(), kFewestRecordsToTally);
}

uint32_t Lineage::slotOf(FounderId id) const {
    const auto it = std::lower_bound(records_.begin(), records_.end(), id,
                                     [](const Founder& f, FounderId value) { return f.id < value; });
    return static_cast<uint32_t>(it - records_.begin());
}

FounderId Lineage::founderAt(int32_t x, int32_t y, int channel) const {
    if (!on_ || x < 0 || y < 0 || x >= side_ || y >= side_ || channel < 0 || channel >= kChannels) return kNoFounder;
    if (!liveAt(x, y)) return kNoFounder;
    return records_[slots_[3 * static_cast<std::size_t>(rankOf(x, y)) + static_cast<std::size_t>(channel)]].id;
}

const Founder* Lineage::founder(FounderId id) const {
    if (id == kNoFounder) return nullptr;
    const uint32_t slot = slotOf(id);
    return slot < records_.size() && records_[slot].id == id ? &records_[slot] : nullptr;
}

int32_t Lineage::survivors(int channel) const {
    return static_cast<int32_t>(std::count_if(records_.begin() + 1, records_.end(),
                                              [&](const Founder& f) { return f.live[channel] > 0; }));
}

int64_t Lineage::extinctCount(FounderKind kind, int channel) const {
    return extinctCounts_[static_cast<std::size_t>(kind)][static_cast<std::size_t>(channel)];
}

std::vector<FoldedChannel> Lineage::takeFolded() { return std::exchange(folded_, {}); }

std::size_t Lineage::memoryBytes() const {
    return sizeof(*this) + slots_.capacity() * sizeof(uint32_t) + live_.capacity() * sizeof(uint64_t) +
           rank_.capacity() * sizeof(uint32_t) + records_.capacity() * sizeof(Founder) +
           folded_.capacity() * sizeof(FoldedChannel);
}

// The ranks follow from the live bits, and the scratch room is no state.
bool operator==(const Lineage& a, const Lineage& b) {
    return a.on_ == b.on_ && a.side_ == b.side_ && a.clock_ == b.clock_ && a.generation_ == b.generation_ &&
           a.nextId_ == b.nextId_ && a.live_ == b.live_ && a.slots_ == b.slots_ && a.records_ == b.records_ &&
           a.extinctCounts_ == b.extinctCounts_ && a.keepFolded_ == b.keepFolded_ && a.folded_ == b.folded_;
}

}  // namespace engine
