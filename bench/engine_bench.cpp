// SPDX-License-Identifier: MIT
// The generation step of the engine against the literal four-pass step, and
// the drawing of a whole board.
//
// Steps are measured in two phases of a soup seeded at 20 % by Init: dense
// (generations 1 to 300, many births and deaths) and settled (from
// generation 1,300 on, mostly still lifes and oscillators). Both steps run
// the very same generations: at the end of its phase the board and the random
// sequence are restored with the timer paused, so every measured step of one
// benchmark has an identical twin in the other.
//
// Step/engine runs the kernels the program chooses for this processor;
// Step/engine-<set> each other set it can run (engine::KernelSet).
//
//   build/bin/kaleidomat-engine-bench
//   build/bin/kaleidomat-engine-bench --benchmark_filter=Step/engine/settled

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "display/board_renderer.h"
#include "display/viewport.h"
#include "engine/generation_step.h"
#include "engine/lineage.h"
#include "engine/rules.h"
#include "support/plain_step.h"

namespace {

constexpr uint64_t kSeed = 20240601;

struct Phase {
    int first, last;  // generations
};
constexpr Phase kDense{1, 300}, kSettled{1300, 20000};

engine::Board seededBoard(int32_t side) {
    engine::Board b;
    b.create(side - 1);
    engine::RandomSequence seeding(kSeed);
    engine::Init(b, seeding);
    return b;
}

// `step` is called as step(board, random).
template <typename Step>
void runSteps(benchmark::State& state, Phase phase, Step step) {
    const auto side = static_cast<int32_t>(state.range(0));
    // The board and the random sequence just before the phase's first generation.
    engine::Board start = seededBoard(side);
    engine::RandomSequence startRandom(kSeed);
    engine::Stepper stepper;
    for (int g = 1; g < phase.first; ++g) stepper.ReCalc(start, startRandom);
    engine::Board board = start;
    engine::RandomSequence random = startRandom;
    int generation = phase.first;
    for (auto _ : state) {
        if (generation > phase.last) {
            state.PauseTiming();
            board = start;
            random = startRandom;
            generation = phase.first;
            state.ResumeTiming();
        }
        step(board, random);
        benchmark::DoNotOptimize(board.Cells.data());
        benchmark::ClobberMemory();
        ++generation;
    }
    state.counters["cells"] = static_cast<double>(side) * side;
    state.counters["live_at_end"] = static_cast<double>(board.countLive());
    state.SetItemsProcessed(state.iterations() * side * side);
}

void engineSteps(benchmark::State& state, Phase phase, engine::KernelSet set, bool secondThread = false) {
    engine::Stepper stepper(set);
    stepper.useSecondThread(secondThread);
    runSteps(state, phase, [&](engine::Board& b, engine::RandomSequence& r) { stepper.ReCalc(b, r); });
}

// How much of the board turns over in a phase, averaged over its steps: live
// cells before a step, and the newborns and survivors after it. A lineage
// carries founders for every live cell, and works out new ones for every
// newborn, so these bound what it can cost beside the step. Counted after
// the timed steps, on a replay of the phase.
void countTurnover(benchmark::State& state, Phase phase) {
    engine::Board board = seededBoard(static_cast<int32_t>(state.range(0)));
    engine::RandomSequence random(kSeed);
    engine::Stepper stepper;
    for (int g = 1; g < phase.first; ++g) stepper.ReCalc(board, random);
    double live = 0, born = 0, survived = 0;
    std::vector<bool> wasLive(board.Cells.size());
    for (int g = phase.first; g <= phase.last; ++g) {
        for (std::size_t i = 0; i < board.Cells.size(); ++i) wasLive[i] = board.Cells[i].live();
        stepper.ReCalc(board, random);
        for (std::size_t i = 0; i < board.Cells.size(); ++i) {
            live += wasLive[i];
            born += !wasLive[i] && board.Cells[i].live();
            survived += wasLive[i] && board.Cells[i].live();
        }
    }
    const double steps = phase.last - phase.first + 1;
    state.counters["live_per_step"] = live / steps;
    state.counters["born_per_step"] = born / steps;
    state.counters["survived_per_step"] = survived / steps;
}

void plainSteps(benchmark::State& state, Phase phase) {
    std::vector<engine::CellRecord> Tally;
    runSteps(state, phase, [&](engine::Board& b, engine::RandomSequence& r) { plain::Step(b, Tally, r); });
}

// The same generations with lineage on: every newborn's founders carried, and
// the tallies the step makes to keep its records bounded. Lineage starts on
// the board at the phase's first generation.
void lineageSteps(benchmark::State& state, Phase phase, bool secondThread = false) {
    engine::Stepper stepper;
    stepper.useSecondThread(secondThread);
    engine::Lineage lineage;
    int generation = phase.first;  // as runSteps counts, which restores the board after the last
    runSteps(state, phase, [&](engine::Board& b, engine::RandomSequence& r) {
        if (generation > phase.last || !lineage.on()) {
            state.PauseTiming();
            lineage.start(b);
            generation = phase.first;
            state.ResumeTiming();
        }
        lineage.step(stepper, b, r);
        ++generation;
    });
    state.counters["founders"] = static_cast<double>(lineage.founders().size());
}

// A long run of a 64 x 64 board as the window runs it (auto-stimulation keeps
// it going) with lineage on: its memory and records at the end. 100,000
// generations, or as many as KALEIDOMAT_LINEAGE_GENERATIONS says (10^7 take a
// minute or so).
void BM_LineageLongRun(benchmark::State& state) {
    const char* env = std::getenv("KALEIDOMAT_LINEAGE_GENERATIONS");
    const long long generations = env ? std::atoll(env) : 100000;
    for (auto _ : state) {
        engine::Board board = seededBoard(64);
        engine::RandomSequence random(kSeed);
        engine::Stepper stepper;
        engine::Lineage lineage;
        lineage.start(board);
        std::size_t most = 0;
        for (long long g = 0; g < generations; ++g) {
            lineage.stepAndStimulate(stepper, board, random);
            most = std::max(most, lineage.memoryBytes());
        }
        lineage.tally();
        state.counters["generations"] = static_cast<double>(generations);
        state.counters["founders_made"] = static_cast<double>(lineage.foundersMade());
        state.counters["founders_kept"] = static_cast<double>(lineage.founders().size());
        state.counters["bytes_at_end"] = static_cast<double>(lineage.memoryBytes());
        state.counters["bytes_at_most"] = static_cast<double>(most);
        state.counters["live_at_end"] = board.countLive();
    }
}

void BM_EngineDense(benchmark::State& state) { engineSteps(state, kDense, engine::FastestKernelSet()); }
void BM_EngineSettled(benchmark::State& state) { engineSteps(state, kSettled, engine::FastestKernelSet()); }
// As the window steps: boards of 512 a side and more by two threads.
void BM_EngineTwoDense(benchmark::State& state) {
    engineSteps(state, kDense, engine::FastestKernelSet(), true);
    countTurnover(state, kDense);
}
void BM_EngineTwoSettled(benchmark::State& state) { engineSteps(state, kSettled, engine::FastestKernelSet(), true); }
void BM_PlainDense(benchmark::State& state) { plainSteps(state, kDense); }
void BM_LineageDense(benchmark::State& state) { lineageSteps(state, kDense); }
void BM_LineageSettled(benchmark::State& state) { lineageSteps(state, kSettled); }
void BM_LineageTwoDense(benchmark::State& state) { lineageSteps(state, kDense, true); }
void BM_PlainSettled(benchmark::State& state) { plainSteps(state, kSettled); }

BENCHMARK(BM_EngineDense)->Name("Step/engine/dense")->Arg(50)->Arg(200);
// The largest board through exactly its whole dense phase, as the smaller
// ones run through theirs many times over: left to choose, the library stops
// within the phase's first, busiest generations.
BENCHMARK(BM_EngineDense)->Name("Step/engine/dense")->Arg(2048)->Iterations(kDense.last - kDense.first + 1);
BENCHMARK(BM_EngineTwoDense)->Name("Step/engine-2threads/dense")->Arg(2048)->Iterations(kDense.last - kDense.first + 1);
BENCHMARK(BM_EngineTwoSettled)->Name("Step/engine-2threads/settled")->Arg(2048);
BENCHMARK(BM_PlainDense)->Name("Step/plain/dense")->Arg(50)->Arg(200);
BENCHMARK(BM_EngineSettled)->Name("Step/engine/settled")->Arg(50)->Arg(200)->Arg(2048);
BENCHMARK(BM_LineageDense)->Name("Step/lineage/dense")->Arg(50)->Arg(200);
BENCHMARK(BM_LineageSettled)->Name("Step/lineage/settled")->Arg(50)->Arg(200);
BENCHMARK(BM_LineageDense)->Name("Step/lineage/dense")->Arg(2048)->Iterations(kDense.last - kDense.first + 1);
BENCHMARK(BM_LineageTwoDense)->Name("Step/lineage-2threads/dense")->Arg(2048)->Iterations(kDense.last - kDense.first + 1);
BENCHMARK(BM_LineageLongRun)->Name("Lineage/long-run/64")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_PlainSettled)->Name("Step/plain/settled")->Arg(50)->Arg(200);

// The other kernel sets, registered at start-up from what the processor has.
[[maybe_unused]] const bool kOtherSetsRegistered = [] {
    for (const engine::KernelSet set : engine::AvailableKernelSets()) {
        if (set == engine::FastestKernelSet()) continue;
        for (const auto& [phaseName, phase] : {std::pair{"dense", kDense}, std::pair{"settled", kSettled}}) {
            const std::string name = std::string("Step/engine-") + engine::KernelSetName(set) + "/" + phaseName;
            benchmark::RegisterBenchmark(name.c_str(), [set, phase = phase](benchmark::State& state) {
                engineSteps(state, phase, set);
            })->Arg(50)->Arg(200);
        }
    }
    return true;
}();

// One drawing of a freshly seeded board (about 20 % live) on the 480 x 480
// picture of the window.
void BM_RenderBoard(benchmark::State& state) {
    const auto side = static_cast<int32_t>(state.range(0));
    const engine::Board board = seededBoard(side);
    display::PixelImage image;
    image.resize(display::kBoardPictureSize, display::kBoardPictureSize);
    const display::BevelColors colors;
    int32_t population = 0;
    for (auto _ : state) {
        population = display::RenderBoard(board, image, colors);
        benchmark::DoNotOptimize(image.pixels.data());
        benchmark::ClobberMemory();
    }
    state.counters["live"] = population;
}

BENCHMARK(BM_RenderBoard)->Name("RenderBoard")->Arg(50)->Arg(200);

// One drawing of the view of a seeded board of 2,048 a side. The whole
// board on a picture range(0) pixels a side (480: the window's first area;
// 960: the same at two device pixels a logical one), each pixel the mean of
// its live cells; then zoomed on a picture of 960: range(0) is the level,
// 2^level pixels a cell.
void BM_RenderView(benchmark::State& state, bool whole) {
    static const engine::Board board = seededBoard(2048);
    const int pixels = whole ? static_cast<int>(state.range(0)) : 2 * display::kBoardPictureSize;
    display::PixelImage image;
    image.resize(pixels, pixels);
    display::ViewLook look;
    if (!whole) {
        while (look.view.wholeBoard() || look.view.shift() < state.range(0))
            look.view.zoom(1, pixels / 2.0, pixels / 2.0, board.side(), pixels);
    }
    for (auto _ : state) {
        display::RenderView(board, image, look);
        benchmark::DoNotOptimize(image.pixels.data());
        benchmark::ClobberMemory();
    }
}
void BM_RenderWholeView(benchmark::State& state) { BM_RenderView(state, true); }
void BM_RenderZoomedView(benchmark::State& state) { BM_RenderView(state, false); }

BENCHMARK(BM_RenderWholeView)->Name("RenderView/whole/2048")->Arg(480)->Arg(960)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderZoomedView)->Name("RenderView/zoomed/2048")->Arg(-1)->Arg(0)->Arg(3)->Arg(6)->Unit(benchmark::kMillisecond);

}  // namespace
