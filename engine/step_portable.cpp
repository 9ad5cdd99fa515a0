// SPDX-License-Identifier: MIT
// The generation step's kernels in standard C++: every processor runs them,
// and the faster sets keep those they have no variant for.

#include <bit>

#include "engine/lineage_carry.h"
#include "engine/step_kernels.h"

namespace engine {
namespace {

// Vertical strips of three for one column of `n` cells in W words: the count
// of live cells at rows y - 1, y and y + 1 (wrapped) as s0 + 2 * s1.
template <int W>
inline void verticalSums(const uint64_t* a, int32_t n, uint64_t lastMask, uint64_t* s0, uint64_t* s1) {
    const int w = ColumnWordCount<W>(n);
    const int lastWord = (n - 1) / 64, lastBit = (n - 1) % 64;
    const uint64_t bottom = (a[lastWord] >> lastBit) & 1;  // row n - 1, above row 0
    const uint64_t top = a[0] & 1;                          // row 0, below row n - 1
    for (int k = 0; k < w; ++k) {
        uint64_t up = (a[k] << 1) | (k > 0 ? a[k - 1] >> 63 : bottom);
        uint64_t down = (a[k] >> 1) | (k + 1 < w ? a[k + 1] << 63 : 0);
        if (k == w - 1) {
            up &= lastMask;
            down |= top << lastBit;
        }
        const uint64_t m = a[k];
        s0[k] = up ^ m ^ down;
        s1[k] = (up & m) | (down & (up ^ m));
    }
}

// The new states of one column from the strips of its left, own and right
// columns: 3 x 3 totals of 3, or of 4 for a live cell.
inline void nextColumn(const uint64_t* l0, const uint64_t* l1, const uint64_t* c0, const uint64_t* c1,
                       const uint64_t* r0, const uint64_t* r1, const uint64_t* alive, uint64_t lastMask,
                       uint64_t* next, uint32_t first, uint32_t* changed, uint32_t& changes, int w) {
    for (int k = 0; k < w; ++k) {
        const uint64_t ones = l0[k] ^ c0[k] ^ r0[k];
        const uint64_t carry = (l0[k] & c0[k]) | (r0[k] & (l0[k] ^ c0[k]));
        // The pairs: l1 + c1 + r1 + carry, 0..4, as t0 + 2 t1 + 4 t2.
        const uint64_t p0 = l1[k] ^ c1[k] ^ r1[k];
        const uint64_t p1 = (l1[k] & c1[k]) | (r1[k] & (l1[k] ^ c1[k]));
        const uint64_t t0 = p0 ^ carry, t0carry = p0 & carry;
        const uint64_t t1 = p1 ^ t0carry, t2 = p1 & t0carry;
        const uint64_t three = ones & t0 & ~t1 & ~t2;
        const uint64_t four = ~ones & ~t0 & t1 & ~t2;
        next[k] = (three | (alive[k] & four)) & (k == w - 1 ? lastMask : ~uint64_t{0});
        changed[changes] = first + static_cast<uint32_t>(k);
        changes += next[k] != alive[k];
    }
}

template <int W>
inline uint32_t nextOfColumn(const ColumnWords& words, int32_t n, uint64_t lastMask, int32_t x, uint32_t changes) {
    const int w = ColumnWordCount<W>(n);
    const int32_t l = (x == 0 ? n - 1 : x - 1) * w, c = x * w, r = (x == n - 1 ? 0 : x + 1) * w;
    const uint64_t* const s0 = words.sum0;
    const uint64_t* const s1 = words.sum1;
    nextColumn(s0 + l, s1 + l, s0 + c, s1 + c, s0 + r, s1 + r, words.alive + c, lastMask, words.next + c,
               static_cast<uint32_t>(c), words.changed, changes, w);
    return changes;
}

}  // namespace

// No vector code: the caller's loop takes every cell.
int32_t scanPortable(const CellRecord*, int32_t, uint64_t*, ScanCheck&) { return 0; }

template <int W>
void columnBitsPortable(const uint64_t* flat, int32_t n, uint64_t lastMask, uint64_t* alive) {
    const int w = ColumnWordCount<W>(n);
    for (int32_t x = 0; x < n; ++x)
        for (int k = 0; k < w; ++k) {
            // Cell x * n + 64 k on: two neighbouring words, shifted into one.
            const int32_t first = x * n + 64 * k, shift = first % 64;
            const uint64_t low = flat[first / 64] >> shift, high = (flat[first / 64 + 1] << 1) << (63 - shift);
            alive[x * w + k] = (low | high) & (k == w - 1 ? lastMask : ~uint64_t{0});
        }
}

template <int W>
uint32_t computeNextPortable(const ColumnWords& words, int32_t n, uint64_t lastMask) {
    const int w = ColumnWordCount<W>(n);
    for (int32_t x = 0; x < n; ++x)
        verticalSums<W>(words.alive + x * w, n, lastMask, words.sum0 + x * w, words.sum1 + x * w);
    uint32_t changes = 0;
    for (int32_t x = 0; x < n; ++x) changes = nextOfColumn<W>(words, n, lastMask, x, changes);
    return changes;
}

void columnSumsPortable(const ColumnWords& words, int32_t n, uint64_t lastMask, int32_t x) {
    const int w = ColumnWordCount<0>(n);
    verticalSums<0>(words.alive + x * w, n, lastMask, words.sum0 + x * w, words.sum1 + x * w);
}

uint32_t columnNextPortable(const ColumnWords& words, int32_t n, uint64_t lastMask, int32_t x, uint32_t changes) {
    return nextOfColumn<0>(words, n, lastMask, x, changes);
}

// A loop over the deaths of each changed word.
template <int W>
void clearDeathsPortable(CellRecord* cells, const ColumnWords& words, int32_t n, uint32_t changes, uint32_t*) {
    const auto w = static_cast<uint32_t>(ColumnWordCount<W>(n));
    for (uint32_t c = 0; c < changes; ++c) {
        const uint32_t word = words.changed[c];
        CellRecord* const column = cells + (word / w) * static_cast<std::size_t>(n) + (word % w) * 64;
        for (uint64_t died = words.alive[word] & ~words.next[word]; died != 0; died &= died - 1)
            column[std::countr_zero(died)] = CellRecord{};
    }
}

int64_t countBitsPortable(const uint64_t* words, std::size_t count) {
    int64_t bits = 0;
    for (std::size_t k = 0; k < count; ++k) bits += std::popcount(words[k]);
    return bits;
}

uint32_t rankWordsPortable(const uint64_t* words, std::size_t count, uint32_t* ranks) {
    return rankWordsKernel(words, count, ranks);
}

void carrySlotsPortable(const SlotCarry& carry) { carrySlotsKernel(carry); }

#define KALEIDOMAT_PORTABLE_KERNELS(W)                                                                        \
    template void columnBitsPortable<W>(const uint64_t*, int32_t, uint64_t, uint64_t*);                       \
    template uint32_t computeNextPortable<W>(const ColumnWords&, int32_t, uint64_t);                          \
    template void clearDeathsPortable<W>(CellRecord*, const ColumnWords&, int32_t, uint32_t, uint32_t*);
KALEIDOMAT_PORTABLE_KERNELS(1)
KALEIDOMAT_PORTABLE_KERNELS(2)
KALEIDOMAT_PORTABLE_KERNELS(3)
KALEIDOMAT_PORTABLE_KERNELS(4)
KALEIDOMAT_PORTABLE_KERNELS(0)
#undef KALEIDOMAT_PORTABLE_KERNELS

}  // namespace engine
