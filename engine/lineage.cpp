// SPDX-License-Identifier: MIT
// Lineage beside the board (see lineage.h).
//
// Each cell holds three slots, indices into records_, the founders kept so
// far in ascending numbers. The step copies a newborn's slots from its
// parents (generation_step.cpp, births()), which is all the work lineage adds
// to a generation apart from copying the step's live bits. Live counts
// are not kept up to date generation by generation: a tally counts them in
// one pass over the cells, folds what is extinct and closes the gaps in
// records_, renumbering the slots. Tallies come when asked for and, to keep
// memory bounded, whenever the records have doubled since the last one, so
// their cost per new founder stays constant.

#include "engine/lineage.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "engine/lineage_track.h"
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

void detail::LineageTrack::mutated(std::size_t cell, const CellRecord& colour) const {
    lineage->mutated(cell, colour);
}

void detail::LineageTrack::edited() const { lineage->editedBeforeStep(*board); }

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
    slots_.assign(board.Cells.size(), {});
    live_.assign(static_cast<std::size_t>(side_) * static_cast<std::size_t>(words_), 0);
}

void Lineage::start(const Board& board, const std::function<int32_t(int32_t x, int32_t y)>& group) {
    const bool keepFolded = keepFolded_;
    stop();
    on_ = true;
    keepFolded_ = keepFolded;
    if (!Steppable(board)) return;
    resize(board);
    generation_ = board.Generation;
    for (int32_t x = 0; x < side_; ++x)
        for (int32_t y = 0; y < side_; ++y) {
            const std::size_t i = board.index(x, y);
            if (!board.Cells[i].live()) continue;
            const uint32_t slot = addFounder(FounderKind::Start, i, board.Cells[i], generation_);
            if (group) {
                const int32_t g = group(x, y);
                records_[slot].group = {g, g, g};
            }
            slots_[i] = {slot, slot, slot};
            live_[static_cast<std::size_t>(x) * words_ + static_cast<std::size_t>(y / 64)] |= uint64_t{1} << (y % 64);
        }
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
    for (int32_t x = 0; x < side_; ++x)
        for (int32_t y = 0; y < side_; ++y) {
            const std::size_t i = board.index(x, y);
            const CellRecord& now = board.Cells[i];
            uint64_t& word = live_[static_cast<std::size_t>(x) * words_ + static_cast<std::size_t>(y / 64)];
            const uint64_t bit = uint64_t{1} << (y % 64);
            if (!now.live()) {
                word &= ~bit;
                continue;
            }
            const auto& slot = slots_[i];
            // Cells of unknown origin (slot 0) are taken as edited too.
            const bool known = (word & bit) != 0 && slot[0] != 0 && slot[1] != 0 && slot[2] != 0 &&
                               records_[slot[0]].colour.Red == now.Red &&
                               records_[slot[1]].colour.Green == now.Green && records_[slot[2]].colour.Blue == now.Blue;
            if (known) continue;
            const uint32_t s = addFounder(kind, i, now, generation_);
            records_[s].group = {group, group, group};
            slots_[i] = {s, s, s};
            word |= bit;
            ++made;
        }
    if (records_.size() >= tallyAt_) tally();
    return made;
}

void Lineage::step(Stepper& stepper, Board& board, RandomSequence& random) {
    if (!on_) return stepper.ReCalc(board, random);
    if (!Steppable(board)) return;
    if (board.side() != side_) sync(board);
    ++clock_;
    generation_ = board.Generation < std::numeric_limits<int32_t>::max() ? board.Generation + 1 : board.Generation;
    detail::LineageTrack track{slots_.data(), live_.data(), this, &board};
    stepper.ReCalcTracked(board, random, track);
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

void Lineage::mutated(std::size_t cell, const CellRecord& colour) {
    const std::array<uint32_t, kChannels> inherited = slots_[cell];
    const uint32_t slot = addFounder(FounderKind::Mutation, cell, colour, generation_);
    Founder& f = records_[slot];
    for (int c = 0; c < kChannels; ++c) {
        f.ancestor[c] = f.keptAncestor[c] = records_[inherited[c]].id;
        f.group[c] = records_[inherited[c]].group[c];
    }
    slots_[cell] = {slot, slot, slot};
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
    for (int32_t x = 0; x < side_; ++x)
        for (int32_t k = 0; k < words_; ++k)
            for (uint64_t bits = live_[static_cast<std::size_t>(x) * words_ + k]; bits != 0; bits &= bits - 1) {
                const std::size_t i = static_cast<std::size_t>(x) * side_ + 64 * k + std::countr_zero(bits);
                for (int c = 0; c < kChannels; ++c) ++records_[slots_[i][c]].live[c];
            }
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
        // Dead cells go back to slot 0, so that every slot stays a record.
        for (int32_t x = 0; x < side_; ++x)
            for (int32_t y = 0; y < side_; ++y) {
                auto& slot = slots_[static_cast<std::size_t>(x) * side_ + y];
                slot = liveAt(x, y) ? std::array<uint32_t, kChannels>{renumbered[slot[0]], renumbered[slot[1]],
                                                                       renumbered[slot[2]]}
                                    : std::array<uint32_t, kChannels>{};
            }
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
    const std::size_t i = static_cast<std::size_t>(x) * static_cast<std::size_t>(side_) + static_cast<std::size_t>(y);
    return records_[slots_[i][static_cast<std::size_t>(channel)]].id;
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
    return sizeof(*this) + slots_.capacity() * sizeof(slots_[0]) + live_.capacity() * sizeof(uint64_t) +
           records_.capacity() * sizeof(Founder) + folded_.capacity() * sizeof(FoldedChannel);
}

bool operator==(const Lineage& a, const Lineage& b) {
    if (a.on_ != b.on_ || a.side_ != b.side_ || a.clock_ != b.clock_ || a.generation_ != b.generation_ ||
        a.nextId_ != b.nextId_ || a.live_ != b.live_ || a.records_ != b.records_ ||
        a.extinctCounts_ != b.extinctCounts_ || a.keepFolded_ != b.keepFolded_ || a.folded_ != b.folded_)
        return false;
    // Dead cells' slots mean nothing.
    for (int32_t x = 0; x < a.side_; ++x)
        for (int32_t y = 0; y < a.side_; ++y) {
            const std::size_t i = static_cast<std::size_t>(x) * a.side_ + y;
            if (a.liveAt(x, y) && a.slots_[i] != b.slots_[i]) return false;
        }
    return true;
}

}  // namespace engine
