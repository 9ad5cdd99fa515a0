// SPDX-License-Identifier: MIT
#include "app/run_recorder.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace app {

namespace {
// Time saved up while nothing runs is spent on at most this much measuring
// in a row, so that a run starting after a pause is not slowed at first.
constexpr std::chrono::milliseconds kMostCredit{20};
constexpr std::chrono::milliseconds kMostDebt{2};
// The lineage's figures of the board just measured (tallied by the tables'
// record): the survivors per channel and the largest founders' shares of the
// live cells, largest first, ties by founder number.
void addFounders(const engine::Lineage& lineage, int32_t population, analysis::Sample& sample,
                 std::array<int32_t, engine::kChannels>& survivors) {
    for (int c = 0; c < engine::kChannels; ++c) {
        survivors[c] = lineage.survivors(c);
        sample.values[analysis::SurvivorsRed + c] = survivors[c];
        analysis::TopFounders& top = sample.founders[c];
        top = {};
        if (population <= 0) continue;
        const auto before = [](const analysis::FounderShare& a, const analysis::FounderShare& b) {
            return a.share != b.share ? a.share > b.share : a.founder < b.founder;
        };
        for (const engine::Founder& f : lineage.founders()) {
            if (f.folded[c] || f.live[c] == 0) continue;
            const analysis::FounderShare share{f.id, static_cast<float>(static_cast<double>(f.live[c]) / population)};
            if (top.back().founder != 0 && !before(share, top.back())) continue;
            top.back() = share;
            for (std::size_t k = top.size() - 1; k > 0 && (top[k - 1].founder == 0 || before(top[k], top[k - 1])); --k)
                std::swap(top[k], top[k - 1]);
        }
    }
}

}  // namespace

void RunRecorder::restart(const engine::Board& board) {
    series_.clear();
    rows_.clear();
    extra_.clear();
    restartTables();
    stride_ = 1;
    at_ = 0;
    credit_ = {};
    lastCost_ = {};
    last_ = clock_();
    measure(board, false);
}

void RunRecorder::follow(engine::Lineage* lineage) {
    // A lineage no longer followed keeps nothing more for the tables: it may
    // stay on for the lineage view, and would gather what it folds for good.
    if (lineage_ && lineage_ != lineage) {
        lineage_->keepFolded(false);
        lineage_->takeFolded();
    }
    lineage_ = lineage;
    ended_.reset();
}

void RunRecorder::restartTables() {
    ended_.reset();
    tables_ = analysis::LineageRecorder(-1);
    tables_.limitRows(kMaxMullerBytes);
    if (!lineage_) return;
    tables_.record(*lineage_);
    seenClock_ = tablesClock_ = lineage_->clock();
}

void RunRecorder::recordTables() {
    if (!lineage_ || lineage_->clock() == tablesClock_) return;
    tablesClock_ = lineage_->clock();
    if (ended_) return lineage_->tally();  // the graph's founder figures want it tallied
    tables_.record(*lineage_);
    if (tables_.foldedTaxa() < mostTaxa_) return;
    ended_ = *lineage_;
    lineage_->keepFolded(false);
    lineage_->takeFolded();
}

void RunRecorder::generation(const engine::Board& board, bool always, bool fullSpeed) {
    ++at_;
    // A lineage that did not go just one generation on (put back a
    // generation, restarted with a replaced board) starts the tables afresh.
    if (lineage_ && lineage_->clock() != seenClock_ + 1) restartTables();
    if (lineage_) seenClock_ = lineage_->clock();
    const auto now = clock_();
    credit_ = std::min<std::chrono::steady_clock::duration>(
        credit_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>((now - last_) * kShareOfTime),
        kMostCredit);
    // A generation a millisecond or more after the one before belongs to a
    // run paced at up to a thousand generations a second, which waits
    // between generations anyway: it is always measured.
    const bool paced = !fullSpeed && now - last_ >= std::chrono::milliseconds(1);
    last_ = now;
    if (credit_.count() < 0 && !always && !paced) {
        measuredLast_ = false;
        return;
    }
    // The tables are tallied with every generation measured: with all of a
    // paced run's, so that a taxon's end is exact; within the time share at
    // full speed, where a taxon's end is the first measured generation
    // without it.
    recordTables();
    measure(board, measuredLast_);
    // A measurement the system interrupted (another program ran meanwhile)
    // costs no more than the one before, or kMostDebt, so that it does not
    // leave a long gap; measurements that all take long (a large board)
    // are paid in full, or the run would measure at every generation.
    const auto cost = clock_() - now;
    const auto mostDebt = std::max<std::chrono::steady_clock::duration>(kMostDebt, std::min(cost, lastCost_));
    lastCost_ = cost;
    credit_ = std::max<std::chrono::steady_clock::duration>(credit_ - cost, -mostDebt);
}

void RunRecorder::stopped(const engine::Board& board) {
    if (measuredLast_) return;
    // Kept as a row whatever the stride: a later thinning drops it like any other.
    const int64_t stride = std::exchange(stride_, 1);
    recordTables();
    measure(board, false);
    stride_ = stride;
}

void RunRecorder::measure(const engine::Board& board, bool follows) {
    analysis::GenerationStats row = meter_.measure(board, follows);
    if (!follows && at_ > 0) row.births = row.deaths = -1;  // the generation before was not seen
    measuredLast_ = true;
    analysis::Sample sample = row.sample();
    RowExtra extra{at_, {-1, -1, -1}};
    if (lineage_) addFounders(*lineage_, row.population, sample, extra.survivors);
    series_.add(sample, at_);
    if (at_ % stride_ != 0) return;
    if (rows_.size() == kMaxRows) {
        stride_ *= 2;
        std::size_t kept = 0;
        for (std::size_t i = 0; i < rows_.size(); ++i)
            if (extra_[i].at % stride_ == 0) {
                rows_[kept] = rows_[i];
                extra_[kept++] = extra_[i];
            }
        rows_.resize(kept);
        extra_.resize(kept);
        if (at_ % stride_ != 0) return;
    }
    rows_.push_back(row);
    extra_.push_back(extra);
}

std::string RunRecorder::csv() const {
    const std::string base = analysis::StatisticsCsv(rows_, true);
    std::string out;
    out.reserve(base.size() + rows_.size() * 40);
    std::size_t start = 0;
    for (std::size_t line = 0; start < base.size(); ++line) {
        const std::size_t end = base.find('\n', start);
        out.append(base, start, end - start);
        if (line == 0) {
            out += ",generations_since_start,shannon,simpson,survivors_red,survivors_green,survivors_blue";
        } else {
            const analysis::GenerationStats& r = rows_[line - 1];
            const RowExtra& e = extra_[line - 1];
            char diversity[64];
            std::snprintf(diversity, sizeof diversity, ",%.4f,%.4f", r.shannon, r.simpson);
            out += ',' + std::to_string(e.at) + diversity;
            for (const int32_t n : e.survivors) out += n < 0 ? std::string(",") : ',' + std::to_string(n);
        }
        out += '\n';
        start = end + 1;
    }
    return out;
}

std::string RunRecorder::phylogenyCsv() const {
    if (!lineage_) return {};
    return tables_.phylogenyCsv(ended_ ? *ended_ : *lineage_);
}

std::string RunRecorder::mullerCsv(int channel) const {
    if (!lineage_) return {};
    return tables_.mullerCsv(ended_ ? *ended_ : *lineage_, channel);
}

}  // namespace app
