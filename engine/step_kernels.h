// SPDX-License-Identifier: MIT
#pragma once

// The parts of the generation step that have variants for instruction sets,
// and the table of the variants one KernelSet uses (internal to engine/).
//
// Every variant of a part gives exactly the same result; they differ in
// speed only. The x86 variants live in files of their own, compiled with the
// instruction set they need (step_x86_*.cpp), and are called only through
// the table, which step_kernels.cpp chooses from what the processor has.
// Those files use compiler built-ins rather than inline library functions,
// so that no function compiled for AVX2 or BMI is shared with the rest of
// the program under the same name.

#include <cstddef>
#include <cstdint>

#include "engine/cell_record.h"
#include "engine/generation_step.h"

namespace engine {

// Words of 64 cells in a column of the largest board.
inline constexpr int kMaxColumnWords = (kMaxGridMax + 1 + 63) / 64;

// Boards of up to four words a column have kernels compiled for their
// number of words; larger ones share one that takes it from the side
// (W = 0 in the templates below: W is (n + 63) / 64).
inline constexpr int kFixedColumnWords = 4;
inline constexpr int kKernelVariants = kFixedColumnWords + 1;

// The index into a table of kernels for W words a column.
inline constexpr int KernelVariant(int words) { return words <= kFixedColumnWords ? words - 1 : kFixedColumnWords; }

// W words a column: the template argument, or taken from the side.
template <int W>
inline constexpr int ColumnWordCount(int32_t n) {
    return W != 0 ? W : static_cast<int>((n + 63) / 64);
}

// What the scan gathers to check that "any byte non-zero" means "live" on
// the board (see scanBoard in generation_step.cpp).
struct ScanCheck {
    uint32_t stateBits = 0;  // the States or-ed together
    uint32_t states = 0;     // the States added up
    int32_t zeroCells = 0;   // cells with every byte 0
};

// The vector scan works in blocks of kScanBlock cells: 512 / 4 = 128 cells
// meet in one 32-bit lane, whose low byte adds up their States, and at most
// 32 groups of 16 in one byte of the zero counts.
inline constexpr int32_t kScanBlock = 512;

// The step's words, W per column of the board (word x * W + k holds rows
// 64 k to 64 k + 63 of column x): the live cells before and after, the
// vertical sums of three as a two-bit number, and the indices of the words
// that change.
struct ColumnWords {
    uint64_t* alive;
    uint64_t* next;
    uint64_t* sum0;
    uint64_t* sum1;
    uint32_t* changed;
};

// The lineage's founder slots carried over a step (lineage_carry.h): the
// live bits of a board of side n, w words a column, before and after it;
// per word of each, the live cells in the words before it; three slots for
// each live cell before, and room for three for each after. Only the live
// cells after the step in columns first .. last - 1 get theirs.
struct SlotCarry {
    const uint64_t* before;
    const uint64_t* after;
    const uint32_t* beforeRank;
    const uint32_t* afterRank;
    const uint32_t* oldSlots;
    uint32_t* newSlots;
    int32_t n;
    int w;
    int32_t first, last;
};

struct StepKernels {
    KernelSet set;

    // The live bits of cells 0 .. count - 1 or-ed into `bits` (cell i at bit
    // i % 64 of word i / 64, which start at 0), block by block, with what the
    // check needs added to `check`. Returns how many cells from the first it
    // went through; the caller does the rest cell by cell.
    int32_t (*scan)(const CellRecord* cells, int32_t count, uint64_t* bits, ScanCheck& check);

    // The rest are indexed by KernelVariant(W), W being the words a column.

    // The live bits of a board of side n, W words a column, from the scan's
    // bits. lastMask keeps the rows of the last word that are on the board.
    void (*columnBits[kKernelVariants])(const uint64_t* flat, int32_t n, uint64_t lastMask, uint64_t* alive);

    // Fills words.next (and the sums) from words.alive; returns how many
    // words changed, their indices in ascending order in words.changed.
    uint32_t (*computeNext[kKernelVariants])(const ColumnWords& words, int32_t n, uint64_t lastMask);

    // Clears the records of the cells that die in the `changes` changed
    // words. `list` has room for every cell of the board and eight more.
    void (*clearDeaths[kKernelVariants])(CellRecord* cells, const ColumnWords& words, int32_t n, uint32_t changes,
                                         uint32_t* list);

    // The set bits of `count` words (a board's live cells from the step's
    // words, in the window after every generation).
    int64_t (*countBits)(const uint64_t* words, std::size_t count);

    // For the lineage (lineage_carry.h): ranks[j] the set bits of words
    // 0 .. j - 1, for j up to `count`, whose ranks[count] is returned; and
    // the founder slots carried over a step.
    uint32_t (*rankWords)(const uint64_t* words, std::size_t count, uint32_t* ranks);
    void (*carrySlots)(const SlotCarry& carry);
};

// The table for `set`, which the processor must be able to run.
const StepKernels& KernelsFor(KernelSet set);

// ---- the variants ----------------------------------------------------------

// step_portable.cpp
int32_t scanPortable(const CellRecord* cells, int32_t count, uint64_t* bits, ScanCheck& check);
template <int W>
void columnBitsPortable(const uint64_t* flat, int32_t n, uint64_t lastMask, uint64_t* alive);
template <int W>
uint32_t computeNextPortable(const ColumnWords& words, int32_t n, uint64_t lastMask);
template <int W>
void clearDeathsPortable(CellRecord* cells, const ColumnWords& words, int32_t n, uint32_t changes, uint32_t* list);
int64_t countBitsPortable(const uint64_t* words, std::size_t count);
uint32_t rankWordsPortable(const uint64_t* words, std::size_t count, uint32_t* ranks);
void carrySlotsPortable(const SlotCarry& carry);

// One column at a time, for the step that sweeps boards beyond the caches
// column by column (more than four words a column, so W is taken from n):
// column x's vertical sums from its live bits, and its next states, its
// changed words added after the `changes` already listed (the new count is
// returned). The next states need the sums of both neighbouring columns.
void columnSumsPortable(const ColumnWords& words, int32_t n, uint64_t lastMask, int32_t x);
uint32_t columnNextPortable(const ColumnWords& words, int32_t n, uint64_t lastMask, int32_t x, uint32_t changes);

#if defined(KALEIDOMAT_X86_KERNELS)
// step_x86_sse2.cpp
int32_t scanSse2(const CellRecord* cells, int32_t count, uint64_t* bits, ScanCheck& check);
// step_x86_bmi.cpp
template <int W>
void clearDeathsListed(CellRecord* cells, const ColumnWords& words, int32_t n, uint32_t changes, uint32_t* list);
int64_t countBitsPopcnt(const uint64_t* words, std::size_t count);
uint32_t rankWordsPopcnt(const uint64_t* words, std::size_t count, uint32_t* ranks);
void carrySlotsPopcnt(const SlotCarry& carry);
// step_x86_avx2.cpp
int32_t scanAvx2(const CellRecord* cells, int32_t count, uint64_t* bits, ScanCheck& check);
void columnBitsAvx2(const uint64_t* flat, int32_t n, uint64_t lastMask, uint64_t* alive);
uint32_t computeNextAvx2(const ColumnWords& words, int32_t n, uint64_t lastMask);
#endif

}  // namespace engine
