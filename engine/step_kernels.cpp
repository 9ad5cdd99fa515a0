// SPDX-License-Identifier: MIT
// The tables of kernels and the one place that asks the processor what it
// has.

#include "engine/step_kernels.h"

#include <stdexcept>
#include <string>

namespace engine {
namespace {

#define KALEIDOMAT_FOR_EACH_W(kernel) {kernel<1>, kernel<2>, kernel<3>, kernel<4>, kernel<0>}

constexpr StepKernels kPortable{
    KernelSet::Portable,
    scanPortable,
    KALEIDOMAT_FOR_EACH_W(columnBitsPortable),
    KALEIDOMAT_FOR_EACH_W(computeNextPortable),
    KALEIDOMAT_FOR_EACH_W(clearDeathsPortable),
    countBitsPortable,
    rankWordsPortable,
    carrySlotsPortable,
};

#if defined(KALEIDOMAT_X86_KERNELS)
constexpr StepKernels kSse2{
    KernelSet::Sse2,
    scanSse2,
    KALEIDOMAT_FOR_EACH_W(columnBitsPortable),
    KALEIDOMAT_FOR_EACH_W(computeNextPortable),
    KALEIDOMAT_FOR_EACH_W(clearDeathsPortable),
    countBitsPortable,
    rankWordsPortable,
    carrySlotsPortable,
};
constexpr StepKernels kBmi{
    KernelSet::Bmi,
    scanSse2,
    KALEIDOMAT_FOR_EACH_W(columnBitsPortable),
    KALEIDOMAT_FOR_EACH_W(computeNextPortable),
    KALEIDOMAT_FOR_EACH_W(clearDeathsListed),
    countBitsPopcnt,
    rankWordsPopcnt,
    carrySlotsPopcnt,
};
constexpr StepKernels kAvx2{
    KernelSet::Avx2,
    scanAvx2,
    {columnBitsPortable<1>, columnBitsPortable<2>, columnBitsPortable<3>, columnBitsAvx2, columnBitsPortable<0>},
    {computeNextPortable<1>, computeNextPortable<2>, computeNextPortable<3>, computeNextAvx2, computeNextPortable<0>},
    KALEIDOMAT_FOR_EACH_W(clearDeathsListed),
    countBitsPopcnt,
    rankWordsPopcnt,
    carrySlotsPopcnt,
};
#endif

#undef KALEIDOMAT_FOR_EACH_W

std::vector<KernelSet> findAvailable() {
    std::vector<KernelSet> sets{KernelSet::Portable};
#if defined(KALEIDOMAT_X86_KERNELS)
    // Every x86-64 processor has SSE2. Each further set needs what the one
    // before it needs.
    sets.push_back(KernelSet::Sse2);
    __builtin_cpu_init();  // in case this runs among the static constructors
    if (__builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi")) {
        sets.push_back(KernelSet::Bmi);
        if (__builtin_cpu_supports("avx2")) sets.push_back(KernelSet::Avx2);
    }
#endif
    return sets;
}

const std::vector<KernelSet>& available() {
    static const std::vector<KernelSet> sets = findAvailable();
    return sets;
}

}  // namespace

std::vector<KernelSet> AvailableKernelSets() { return available(); }

KernelSet FastestKernelSet() { return available().back(); }

const char* KernelSetName(KernelSet set) {
    switch (set) {
        case KernelSet::Portable: return "Portable";
        case KernelSet::Sse2: return "Sse2";
        case KernelSet::Bmi: return "Bmi";
        case KernelSet::Avx2: return "Avx2";
    }
    return "?";
}

const StepKernels& KernelsFor(KernelSet set) {
    for (const KernelSet s : available()) {
        if (s != set) continue;
        switch (set) {
#if defined(KALEIDOMAT_X86_KERNELS)
            case KernelSet::Sse2: return kSse2;
            case KernelSet::Bmi: return kBmi;
            case KernelSet::Avx2: return kAvx2;
#endif
            default: return kPortable;
        }
    }
    throw std::invalid_argument(std::string("this processor cannot run the kernel set ") + KernelSetName(set));
}

}  // namespace engine
