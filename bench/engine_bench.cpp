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
//   build/bin/kaleidomat-engine-bench
//   build/bin/kaleidomat-engine-bench --benchmark_filter=Step/engine/settled

#include <benchmark/benchmark.h>

#include "display/board_renderer.h"
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

template <void (*StepFunction)(engine::Board&, engine::RandomSequence&)>
void runSteps(benchmark::State& state, Phase phase) {
    const auto side = static_cast<int32_t>(state.range(0));
    // The board and the random sequence just before the phase's first generation.
    engine::Board start = seededBoard(side);
    engine::RandomSequence startRandom(kSeed);
    for (int g = 1; g < phase.first; ++g) engine::ReCalc(start, startRandom);
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
        StepFunction(board, random);
        benchmark::DoNotOptimize(board.Cells.data());
        benchmark::ClobberMemory();
        ++generation;
    }
    state.counters["cells"] = static_cast<double>(side) * side;
    state.counters["live_at_end"] = static_cast<double>(board.countLive());
    state.SetItemsProcessed(state.iterations() * side * side);
}

void engineStep(engine::Board& b, engine::RandomSequence& r) { engine::ReCalc(b, r); }
void plainStep(engine::Board& b, engine::RandomSequence& r) { plain::Step(b, r); }

void BM_EngineDense(benchmark::State& state) { runSteps<engineStep>(state, kDense); }
void BM_EngineSettled(benchmark::State& state) { runSteps<engineStep>(state, kSettled); }
void BM_PlainDense(benchmark::State& state) { runSteps<plainStep>(state, kDense); }
void BM_PlainSettled(benchmark::State& state) { runSteps<plainStep>(state, kSettled); }

BENCHMARK(BM_EngineDense)->Name("Step/engine/dense")->Arg(50)->Arg(200);
BENCHMARK(BM_PlainDense)->Name("Step/plain/dense")->Arg(50)->Arg(200);
BENCHMARK(BM_EngineSettled)->Name("Step/engine/settled")->Arg(50)->Arg(200);
BENCHMARK(BM_PlainSettled)->Name("Step/plain/settled")->Arg(50)->Arg(200);

// One drawing of a freshly seeded board (about 20 % live) on the 480 x 480
// picture of the window.
void BM_RenderBoard(benchmark::State& state) {
    const auto side = static_cast<int32_t>(state.range(0));
    const engine::Board board = seededBoard(side);
    display::PixelImage image;
    image.resize(480, 480);
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

}  // namespace
