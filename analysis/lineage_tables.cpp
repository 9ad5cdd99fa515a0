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

uint64_t LineageRecorder::parentOf(const engine::Founder& f, int channel) const {
    const engine::FounderId ancestor = f.ancestor[static_cast<std::size_t>(channel)];
    if (ancestor == engine::kNoFounder) return 0;
    const uint64_t parent = TaxonId(ancestor, channel);
    // A lineage followed from some way into its run may name an ancestor
    // folded before the tables began: the taxon hangs from the root rather
    // than from a parent the tables do not hold.
    if (ancestor >= firstNew_ || std::binary_search(known_.begin(), known_.end(), parent)) return parent;
    return 0;
}

LineageRecorder::LineageRecorder(int channel, uint64_t every)
    : channel_(channel), every_(std::max<uint64_t>(every, 1)) {}

void LineageRecorder::record(engine::Lineage& lineage) {
    lineage.keepFolded(true);
    lineage.tally();
    for (engine::FoldedChannel& f : lineage.takeFolded()) folded_.push_back(std::move(f));
    if (!started_) {
        // What the tables know from the start: the founders numbered later,
        // and these.
        started_ = true;
        firstNew_ = lineage.foundersMade() + 1;
        for (const Taxon& t : everyTaxon(folded_, lineage, -1)) known_.push_back(t.id());
    }
    if (lineage.clock() % every_ != 0 || lineage.clock() == lastClock_) return;
    lastClock_ = lineage.clock();
    std::size_t bytes = 0;
    for (int c = 0; c < engine::kChannels; ++c) {
        if (channel_ >= 0 && c != channel_) continue;
        Rows& rows = rows_[static_cast<std::size_t>(c)];
        rows.starts.emplace_back(lastClock_, rows.text.size());
        appendRows(lineage, c, false, rows.text);
        bytes += rows.text.size();
    }
    if (bytes > mostBytes_) thin();
}

void LineageRecorder::thin() {
    every_ *= 2;
    for (Rows& rows : rows_) {
        Rows kept;
        for (std::size_t i = 0; i < rows.starts.size(); ++i) {
            const auto [clock, start] = rows.starts[i];
            // The last generation recorded stays, as mullerCsv replaces it.
            if (clock % every_ != 0 && clock != lastClock_) continue;
            const std::size_t end = i + 1 < rows.starts.size() ? rows.starts[i + 1].second : rows.text.size();
            kept.starts.emplace_back(clock, kept.text.size());
            kept.text.append(rows.text, start, end - start);
        }
        rows = std::move(kept);
    }
}

void LineageRecorder::appendRows(const engine::Lineage& lineage, int channel, bool everyTaxon,
                                 std::string& out) const {
    const uint64_t generation = lineage.clock();
    out += "0,," + std::to_string(generation) + ',' + std::to_string(lineage.unknownCells(channel)) + '\n';
    if (everyTaxon) {
        for (const Taxon& t : analysis::everyTaxon(folded_, lineage, channel))
            out += row(t.id(), parentOf(*t.founder, t.channel), generation,
                       t.founder->folded[t.channel] ? 0 : t.founder->live[t.channel]);
        return;
    }
    for (const engine::Founder& f : lineage.founders()) {
        const Taxon t{&f, channel};
        if (f.live[channel] > 0) out += row(t.id(), parentOf(f, channel), generation, f.live[channel]);
    }
}

std::string LineageRecorder::mullerCsv(const engine::Lineage& lineage, int channel) const {
    std::string out = "Identity,Parent,Generation,Population\n";
    const Rows& rows = rows_[static_cast<std::size_t>(channel)];
    // The last generation is written in full, in place of its sampled rows;
    // a generation sampled but no longer kept (thinned away) is not written.
    std::size_t end = rows.text.size();
    if (!rows.starts.empty() && rows.starts.back().first == lineage.clock() && lastClock_ == lineage.clock())
        end = rows.starts.back().second;
    for (std::size_t i = 0; i < rows.starts.size(); ++i) {
        const std::size_t start = rows.starts[i].second;
        if (start >= end) break;
        const std::size_t next = i + 1 < rows.starts.size() ? rows.starts[i + 1].second : rows.text.size();
        if (rows.starts[i].first % every_ == 0) out.append(rows.text, start, std::min(next, end) - start);
    }
    appendRows(lineage, channel, true, out);
    return out;
}

std::string LineageRecorder::phylogenyCsv(const engine::Lineage& lineage) const {
    std::string out = "id,ancestor_list,origin_time,destruction_time,channel,value,kind,founder,generation,x,y\n";
    for (const Taxon& t : everyTaxon(folded_, lineage, -1)) {
        const engine::Founder& f = *t.founder;
        const uint64_t extinct = f.extinct[t.channel];
        const uint64_t parent = parentOf(f, t.channel);
        out += std::to_string(t.id()) + ',' + (parent == 0 ? "[NONE]" : '[' + std::to_string(parent) + ']') +
               ',' + std::to_string(f.origin) + ',' +
               (extinct == engine::kStillLiving ? std::string("inf") : std::to_string(extinct)) + ',' +
               engine::ChannelName(t.channel) + ',' + std::to_string(f.value(t.channel)) + ',' +
               engine::FounderKindName(f.kind) + ',' + std::to_string(f.id) + ',' + std::to_string(f.generation) +
               ',' + std::to_string(f.x) + ',' + std::to_string(f.y) + '\n';
    }
    return out;
}

}  // namespace analysis
