// SPDX-License-Identifier: MIT
#pragma once

// A run's lineage as two tables, for the tools of artificial life and
// population genetics: the phylogeny in the ALife phylogeny data standard and
// a Muller table that R's ggmuller reads as it is (get_edges() and
// get_population_df() of the whole table, then get_Muller_df()). The window's
// export and kaleidomat-cli lineage write them with this code, so one seeded
// run gives the same files in both.
//
// Every channel of every founder is one taxon, numbered 3 × founder +
// channel (0 red, 1 green, 2 blue); a mutation's ancestor in a channel is
// the taxon it would have inherited there. Times are the lineage's clock:
// generations since lineage started. A recorder that begins on a lineage some
// way into its run hangs a taxon whose ancestor was folded before it began
// from the root, so that every parent the tables name is in them.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/lineage.h"

namespace analysis {

// The taxon of a founder's channel.
constexpr uint64_t TaxonId(engine::FounderId founder, int channel) {
    return 3 * founder + static_cast<uint64_t>(channel);
}

class LineageRecorder {
public:
    // The Muller table is of `channel` (-1: one for each channel) and has
    // rows every `every` generations (counted on the lineage's clock) and for
    // the last generation.
    explicit LineageRecorder(int channel = 0, uint64_t every = 1);

    // Keeps the Muller rows within about `bytes`: when they grow beyond it,
    // `every` doubles and the rows of the generations it no longer samples
    // are dropped, so that the tables are those of a recorder made with the
    // larger `every`. No bound by default.
    void limitRows(std::size_t bytes) { mostBytes_ = bytes; }
    uint64_t every() const { return every_; }
    // The taxa folded so far, which the phylogeny keeps to its end.
    std::size_t foldedTaxa() const { return folded_.size(); }

    // After lineage.start() and after every generation: tallies the lineage
    // (which from then on keeps what it folds for the recorder), takes over
    // the taxa it folded, and adds this generation's Muller rows when it is
    // one of the sampled ones.
    void record(engine::Lineage& lineage);

    // "id,ancestor_list,origin_time,destruction_time,channel,value,kind,
    // founder,generation,x,y", one row per taxon that ever lived, by id.
    // ancestor_list is "[NONE]" or "[id]"; destruction_time is the first
    // generation without a live cell of the taxon, "inf" while it has one.
    // `lineage` is the one recorded, as of its last record().
    std::string phylogenyCsv(const engine::Lineage& lineage) const;

    // "Identity,Parent,Generation,Population": per sampled generation the
    // live cells of every taxon of the channel that has any, and for the last
    // generation every taxon that ever lived (0 for the extinct), so that the
    // whole tree is there. Founders of no parent hang from Identity 0, the
    // root (Parent empty), whose Population counts live cells of unknown
    // origin (see engine::Lineage::sync); each generation's Populations add up
    // to the board's live cells.
    std::string mullerCsv(const engine::Lineage& lineage) const { return mullerCsv(lineage, channel_); }
    // The table of `channel`, which the recorder must record (see above).
    std::string mullerCsv(const engine::Lineage& lineage, int channel) const;

private:
    void appendRows(const engine::Lineage& lineage, int channel, bool everyTaxon, std::string& out) const;
    void thin();
    uint64_t parentOf(const engine::Founder& f, int channel) const;  // 0: the root

    int channel_;
    uint64_t every_;
    std::size_t mostBytes_ = SIZE_MAX;
    std::vector<engine::FoldedChannel> folded_;  // every taxon folded so far
    bool started_ = false;
    engine::FounderId firstNew_ = 1;  // founders from this number on came after the first record
    std::vector<uint64_t> known_;     // the taxa of the first record, ascending
    // Per channel recorded, the Muller rows so far and where each sampled
    // generation's rows begin.
    struct Rows {
        std::string text;
        std::vector<std::pair<uint64_t, std::size_t>> starts;  // (clock, offset)
    };
    std::array<Rows, engine::kChannels> rows_;
    uint64_t lastClock_ = UINT64_MAX;
};

}  // namespace analysis
