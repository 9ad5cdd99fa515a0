// SPDX-License-Identifier: MIT
#pragma once

// The controller's state as the tests and benchmarks reach it; the program
// itself goes through its commands only.

#include <string>

#include "app/window_controller.h"

struct app::WindowController::TestAccess {
    static engine::Board& board(WindowController& c) { return c.session_.board; }
    static Selection& selection(WindowController& c) { return c.session_.selection; }
    static RunState& run(WindowController& c) { return c.session_.run; }
    static std::string& FileName(WindowController& c) { return c.session_.FileName; }
    static engine::RandomSequence& random(WindowController& c) { return c.session_.random; }
    static engine::Stepper& stepper(WindowController& c) { return c.session_.stepper; }
    static Session& session(WindowController& c) { return c.session_; }
    static const platform::PixelImage& picBuffer(const WindowController& c) { return c.picBuffer; }
    static const analysis::GraphSeries* graphSeries(const WindowController& c) { return &c.recorder_.series(); }
};
