// SPDX-License-Identifier: MIT
#pragma once

// Carrying the lineage's founder slots over a generation (internal to
// engine/; see lineage.cpp): included by the kernel files, each of which
// compiles it for its own instruction set. Everything here has internal
// linkage and uses compiler built-ins only, so that no copy compiled with
// popcnt is shared under a name the rest of the program calls.
//
// The lineage keeps three slots for each live cell, in array order (x outer,
// y inner): the slots of the cells of word j of the live bits start at
// 3 * rank[j], rank[j] being the live cells in the words before it. After a
// step the slots go over to the live cells the step left: a survivor keeps
// its three, and a newborn takes its red slot from the first of its three
// parents (its live neighbours before the step, in ascending position, with
// the board wrapped), its green one from the second and its blue one from
// the third, as its colour came to it.

#include <cstddef>
#include <cstdint>

#include "engine/step_kernels.h"

namespace engine {
namespace {

inline uint32_t rankWordsKernel(const uint64_t* words, std::size_t count, uint32_t* ranks) {
    uint32_t total = 0;
    for (std::size_t j = 0; j < count; ++j) {
        ranks[j] = total;
        total += static_cast<uint32_t>(__builtin_popcountll(words[j]));
    }
    ranks[count] = total;
    return total;
}

// The set bits of `word` below bit `bit`.
inline uint32_t bitsBelow(uint64_t word, int bit) {
    return static_cast<uint32_t>(__builtin_popcountll(word & ((uint64_t{1} << bit) - 1)));
}

// The slot index of the live cell (x, y) before the step.
inline uint32_t rankBefore(const SlotCarry& s, int32_t x, int32_t y) {
    const std::size_t word = static_cast<std::size_t>(x) * static_cast<std::size_t>(s.w) + static_cast<std::size_t>(y / 64);
    return s.beforeRank[word] + bitsBelow(s.before[word], y % 64);
}

// The three indices i - 1, i, i + 1 wrapped to 0 .. n - 1, in ascending order.
inline void aroundSorted(int32_t i, int32_t n, int32_t out[3]) {
    out[0] = i == 0 ? 0 : i == n - 1 ? 0 : i - 1;
    out[1] = i == 0 ? 1 : i == n - 1 ? n - 2 : i;
    out[2] = i == 0 ? n - 1 : i == n - 1 ? n - 1 : i + 1;
}

// The slot indices of the three parents of the newborn (x, y), anywhere on
// the board.
inline void parentRanksAnywhere(const SlotCarry& s, int32_t x, int32_t y, uint32_t parent[3]) {
    int32_t cols[3], rows[3];
    aroundSorted(x, s.n, cols);
    aroundSorted(y, s.n, rows);
    int found = 0;
    for (int c = 0; c < 3 && found < 3; ++c) {
        const uint64_t* const column = s.before + static_cast<std::size_t>(cols[c]) * static_cast<std::size_t>(s.w);
        for (int r = 0; r < 3 && found < 3; ++r)
            if ((column[rows[r] / 64] >> (rows[r] % 64)) & 1) parent[found++] = rankBefore(s, cols[c], rows[r]);
    }
}

// Three slots from `from` to `to`.
inline void copySlots(uint32_t* to, const uint32_t* from) { __builtin_memcpy(to, from, 3 * sizeof(uint32_t)); }

// Word by word: first the survivors, then the newborns, each in a loop of its
// own, as a survivor and a newborn in one loop would take a branch nobody
// can predict on a busy board.
inline void carrySlotsKernel(const SlotCarry& s) {
    const auto w = static_cast<std::size_t>(s.w);
    for (int32_t x = s.first; x < s.last; ++x) {
        const bool edgeColumn = x == 0 || x == s.n - 1;
        for (std::size_t k = 0; k < w; ++k) {
            const std::size_t j = static_cast<std::size_t>(x) * w + k;
            const uint64_t after = s.after[j];
            if (after == 0) continue;
            const uint64_t before = s.before[j];
            uint32_t* const out = s.newSlots + 3 * static_cast<std::size_t>(s.afterRank[j]);
            const uint32_t* const old = s.oldSlots + 3 * static_cast<std::size_t>(s.beforeRank[j]);
            if (after == before) {  // survivors only: the slots as they were
                const int count = __builtin_popcountll(after);
                for (int e = 0; e < count; ++e) copySlots(out + 3 * e, old + 3 * e);
                continue;
            }
            for (uint64_t kept = after & before; kept != 0; kept &= kept - 1) {
                const int b = __builtin_ctzll(kept);
                copySlots(out + 3 * bitsBelow(after, b), old + 3 * bitsBelow(before, b));
            }
            for (uint64_t born = after & ~before; born != 0; born &= born - 1) {
                const int b = __builtin_ctzll(born);
                const int32_t y = static_cast<int32_t>(64 * k) + b;
                uint32_t parent[3];
                if (!edgeColumn && b >= 1 && b <= 62 && y < s.n - 1) {
                    // The 3 x 3 block lies in three words: as a 9-bit mask
                    // (bit 3c + r for column x - 1 + c, row y - 1 + r) its
                    // bit order is ascending position.
                    const std::size_t words[3] = {j - w, j, j + w};
                    const uint64_t around[3] = {s.before[j - w], before, s.before[j + w]};
                    unsigned mask = static_cast<unsigned>((around[0] >> (b - 1)) & 7) |
                                    static_cast<unsigned>((around[1] >> (b - 1)) & 7) << 3 |
                                    static_cast<unsigned>((around[2] >> (b - 1)) & 7) << 6;
                    for (uint32_t& p : parent) {
                        const int t = __builtin_ctz(mask);
                        p = s.beforeRank[words[t / 3]] + bitsBelow(around[t / 3], b - 1 + t % 3);
                        mask &= mask - 1;
                    }
                } else {
                    parentRanksAnywhere(s, x, y, parent);
                }
                uint32_t* const slots = out + 3 * bitsBelow(after, b);
                slots[0] = s.oldSlots[3 * static_cast<std::size_t>(parent[0])];
                slots[1] = s.oldSlots[3 * static_cast<std::size_t>(parent[1]) + 1];
                slots[2] = s.oldSlots[3 * static_cast<std::size_t>(parent[2]) + 2];
            }
        }
    }
}

}  // namespace
}  // namespace engine
