// SPDX-License-Identifier: MIT
#pragma once

// The speed ladder and the timing of a continuous run at one of its rungs.
// Generation k after the anchor is due at anchor + k x period, so waits that
// end a little late do not add up: the next deadline stays where it was.
// The pacer only computes; the caller passes the clock's time in and does
// the waiting, so the timing can be checked against a made-up clock.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>

namespace app {

// Generations a second of each rung, slowest first; 0 is no limit (the
// fastest rung, and the one at first start).
inline constexpr std::array<int, 11> kSpeedRungs{1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 0};
inline constexpr int kUnlimitedRate = 0;

// The rung of a rate, or nothing for a rate that is not on the ladder.
std::optional<std::size_t> SpeedRungOf(int rate);

class GenerationPacer {
public:
    using Nanos = std::chrono::nanoseconds;

    // Further behind its deadline than this, a run starts counting afresh
    // instead of racing to catch up (a stalled machine, a modal dialog).
    static constexpr Nanos kMaxLag = std::chrono::milliseconds(100);

    int rate() const { return rate_; }

    // A new rate; the next generation is due one new period after the last
    // one started (at once if that is past).
    void setRate(int perSecond, Nanos now);

    // A run begins: its first generation is due at once.
    void restart() { anchored_ = false; }

    // A generation starts at `now`.
    void generationStarted(Nanos now);

    // How long to wait from `now` until the next generation is due; zero when
    // it is due, and always zero without a limit.
    Nanos waitBeforeNext(Nanos now) const;

private:
    Nanos period() const { return Nanos(1'000'000'000 / rate_); }
    Nanos due(int64_t k) const { return anchor_ + k * period(); }

    int rate_ = kUnlimitedRate;
    bool anchored_ = false;
    Nanos anchor_{0};     // when generation 0 of the count was due
    int64_t count_ = 0;   // the number of the last generation started (0 at the anchor)
    Nanos lastStart_{0};  // when the last generation started
};

}  // namespace app
