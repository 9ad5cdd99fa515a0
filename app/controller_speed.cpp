// SPDX-License-Identifier: MIT
// The speed ladder: the 速度 submenu and the keys one rung faster or slower.

#include <algorithm>

#include "app/window_controller.h"

namespace app {

void WindowController::SetSpeed(int rate) {
    session_.pacer.setRate(rate, services_.window.clock());
    if (services_.settings) services_.settings->writeInt(platform::setting::kSpeed, session_.pacer.rate());
    ReportSettingsFailure();
    // A run waiting for its next generation waits for the new deadline instead.
    if (session_.running()) {
        ++runSerial_;
        scheduleSlice();
    }
    ShowSpeed();
}

void WindowController::changeSpeed(int rungs) {
    const int last = static_cast<int>(kSpeedRungs.size()) - 1;
    const int rung = std::clamp(static_cast<int>(*SpeedRungOf(session_.pacer.rate())) + rungs, 0, last);
    SetSpeed(kSpeedRungs[static_cast<std::size_t>(rung)]);
    NoticeSpeed();
}

}  // namespace app
