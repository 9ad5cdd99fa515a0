// The generation step of the engine against the literal four-pass step, and
// the drawing of a whole board.
//
// Both steps run the very same sequence: a board seeded at 20 % by Init, run
// for kRunLength generations, then the same seeded board again (restored with
// the timer paused), with the random sequence restarted too. So every
// measured step of one benchmark has an identical twin in the other, and the
// soup never dies out or freezes into still lifes.
//
//   build/bin/kaleidomat-engine-bench
//   build/bin/kaleidomat-engine-bench --benchmark_filter=Step/200

#include <benchmark/benchmark.h>

#include "display/board_renderer.h"
#include "engine/rules.h"
#include "support/plain_step.h"

namespace {

constexpr int kRunLength = 100;
constexpr uint64_t kSeed = 20240601;

engine::Board seededBoard(int32_t side) {
    engine::Board b;
    b.create(side - 1);
    engine::RandomSequence seeding(kSeed);
    engine::Init(b, seeding);
    return b;
}

template <void (*StepFunction)(engine::Board&, engine::RandomSequence&)>
void runSteps(benchmark::State& state) {
    const auto side = static_cast<int32_t>(state.range(0));
    const engine::Board start = seededBoard(side);
    engine::Board board = start;
    engine::RandomSequence random(kSeed);
    int sinceStart = 0;
    int64_t liveCells = 0;
    for (auto _ : state) {
        if (sinceStart == kRunLength) {
            state.PauseTiming();
            board.Cells = start.Cells;
            board.Generation = start.Generation;
            random.reseed(kSeed);
            sinceStart = 0;
            state.ResumeTiming();
        }
        StepFunction(board, random);
        benchmark::DoNotOptimize(board.Cells.data());
        benchmark::ClobberMemory();
        ++sinceStart;
    }
    liveCells = board.countLive();
    state.counters["cells"] = static_cast<double>(side) * side;
    state.counters["live_at_end"] = static_cast<double>(liveCells);
    state.SetItemsProcessed(state.iterations() * side * side);
}

void engineStep(engine::Board& b, engine::RandomSequence& r) { engine::ReCalc(b, r); }
void plainStep(engine::Board& b, engine::RandomSequence& r) { plain::Step(b, r); }

void BM_ReCalc(benchmark::State& state) { runSteps<engineStep>(state); }
void BM_PlainStep(benchmark::State& state) { runSteps<plainStep>(state); }

BENCHMARK(BM_ReCalc)->Name("Step/engine")->Arg(50)->Arg(200);
BENCHMARK(BM_PlainStep)->Name("Step/plain")->Arg(50)->Arg(200);

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
