// SPDX-License-Identifier: MIT
#pragma once

// The generation step as an object: the kernels it runs with and the scratch
// memory it reuses from one generation to the next.

#include <functional>
#include <memory>
#include <vector>

#include "engine/board.h"
#include "engine/random_sequence.h"

namespace engine {

// The sets of kernels the step can run with. Each takes over more of the work
// than the one before it and needs what that one needs; all give the same
// boards and draw the same fractions.
enum class KernelSet {
    Portable,  // standard C++ only, for every processor
    Sse2,      // the scan of the board in SSE2
    Bmi,       // and the deaths listed with popcnt and tzcnt (BMI1)
    Avx2,      // and the scan, the column bits and the adders of four-word columns in AVX2
};

// The sets this processor can run, Portable first and the fastest last. Only
// Portable in builds for other processors than x86.
std::vector<KernelSet> AvailableKernelSets();

// The set a Stepper takes unless told otherwise: the last of those, found
// once, on first use.
KernelSet FastestKernelSet();

// "Portable", "Sse2", "Bmi", "Avx2".
const char* KernelSetName(KernelSet set);

struct StepKernels;
struct StepWorkspace;
class StepHelper;
class Lineage;
namespace detail {
struct LineageTrack;
}

// Whether ReCalc steps this board: its Cells match GridMax, and its side is
// 3 to the largest board's.
bool Steppable(const Board& board);

// ReCalc with the scratch memory kept between generations. Keep one per
// board that runs for many generations: its memory grows to the largest
// board seen and is reused, and while a board of up to 256 a side is
// settled it keeps a copy of it that stands in for the scan (see generation_step.cpp). The copy is
// compared before it is trusted, so one Stepper may serve any boards, edited
// or not, in any order.
class Stepper {
public:
    Stepper();                        // with FastestKernelSet()
    explicit Stepper(KernelSet set);  // std::invalid_argument when this processor cannot run the set
    ~Stepper();
    Stepper(Stepper&&) noexcept;
    Stepper& operator=(Stepper&&) noexcept;

    // One generation: see engine::ReCalc in rules.h.
    void ReCalc(Board& board, RandomSequence& random);

    KernelSet kernelSet() const;

    // Whether boards of 512 a side and more are stepped by two threads, the
    // caller's and one the Stepper keeps while this is on. Off at first, and
    // on a processor with one core. The boards and the fractions drawn are
    // the same either way.
    void useSecondThread(bool on);
    bool usesSecondThread() const;

    // The live cells of `board`: from the last step's own bits when that
    // step left this board (same cells, side and generation), which saves a
    // pass over a large board's records; counted otherwise. Call it before
    // anything edits the board the step left.
    int32_t liveCells(const Board& board) const;

private:
    friend class Lineage;
    // The same generation, carrying each newborn's lineage (lineage.h).
    void ReCalcTracked(Board& board, RandomSequence& random, detail::LineageTrack& lineage);
    template <typename T>
    void run(Board& board, RandomSequence& random, const T& track);
    // job(0) on this thread and job(1) on the second one at the same time,
    // where a board of `side` is stepped by two threads; else both here.
    void inTwo(int32_t side, const std::function<void(int part)>& job);

    const StepKernels* kernels_;
    std::unique_ptr<StepWorkspace> workspace_;
    bool secondThread_ = false;
    std::unique_ptr<StepHelper> helper_;
};

}  // namespace engine
