// SPDX-License-Identifier: MIT
#pragma once

// What the graph window shows of a run: the statistics of every generation
// since it was opened or the board was replaced, as a bounded series for the
// drawing and as rows for the CSV export.
//
// Measuring costs a pass over the board. So that a run at full speed keeps
// nearly all of its rate, the recorder spends at most a twentieth of the
// time that passes on it: each generation earns it time, each measurement spends
// what it took, and a generation that finds nothing left to spend is left out
// of the record (a gap in the graph; the next measured generation has no
// births and deaths, as the one before it was not seen). A generation that
// comes a millisecond or more after the one before (a run of at most a
// thousand generations a second, or a single step) is always measured.
//
// While it follows a lineage (follow()), every measured generation is also
// tallied for the phylogeny and Muller tables (analysis::LineageRecorder, all
// three channels) and records the surviving founders per channel and the
// largest founders' shares. A paced run and single steps are measured in
// full, so their tables are those of kaleidomat-cli lineage; at full speed
// the tables sample the run as the graph does.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "analysis/graph_series.h"
#include "analysis/lineage_tables.h"
#include "analysis/statistics.h"
#include "engine/board.h"
#include "engine/lineage.h"

namespace app {

class RunRecorder {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // The rows the CSV keeps: beyond this, every second row is dropped and
    // from then on only every second generation kept, and so on.
    static constexpr std::size_t kMaxRows = std::size_t{1} << 17;
    static constexpr double kShareOfTime = 0.05;

    // The Muller rows kept for the lineage export, about; beyond it they are
    // sampled ever more sparsely (analysis::LineageRecorder::limitRows).
    static constexpr std::size_t kMaxMullerBytes = std::size_t{48} << 20;

    // The phylogeny keeps every taxon since the restart. Past about this many
    // folded ones (some 160 bytes each) the tables end at the generation
    // reached, so that a long run with the graph open keeps bounded memory;
    // the graph itself goes on.
    static constexpr std::size_t kMaxFoldedTaxa = 200'000;
    void limitTaxa(std::size_t taxa) { mostTaxa_ = taxa; }
    // The tables ended at the bound above (until the next restart).
    bool tablesEnded() const { return ended_.has_value(); }

    explicit RunRecorder(Clock clock = std::chrono::steady_clock::now) : clock_(std::move(clock)) {}

    // The lineage that goes with the board from the next restart() on
    // (nullptr: none). It must live as long as it is followed, be on, and
    // be stepped with the board.
    void follow(engine::Lineage* lineage);
    bool following() const { return lineage_ != nullptr; }

    // Starts a new record whose first row is the board as it is now.
    void restart(const engine::Board& board);
    // The board has gone one generation on. `always`: measure it whatever
    // the time spent (a single step, which a person asked for). `fullSpeed`:
    // a run at 最高速, measured within its share of the time however long
    // its generations take (on a large board each takes more than the
    // millisecond that otherwise tells a paced run).
    void generation(const engine::Board& board, bool always = false, bool fullSpeed = false);
    // The run has stopped on `board`: when its last generation was left out,
    // it is measured now, so that the record ends at the board shown.
    void stopped(const engine::Board& board);

    const analysis::GraphSeries& series() const { return series_; }
    const std::vector<analysis::GenerationStats>& rows() const { return rows_; }

    // The rows as CSV: analysis::StatisticsCsv's columns with the families,
    // then "generations_since_start" (which, unlike the board's counter,
    // auto-stimulation does not restart), "shannon", "simpson" and
    // "survivors_red", "survivors_green", "survivors_blue" (empty while no
    // lineage is followed).
    std::string csv() const;

    // The lineage's tables since the last restart (empty strings while no
    // lineage is followed): the phylogeny and the Muller table of `channel`.
    std::string phylogenyCsv() const;
    std::string mullerCsv(int channel) const;

private:
    struct RowExtra {
        int64_t at = 0;  // generations since the start
        std::array<int32_t, engine::kChannels> survivors{-1, -1, -1};  // -1: no lineage
    };
    void measure(const engine::Board& board, bool follows);
    void restartTables();
    void recordTables();  // the lineage's generation into the tables, once

    Clock clock_;
    analysis::Meter meter_;
    analysis::GraphSeries series_;
    std::vector<analysis::GenerationStats> rows_;
    std::vector<RowExtra> extra_;  // beside each row
    engine::Lineage* lineage_ = nullptr;
    analysis::LineageRecorder tables_{-1};
    std::size_t mostTaxa_ = kMaxFoldedTaxa;
    std::optional<engine::Lineage> ended_;  // the lineage as the tables ended with it
    uint64_t tablesClock_ = 0;  // the lineage's clock at the tables' last record
    uint64_t seenClock_ = 0;    // the lineage's clock at the last generation
    int64_t stride_ = 1;
    int64_t at_ = 0;              // generations since the start
    bool measuredLast_ = false;   // the generation before was measured
    std::chrono::steady_clock::duration credit_{};
    std::chrono::steady_clock::duration lastCost_{};  // of the last measurement
    std::chrono::steady_clock::time_point last_{};
};

}  // namespace app
