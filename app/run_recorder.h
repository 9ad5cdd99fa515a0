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

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "analysis/graph_series.h"
#include "analysis/statistics.h"
#include "engine/board.h"

namespace app {

class RunRecorder {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // The rows the CSV keeps: beyond this, every second row is dropped and
    // from then on only every second generation kept, and so on.
    static constexpr std::size_t kMaxRows = std::size_t{1} << 17;
    static constexpr double kShareOfTime = 0.05;

    explicit RunRecorder(Clock clock = std::chrono::steady_clock::now) : clock_(std::move(clock)) {}

    // Starts a new record whose first row is the board as it is now.
    void restart(const engine::Board& board);
    // The board has gone one generation on. `always`: measure it whatever
    // the time spent (a single step, which a person asked for).
    void generation(const engine::Board& board, bool always = false);
    // The run has stopped on `board`: when its last generation was left out,
    // it is measured now, so that the record ends at the board shown.
    void stopped(const engine::Board& board);

    const analysis::GraphSeries& series() const { return series_; }
    const std::vector<analysis::GenerationStats>& rows() const { return rows_; }

private:
    void measure(const engine::Board& board, bool follows);

    Clock clock_;
    analysis::Meter meter_;
    analysis::GraphSeries series_;
    std::vector<analysis::GenerationStats> rows_;
    std::vector<int64_t> rowAt_;  // the generation (since the start) of each row
    int64_t stride_ = 1;
    int64_t at_ = 0;              // generations since the start
    bool measuredLast_ = false;   // the generation before was measured
    std::chrono::steady_clock::duration credit_{};
    std::chrono::steady_clock::time_point last_{};
};

}  // namespace app
