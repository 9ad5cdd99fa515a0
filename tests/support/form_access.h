// SPDX-License-Identifier: MIT
#pragma once

// Form1's state as the tests and benchmarks reach it; the program itself
// goes through the handlers only.

#include <string>

#include "app/form1.h"

struct app::Form1::TestAccess {
    static engine::Board& board(Form1& f) { return f.board; }
    static Selection& selection(Form1& f) { return f.selection; }
    static RunState& run(Form1& f) { return f.run; }
    static std::string& FileName(Form1& f) { return f.FileName; }
    static engine::RandomSequence& random(Form1& f) { return f.random; }
    static engine::Stepper& stepper(Form1& f) { return f.stepper; }
    static const platform::PixelImage& picBuffer(const Form1& f) { return f.picBuffer; }
    static const analysis::GraphSeries* graphSeries(const Form1& f) { return &f.recorder_.series(); }
};
