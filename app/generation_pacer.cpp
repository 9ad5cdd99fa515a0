// SPDX-License-Identifier: MIT
#include "app/generation_pacer.h"

#include <algorithm>

namespace app {

std::optional<std::size_t> SpeedRungOf(int rate) {
    const auto* it = std::find(kSpeedRungs.begin(), kSpeedRungs.end(), rate);
    if (it == kSpeedRungs.end()) return std::nullopt;
    return static_cast<std::size_t>(it - kSpeedRungs.begin());
}

void GenerationPacer::setRate(int perSecond, Nanos now) {
    rate_ = SpeedRungOf(perSecond) ? perSecond : kUnlimitedRate;
    if (!anchored_) return;
    // Counted from the last generation at the new period.
    anchor_ = lastStart_;
    count_ = 0;
    // A slow rung's deadline may lie long past after a change to a fast one:
    // start afresh from now rather than race.
    if (rate_ != kUnlimitedRate && now - due(1) > kMaxLag) {
        anchor_ = now - period();
    }
}

void GenerationPacer::generationStarted(Nanos now) {
    lastStart_ = now;
    if (!anchored_ || rate_ == kUnlimitedRate) {
        anchored_ = true;
        anchor_ = now;
        count_ = 0;
        return;
    }
    ++count_;
    if (now - due(count_) > kMaxLag) {
        anchor_ = now;
        count_ = 0;
    }
}

GenerationPacer::Nanos GenerationPacer::waitBeforeNext(Nanos now) const {
    if (rate_ == kUnlimitedRate || !anchored_) return Nanos(0);
    return std::max(Nanos(0), due(count_ + 1) - now);
}

}  // namespace app
