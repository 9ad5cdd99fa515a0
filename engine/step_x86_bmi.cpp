// SPDX-License-Identifier: MIT
// Deaths on processors with popcnt and tzcnt (BMI1), the count of set
// bits, and the lineage's founder slots carried over a step.
//
// The dead cells are listed first, then cleared in one tight loop. A loop
// over the deaths of each word ends after a varying number of them, and the
// mispredicted end of nearly every word costs more than the stores. The list
// takes a word's positions eight at a time whether or not it has that many
// deaths (the surplus is overwritten by the next word's), so only words with
// more than eight take a branch that depends on their bits.
//
// Compiled with -mpopcnt -mbmi; the built-in and the intrinsic below become
// single instructions.

#include <immintrin.h>

#include <cstring>

#include "engine/lineage_carry.h"
#include "engine/step_kernels.h"

namespace engine {

template <int W>
void clearDeathsListed(CellRecord* const cells, const ColumnWords& words, int32_t n, uint32_t changes,
                       uint32_t* const list) {
    const uint64_t* const alive = words.alive;
    const uint64_t* const next = words.next;
    const uint32_t* const changed = words.changed;
    const auto w = static_cast<uint32_t>(W != 0 ? W : (n + 63) / 64);  // no shared inline function here
    uint32_t count = 0;
    for (uint32_t c = 0; c < changes; ++c) {
        const uint32_t word = changed[c];
        const auto first = static_cast<uint32_t>((word / w) * static_cast<uint32_t>(n) + (word % w) * 64);
        uint64_t died = alive[word] & ~next[word];
        uint32_t* p = list + count;
        count += static_cast<uint32_t>(__builtin_popcountll(died));
        do {
            for (int j = 0; j < 8; ++j) {
                // tzcnt gives 64 for 0: a harmless entry the next word overwrites.
                p[j] = first + static_cast<uint32_t>(_tzcnt_u64(died));
                died &= died - 1;
                // Keeps the compiler from branching out of the eight once
                // died is 0, which would bring back the mispredictions.
                asm("" : "+r"(died));
            }
            p += 8;
        } while (died != 0);
    }
    // memset rather than CellRecord{}: an unoptimised build would otherwise
    // compile CellRecord's inline constructor here, for BMI, under the name
    // every other file's copy has.
    if (W == 0) {
        // Boards beyond the caches: each cleared cell is asked for ahead.
        constexpr uint32_t ahead = 16;
        for (uint32_t j = 0; j < count; ++j) {
            if (j + ahead < count) __builtin_prefetch(cells + list[j + ahead], 1);
            std::memset(static_cast<void*>(cells + list[j]), 0, sizeof(CellRecord));
        }
        return;
    }
    for (uint32_t j = 0; j < count; ++j) std::memset(static_cast<void*>(cells + list[j]), 0, sizeof(CellRecord));
}

// With popcnt, one instruction a word; without it, the library's popcount
// is a call per word.
int64_t countBitsPopcnt(const uint64_t* words, std::size_t count) {
    int64_t bits = 0;
    for (std::size_t k = 0; k < count; ++k) bits += __builtin_popcountll(words[k]);
    return bits;
}

uint32_t rankWordsPopcnt(const uint64_t* words, std::size_t count, uint32_t* ranks) {
    return rankWordsKernel(words, count, ranks);
}

void carrySlotsPopcnt(const SlotCarry& carry) { carrySlotsKernel(carry); }

template void clearDeathsListed<1>(CellRecord*, const ColumnWords&, int32_t, uint32_t, uint32_t*);
template void clearDeathsListed<2>(CellRecord*, const ColumnWords&, int32_t, uint32_t, uint32_t*);
template void clearDeathsListed<3>(CellRecord*, const ColumnWords&, int32_t, uint32_t, uint32_t*);
template void clearDeathsListed<4>(CellRecord*, const ColumnWords&, int32_t, uint32_t, uint32_t*);
template void clearDeathsListed<0>(CellRecord*, const ColumnWords&, int32_t, uint32_t, uint32_t*);

}  // namespace engine
