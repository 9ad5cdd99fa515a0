// SPDX-License-Identifier: MIT
#include "app/run_recorder.h"

#include <algorithm>
#include <utility>

namespace app {

namespace {
// Time saved up while nothing runs is spent on at most this much measuring
// in a row, so that a run starting after a pause is not slowed at first.
constexpr std::chrono::milliseconds kMostCredit{20};
constexpr std::chrono::milliseconds kMostDebt{2};
}  // namespace

void RunRecorder::restart(const engine::Board& board) {
    series_.clear();
    rows_.clear();
    rowAt_.clear();
    stride_ = 1;
    at_ = 0;
    credit_ = {};
    last_ = clock_();
    measure(board, false);
}

void RunRecorder::generation(const engine::Board& board, bool always) {
    ++at_;
    const auto now = clock_();
    credit_ = std::min<std::chrono::steady_clock::duration>(
        credit_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>((now - last_) * kShareOfTime),
        kMostCredit);
    // A generation a millisecond or more after the one before belongs to a
    // run paced at up to a thousand generations a second, which waits
    // between generations anyway: it is always measured.
    const bool paced = now - last_ >= std::chrono::milliseconds(1);
    last_ = now;
    if (credit_.count() < 0 && !always && !paced) {
        measuredLast_ = false;
        return;
    }
    measure(board, measuredLast_);
    // A measurement the system interrupted (another program ran meanwhile)
    // costs no more than this, so that it does not leave a long gap.
    credit_ = std::max<std::chrono::steady_clock::duration>(credit_ - (clock_() - now), -kMostDebt);
}

void RunRecorder::stopped(const engine::Board& board) {
    if (measuredLast_) return;
    // Kept as a row whatever the stride: a later thinning drops it like any other.
    const int64_t stride = std::exchange(stride_, 1);
    measure(board, false);
    stride_ = stride;
}

void RunRecorder::measure(const engine::Board& board, bool follows) {
    analysis::GenerationStats row = meter_.measure(board, follows);
    if (!follows && at_ > 0) row.births = row.deaths = -1;  // the generation before was not seen
    measuredLast_ = true;
    series_.add(row.sample(), at_);
    if (at_ % stride_ != 0) return;
    if (rows_.size() == kMaxRows) {
        stride_ *= 2;
        std::size_t kept = 0;
        for (std::size_t i = 0; i < rows_.size(); ++i)
            if (rowAt_[i] % stride_ == 0) {
                rows_[kept] = rows_[i];
                rowAt_[kept++] = rowAt_[i];
            }
        rows_.resize(kept);
        rowAt_.resize(kept);
        if (at_ % stride_ != 0) return;
    }
    rows_.push_back(row);
    rowAt_.push_back(at_);
}

}  // namespace app
