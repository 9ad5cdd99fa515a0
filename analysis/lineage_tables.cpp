// SPDX-License-Identifier: MIT
#include "analysis/lineage_tables.h"

#include <algorithm>

namespace analysis {

namespace {

// One channel of a founder as the tables show it.
struct Taxon {
    const engine::Founder* founder;
    int channel;
    uint64_t id() const { return TaxonId(founder->id, channel); }
    // The parent taxon, 0 (none) for founders that are no mutation.
    uint64_t parent() const {
        const engine::FounderId ancestor = founder->ancestor[channel];
        return ancestor == engine::kNoFounder ? 0 : TaxonId(ancestor, channel);
    }
};

// Every taxon that ever lived, by id: the folded ones and the channels of the
// kept founders that are not folded; only those of `channel` unless it is -1.
std::vector<Taxon> everyTaxon(const std::vector<engine::FoldedChannel>& folded, const engine::Lineage& lineage,
                              int channel) {
    std::vector<Taxon> taxa;
    for (const engine::FoldedChannel& f : folded)
        if (channel < 0 || f.channel == channel) taxa.push_back({&f.founder, f.channel});
    for (const engine::Founder& f : lineage.founders())
        for (int c = 0; c < engine::kChannels; ++c)
            if ((channel < 0 || c == channel) && !f.folded[c]) taxa.push_back({&f, c});
    std::sort(taxa.begin(), taxa.end(), [](const Taxon& a, const Taxon& b) { return a.id() < b.id(); });
    return taxa;
}

std::string row(uint64_t identity, uint64_t parent, uint64_t generation, int64_t population) {
    return std::to_string(identity) + ',' + std::to_string(parent) + ',' + std::to_string(generation) + ',' +
           std::to_string(population) + '\n';
}

}  // namespace

LineageRecorder::LineageRecorder(int channel, uint64_t every)
    : channel_(channel), every_(std::max<uint64_t>(every, 1)) {}

void LineageRecorder::record(engine::Lineage& lineage) {
    lineage.keepFolded(true);
    lineage.tally();
    for (engine::FoldedChannel& f : lineage.takeFolded()) folded_.push_back(std::move(f));
    if (lineage.clock() % every_ != 0 || lineage.clock() == lastClock_) return;
    lastStart_ = rows_.size();
    lastClock_ = lineage.clock();
    appendRows(lineage, false, rows_);
}

void LineageRecorder::appendRows(const engine::Lineage& lineage, bool everyTaxon, std::string& out) const {
    const uint64_t generation = lineage.clock();
    out += "0,," + std::to_string(generation) + ',' + std::to_string(lineage.unknownCells(channel_)) + '\n';
    if (everyTaxon) {
        for (const Taxon& t : analysis::everyTaxon(folded_, lineage, channel_))
            out += row(t.id(), t.parent(), generation, t.founder->folded[t.channel] ? 0 : t.founder->live[t.channel]);
        return;
    }
    for (const engine::Founder& f : lineage.founders()) {
        const Taxon t{&f, channel_};
        if (f.live[channel_] > 0) out += row(t.id(), t.parent(), generation, f.live[channel_]);
    }
}

std::string LineageRecorder::mullerCsv(const engine::Lineage& lineage) const {
    std::string out = "Identity,Parent,Generation,Population\n";
    // The last generation is written in full, in place of its sampled rows.
    out.append(rows_, 0, lastClock_ == lineage.clock() ? lastStart_ : rows_.size());
    appendRows(lineage, true, out);
    return out;
}

std::string LineageRecorder::phylogenyCsv(const engine::Lineage& lineage) const {
    std::string out = "id,ancestor_list,origin_time,destruction_time,channel,value,kind,founder,generation,x,y\n";
    for (const Taxon& t : everyTaxon(folded_, lineage, -1)) {
        const engine::Founder& f = *t.founder;
        const uint64_t extinct = f.extinct[t.channel];
        out += std::to_string(t.id()) + ',' + (t.parent() == 0 ? "[NONE]" : '[' + std::to_string(t.parent()) + ']') +
               ',' + std::to_string(f.origin) + ',' +
               (extinct == engine::kStillLiving ? std::string("inf") : std::to_string(extinct)) + ',' +
               engine::ChannelName(t.channel) + ',' + std::to_string(f.value(t.channel)) + ',' +
               engine::FounderKindName(f.kind) + ',' + std::to_string(f.id) + ',' + std::to_string(f.generation) +
               ',' + std::to_string(f.x) + ',' + std::to_string(f.y) + '\n';
    }
    return out;
}

}  // namespace analysis
