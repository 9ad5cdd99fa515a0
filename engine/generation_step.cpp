// SPDX-License-Identifier: MIT
// The generation step.
//
// The rule as the program defines it works in four passes over a work board:
// clear it, let every live cell add 1 to each neighbour's count (and 9 to its
// own) while the first, second and third parent to reach a dead cell hand it
// their red, green and blue, decide births (count 3) and survivals (11, 12),
// and copy the work board over the board. Parents therefore come in the order
// of the spread: by the parent's own column, then its own row, after wrapping.
// Since cell (x, y) lives at x * side + y, that is simply ascending position in
// the array.
//
// This implementation gives exactly the same board and draws exactly the same
// random fractions, but counts neighbours 64 cells at a time and then changes
// the board in place, touching only the cells that change:
//   1. one bit per cell says whether it is live, a column of the board being
//      one to 32 64-bit words (row y is bit y % 64 of word y / 64); at the
//      same time note whether the board holds anything the step itself never
//      writes (a State other than 0 or 1, a dead cell with colour left in it).
//      The bits come from the board itself, in one vector pass, so edits,
//      loads and pastes between steps need no notice; only while the board
//      is quiet does a block comparison with a copy stand in for the pass
//      (see step());
//   2. per column, the live cells of the vertical strip of three around every
//      cell as a two-bit number in two words (bit-sliced full adders, rows
//      wrapping at the top and bottom); per cell, the 3 x 3 total from the
//      strips of its own and the two neighbouring columns, again with
//      bit-sliced adders: born with 3, survives with 3 or 4 (itself included);
//   3. births, in array order (the order their random fractions are drawn):
//      a newborn takes its colour from its three live neighbours in ascending
//      position. A newborn was dead, so it is nobody's parent, and no birth
//      can spoil the colours a later birth reads;
//   4. deaths: the record becomes all zero. When step 1 found odd contents,
//      every cell is put right instead (State 1 for the live, all zero for
//      the dead).
// No work board is needed: the words of step 2 hold everything the rule's
// work board would.
//
// Boards beyond the caches (more than four words a column) go through all
// four steps in one sweep over the columns instead (sweepColumns), so that
// each record comes in from memory once rather than once for the scan and
// again for the births.
//
// The scan of step 1, the column bits, the adders of step 2 and the deaths
// have variants for instruction sets (step_kernels.h); the Stepper runs the
// ones of its KernelSet through a table. Births and everything else here are
// the same for every set.
//
// With lineage on (lineage.h, through Stepper::ReCalcTracked) the same step
// is compiled a second time: births also list the newborns that mutated, the
// sweep keeps the records of the cells that die, the passes tell the lineage
// when the board's live cells differ from those it knows, and the lineage
// gets the live bits before and after the step, from which it carries its
// founder slots over itself (lineage_carry.h). The plain step has none of it.

#include "engine/generation_step.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <condition_variable>
#include <functional>
#include <limits>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "engine/lineage_track.h"
#include "engine/rules.h"
#include "engine/step_kernels.h"

namespace engine {

namespace {

// Memory on 64-byte boundaries (a cache line, two AVX2 registers), so the
// vector loads and the placing of the board's copy (see StepWorkspace) do not
// depend on where the heap puts things.
template <typename T>
struct CacheLineAllocator {
    using value_type = T;
    static constexpr std::align_val_t kAlignment{64};
    CacheLineAllocator() = default;
    template <typename U>
    CacheLineAllocator(const CacheLineAllocator<U>&) {}
    T* allocate(std::size_t n) { return static_cast<T*>(::operator new(n * sizeof(T), kAlignment)); }
    void deallocate(T* p, std::size_t) { ::operator delete(p, kAlignment); }
    friend bool operator==(const CacheLineAllocator&, const CacheLineAllocator&) { return true; }
};

template <typename T>
using AlignedVector = std::vector<T, CacheLineAllocator<T>>;

}  // namespace

// A second thread for the step of a large board (see sweepColumns): it
// waits for a part of a step, sweeps it and says when it is done.
class StepHelper {
public:
    StepHelper() : thread_([this] { serve(); }) {}
    ~StepHelper() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        asked_.notify_one();
        thread_.join();
    }
    StepHelper(const StepHelper&) = delete;
    StepHelper& operator=(const StepHelper&) = delete;

    // Starts `job` on the helper's thread; wait() before anything it touches
    // is used again.
    void run(std::function<void()> job) {
        {
            const std::lock_guard lock(mutex_);
            job_ = std::move(job);
        }
        asked_.notify_one();
    }
    void wait() {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return !job_; });
    }

private:
    void serve() {
        std::unique_lock lock(mutex_);
        for (;;) {
            asked_.wait(lock, [this] { return job_ || stopping_; });
            if (stopping_) return;
            lock.unlock();
            job_();
            lock.lock();
            job_ = nullptr;
            done_.notify_one();
        }
    }

    std::mutex mutex_;
    std::condition_variable asked_, done_;
    std::function<void()> job_;
    bool stopping_ = false;
    std::thread thread_;
};

// Boards of this side and more are swept by two threads when the Stepper has
// a second one: below it the threads' meeting costs more than it saves.
constexpr int32_t kSecondThreadSide = 512;

// Changed words whose deaths are listed and cleared at a time.
constexpr uint32_t kDeathBatchWords = 4096;

// Scratch space reused by every step of one Stepper; it grows with the
// largest board seen.
struct StepWorkspace {
    AlignedVector<uint64_t> flat;                      // the scan's bits, cell i at bit i, five words spare
    // The board as the last step left it (see step()), in mirrorStore at the
    // same offset within a cache line as the board: the block comparison runs
    // about a fifth slower when the two are 16 bytes apart modulo 32.
    AlignedVector<CellRecord> mirrorStore;
    CellRecord* mirror = nullptr;
    int32_t mirrorSide = 0;  // 0: no copy
    AlignedVector<uint64_t> alive, next, sum0, sum1;  // per column, W words each
    AlignedVector<uint32_t> changed;                   // the words where next differs from alive
    AlignedVector<uint32_t> dying;                     // room for the list of clearDeaths
    AlignedVector<uint32_t> secondDying;               // the same for a second thread's columns
    // The array offsets of the first three set bits of every 3 x 3 mask (see
    // births()), and per word the rows whose 3 x 3 block lies within the word
    // and the board; for boards of side birthSide (0: none yet).
    std::array<std::array<int16_t, 3>, 512> parents{};
    std::array<uint64_t, kMaxColumnWords> innerRows{};
    int32_t birthSide = 0;
    // The board whose live bits `alive` holds after a step (side 0: none).
    int32_t liveSide = 0;
    const CellRecord* liveCells = nullptr;
    int32_t liveGeneration = 0;

    void reserve(int32_t n, int words) {
        const std::size_t size = static_cast<std::size_t>(n) * static_cast<std::size_t>(words);
        if (alive.size() < size) {
            alive.resize(size);
            next.resize(size);
            sum0.resize(size);
            sum1.resize(size);
            changed.resize(size);
            dying.resize(std::min<std::size_t>(size, kDeathBatchWords) * 64 + 8);  // every cell of a batch, and eight more
            secondDying.resize(static_cast<std::size_t>(words) * 64 + 8);             // a column
        }
        const std::size_t cells = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
        if (flat.size() < cells / 64 + 6) flat.resize(cells / 64 + 6);  // four words to spare for columnBitsAvx2()
    }

    void placeMirror(const CellRecord* cells, std::size_t total) {
        constexpr std::size_t line = 64 / sizeof(CellRecord);
        if (mirrorStore.size() < total + line) mirrorStore.resize(total + line);
        mirror = mirrorStore.data() + reinterpret_cast<std::uintptr_t>(cells) % 64 / sizeof(CellRecord);
    }

    ColumnWords columnWords() { return {alive.data(), next.data(), sum0.data(), sum1.data(), changed.data()}; }
};

namespace {

// Live bits of cells 0 .. count - 1 into `bits` (cell i at bit i % 64 of
// word i / 64; the words they take are cleared first); returns true when a
// State is above 1 or a dead cell has colour.
//
// On a board as the step leaves it a cell is live exactly when any of its
// bytes is non-zero, which vector code finds for many cells at once. That
// holds when no State is above 1 and the States add up to the number of
// non-zero cells (then no dead cell has colour); the kernel gathers what it
// takes to check, and when the check fails the plain loop does the whole
// board again, cell by cell. The plain loop also takes what the kernel left.
bool scanCells(const StepKernels& kernels, const CellRecord* cells, int32_t count, uint64_t* bits) {
    const int32_t words = (count + 63) / 64;
    for (int32_t k = 0; k < words; ++k) bits[k] = 0;
    ScanCheck check;
    int32_t start = kernels.scan(cells, count, bits, check);  // from the first
    if ((check.stateBits & ~1u) != 0 || static_cast<int32_t>(check.states) != start - check.zeroCells) {
        for (int32_t k = 0; k < words; ++k) bits[k] = 0;
        start = 0;
    }
    bool odd = false;
    for (int32_t i = start; i < count; ++i) {
        const CellRecord& c = cells[i];
        bits[i / 64] |= static_cast<uint64_t>(c.State != 0) << (i % 64);
        odd |= c.State > 1 || (c.State == 0 && (c.Red | c.Green | c.Blue) != 0);
    }
    return odd;
}

// The same for the whole board, in count / 64 + 2 words, the last one spare
// and zero.
bool scanBoard(const StepKernels& kernels, const CellRecord* cells, int32_t count, uint64_t* bits) {
    for (int32_t k = (count + 63) / 64; k <= count / 64 + 1; ++k) bits[k] = 0;  // the spare words
    return scanCells(kernels, cells, count, bits);
}

// Column x of a board with odd contents after the births: State 1 for the
// cells live in `next` (W words a column), every field 0 for the others.
void putColumnRight(CellRecord* cells, const uint64_t* next, int32_t n, int w, int32_t x) {
    CellRecord* const column = cells + static_cast<std::size_t>(x) * static_cast<std::size_t>(n);
    const uint64_t* const bits = next + static_cast<std::ptrdiff_t>(x) * w;
    for (int32_t y = 0; y < n; ++y) {
        if ((bits[y / 64] >> (y % 64)) & 1)
            column[y].State = 1;
        else
            column[y] = CellRecord{};
    }
}

// The three indices i - 1, i, i + 1 wrapped to 0..n-1, in ascending order.
inline std::array<int32_t, 3> sortedAround(int32_t i, int32_t n) {
    if (i == 0) return {0, 1, n - 1};
    if (i == n - 1) return {0, n - 2, n - 1};
    return {i - 1, i, i + 1};
}

// A newborn record: State 1, Red of the first parent, Green of the second,
// Blue of the third. Built as one 32-bit word from whole-record loads and
// written in one store; written field by field it costs three stores more,
// and this is the step's busiest spot.
inline CellRecord newborn(const CellRecord* first, const CellRecord* second, const CellRecord* third) {
    constexpr auto bits = [](CellRecord c) { return std::bit_cast<uint32_t>(c); };
    constexpr uint32_t state = bits({1, 0, 0, 0}), red = bits({0, 255, 0, 0}), green = bits({0, 0, 255, 0}),
                       blue = bits({0, 0, 0, 255});
    return std::bit_cast<CellRecord>(state | (bits(*first) & red) | (bits(*second) & green) |
                                     (bits(*third) & blue));
}

// The three parents of the newborn (x, y), anywhere on the board: its live
// neighbours in ascending position, with wrapped indices. Used at the edges
// of the board and of the 64-cell words; births elsewhere take the short way
// in births() below. Like that one it gathers the 3 x 3 block as a mask and
// takes its lowest three bits, without a branch per neighbour.
template <int W>
std::array<std::ptrdiff_t, 3> parentsOf(const uint64_t* alive, int32_t n, int32_t x, int32_t y) {
    const auto cols = sortedAround(x, n), rows = sortedAround(y, n);
    const int w = ColumnWordCount<W>(n);
    unsigned mask = 0;
    for (unsigned c = 0; c < 3; ++c) {
        const uint64_t* const column = alive + cols[c] * w;
        for (unsigned r = 0; r < 3; ++r)
            mask |= static_cast<unsigned>((column[rows[r] / 64] >> (rows[r] % 64)) & 1) << (3 * c + r);
    }
    std::array<std::ptrdiff_t, 3> parent;
    for (std::ptrdiff_t& p : parent) {
        const int bit = std::countr_zero(mask);
        p = static_cast<std::ptrdiff_t>(cols[bit / 3]) * n + rows[bit % 3];
        mask &= mask - 1;
    }
    return parent;
}

// The step without lineage: nothing is tracked.
struct NoTrack {
    static constexpr bool kOn = false;
};

// The step with lineage: mutated newborns are listed, and on boards swept
// column by column the deaths too (see lineage_track.h).
struct Track {
    static constexpr bool kOn = true;
    detail::LineageTrack* lineage;

    void mutated(std::ptrdiff_t cell) const { lineage->mutations->push_back(static_cast<uint32_t>(cell)); }
};

// On boards too large for the caches (more than four words a column) the
// parents of a word's newborns are mostly in memory by the time the births
// reach them: the births ask for them this many changed words ahead, and
// meanwhile they stream in the column kStreamColumns ahead of the word, a
// word's worth of it with each changed word.
constexpr uint32_t kBirthPrefetchWords = 6;
constexpr uint32_t kStreamColumns = 2;

// What the births ask for ahead of them (see above).
enum class Prefetch { None, Stream, StreamAndParents };

// Asks for the cache lines of the three columns around the newborns of
// `word`, a line of 16 cells where any is born.
inline void prefetchParents(const CellRecord* cells, const StepWorkspace& ws, int32_t n, uint32_t w, uint32_t word) {
    const uint64_t born = ws.next[word] & ~ws.alive[word];
    if (born == 0) return;
    const auto x = static_cast<int32_t>(word / w);
    const std::size_t row = (word % w) * 64;
    const std::size_t columns[3] = {static_cast<std::size_t>(x == 0 ? n - 1 : x - 1) * n + row,
                                    static_cast<std::size_t>(x) * n + row,
                                    static_cast<std::size_t>(x == n - 1 ? 0 : x + 1) * n + row};
    for (int line = 0; line < 4; ++line)
        if ((born >> (16 * line)) & 0xFFFF)
            for (const std::size_t column : columns) __builtin_prefetch(cells + column + 16 * line);
}

// Asks for the 64 cells of column x + kStreamColumns (wrapped) in the rows of
// word k.
inline void streamAhead(const CellRecord* cells, int32_t n, int32_t x, int32_t k) {
    const int32_t ahead = x + static_cast<int32_t>(kStreamColumns);
    const CellRecord* const first =
        cells + static_cast<std::size_t>(ahead < n ? ahead : ahead - n) * static_cast<std::size_t>(n) + 64 * k;
    for (int line = 0; line < 4; ++line) __builtin_prefetch(first + 16 * line);
}

// Births, in array order (the order their random fractions are drawn); returns
// how many. A newborn was dead, so it is nobody's parent, and no birth can
// spoil the colours a later birth reads; deaths come afterwards.
//
// Away from the board's edges and from bits 0 and 63 of a word, the 3 x 3
// block around a newborn is three bits from each of three words, and as a
// 9-bit mask (bit 3c + r for column x - 1 + c, row y - 1 + r) its bit order
// is ascending position: ws.parents gives the array offsets of the mask's
// three set bits in that order.
//
// With lineage (T = Track) mutated newborns are listed; without (NoTrack)
// that code is not compiled in.
template <int W, typename T, Prefetch Ahead = W == 0 ? Prefetch::StreamAndParents : Prefetch::None,
          bool Draws = true>
uint64_t births(CellRecord* const cells, const StepWorkspace& ws, int32_t n, uint32_t first, uint32_t last,
                uint32_t changes, RandomSequence& random, const T track) {
    uint64_t count = 0;
    const uint64_t* const alive = ws.alive.data();
    const uint64_t* const next = ws.next.data();
    // Cells are stored through byte fields, which may alias anything: a local
    // copy of the sequence stays in registers where the original would be
    // reloaded after every store.
    RandomSequence sequence = random;
    const auto w = static_cast<uint32_t>(ColumnWordCount<W>(n));
    for (uint32_t c = first; c < last; ++c) {
        if constexpr (Ahead == Prefetch::StreamAndParents)
            if (c + kBirthPrefetchWords < changes)
                prefetchParents(cells, ws, n, w, ws.changed[c + kBirthPrefetchWords]);
        const uint32_t word = ws.changed[c];
        const int32_t x = static_cast<int32_t>(word / w), k = static_cast<int32_t>(word % w);
        if constexpr (Ahead != Prefetch::None) streamAhead(cells, n, x, k);
        uint64_t born = next[word] & ~alive[word];
        if (born == 0) continue;
        const bool edgeColumn = x == 0 || x == n - 1;
        const uint64_t inner = edgeColumn ? 0 : ws.innerRows[static_cast<std::size_t>(k)];
        const uint64_t left = edgeColumn ? 0 : alive[word - w], own = alive[word],
                       right = edgeColumn ? 0 : alive[word + w];
        CellRecord* const column = cells + static_cast<std::ptrdiff_t>(x) * n + 64 * k;
        do {
            const int b = std::countr_zero(born);
            CellRecord* const cell = column + b;
            if ((inner >> b) & 1) {
                const int below = b - 1;
                const unsigned mask = static_cast<unsigned>((left >> below) & 7) |
                                      static_cast<unsigned>((own >> below) & 7) << 3 |
                                      static_cast<unsigned>((right >> below) & 7) << 6;
                const auto& offset = ws.parents[mask];
                *cell = newborn(cell + offset[0], cell + offset[1], cell + offset[2]);
            } else {
                const auto parent = parentsOf<W>(alive, n, x, 64 * k + b);
                *cell = newborn(cells + parent[0], cells + parent[1], cells + parent[2]);
            }
            if (Draws && sequence.nextBits() < kMutationBelow) {
                random = sequence;
                RandomColor(random, *cell);
                sequence = random;
                if constexpr (T::kOn) track.mutated(cell - cells);
            }
            born &= born - 1;
            ++count;
        } while (born != 0);
    }
    random = sequence;
    return count;
}

// Prepares ws.parents and ws.innerRows for boards of side n.
template <int W>
void prepareBirths(StepWorkspace& ws, int32_t n) {
    if (ws.birthSide == n) return;
    for (unsigned mask = 0; mask < ws.parents.size(); ++mask) {
        auto& offset = ws.parents[mask];
        offset = {};
        unsigned rest = mask;
        for (std::size_t j = 0; j < offset.size() && rest != 0; ++j, rest &= rest - 1) {
            const int bit = std::countr_zero(rest);
            offset[j] = static_cast<int16_t>((bit / 3 - 1) * n + bit % 3 - 1);
        }
    }
    for (int k = 0; k < ColumnWordCount<W>(n); ++k) {
        uint64_t rows = 0;
        for (int b = 1; b < 63; ++b) rows |= static_cast<uint64_t>(64 * k + b < n - 1) << b;
        ws.innerRows[static_cast<std::size_t>(k)] = rows;
    }
    ws.birthSide = n;
}

// After the deaths: the lineage's live bits, the board's copy, and the live
// bits of the board as the step leaves it.
template <typename T>
void finishStep(StepWorkspace& ws, CellRecord* const cells, int32_t n, int w, uint32_t changes, bool known,
                const T& track) {
    ws.liveSide = n;
    const std::size_t total = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
    const uint64_t* const alive = ws.alive.data();
    const uint64_t* const next = ws.next.data();
    const uint32_t* const changed = ws.changed.data();
    // The lineage carries its slots over from the live bits before and after.
    if constexpr (T::kOn) {
        track.lineage->before = alive;
        track.lineage->after = next;
    }

    // 5. The copy, kept only while few words change (a settled board): cell
    // by cell when it was the board before the step, whole otherwise. On a
    // busy board the scan is cheaper than comparing and copying, and so it is
    // on any board beyond the caches (more than four words a column), where
    // the comparison reads twice what the scan reads.
    const bool quiet = changes * 2 <= static_cast<uint32_t>(n * w) && w <= kFixedColumnWords;
    if (!quiet) {
        ws.mirrorSide = 0;
    } else if (known) {
        CellRecord* const mirror = ws.mirror;
        for (uint32_t c = 0; c < changes; ++c) {
            const uint32_t word = changed[c];
            const std::size_t base = (word / w) * static_cast<std::size_t>(n) + (word % w) * 64;
            for (uint64_t flip = alive[word] ^ next[word]; flip != 0; flip &= flip - 1) {
                const std::size_t i = base + static_cast<std::size_t>(std::countr_zero(flip));
                mirror[i] = cells[i];
            }
        }
    } else {
        ws.placeMirror(cells, total);
        std::memcpy(ws.mirror, cells, total * sizeof(CellRecord));
        ws.mirrorSide = n;
    }
    std::swap(ws.alive, ws.next);  // the live bits of the board as the step leaves it
}

// Column x's live bits (W words) straight from its records; returns true
// when the column holds anything the step itself never writes.
bool scanColumn(const StepKernels& kernels, const CellRecord* cells, int32_t n, int32_t x, uint64_t* bits) {
    return scanCells(kernels, cells + static_cast<std::size_t>(x) * static_cast<std::size_t>(n), n, bits);
}

// The whole step for boards beyond the caches in one sweep over the
// columns: column x + 1 is read, then the next states of column x are worked
// out, its births take their parents from columns x - 1 to x + 1 while these
// are still in the cache, and the deaths of column x - 1 (a parent for the
// last time) follow. Every record thus comes in from memory
// once, and the births do not wait for it.
//
// The sweep may be cut into two parts of neighbouring columns, swept at the
// same time by two threads. A part's first and last column, and the column
// on either side of it, are read before either part starts; a part keeps the
// deaths of its first and last column until both parts are done, their cells
// being the other part's parents (across the wrap for the first column of
// the board and the last). Births keep array order: the first part draws its
// random fractions as it goes, the second one's are drawn afterwards, in
// order (a newborn is nobody's parent, so a mutation changes no other birth).
//
// Odd contents (see scanBoard) are put right column by column: once a part
// has read a column with any, every column it finishes from then on is put
// right instead of having its deaths cleared, which comes to the same for a
// column without any.
//
// With lineage the first part lists its mutations as it goes and the second
// one's are listed as they are drawn, so the list is in array order; each
// part keeps the records of its deaths before they are cleared.
struct SweepPart {
    int32_t first = 0, last = 0;  // its columns: first .. last - 1
    uint32_t listed = 0;          // where its changed words are listed in ws.changed
    uint32_t* dying = nullptr;    // room for its list of deaths
    bool odd = false;             // whether a column it read had odd contents
    uint32_t changes = 0;         // the end of its changed words
    uint32_t firstEnd = 0;        // the end of its first column's changed words
    uint32_t lastStart = 0;       // the start of its last column's changed words
    uint64_t births = 0;          // how many, when swept without drawing
    std::vector<detail::KeptCell>* kept = nullptr;  // where its deaths' records go, with lineage
};

class Sweep {
public:
    Sweep(const StepKernels& kernels, StepWorkspace& ws, CellRecord* cells, int32_t n, uint64_t lastMask,
          detail::LineageTrack* lineage)
        : kernels_(kernels), ws_(ws), cells_(cells), n_(n), w_(ColumnWordCount<0>(n)), lastMask_(lastMask),
          words_(ws.columnWords()), lineage_(lineage) {}

    // Reads column x: its live bits and sums. Returns true for odd contents.
    bool ready(int32_t x) const {
        const bool odd = scanColumn(kernels_, cells_, n_, x, words_.alive + static_cast<std::ptrdiff_t>(x) * w_);
        columnSumsPortable(words_, n_, lastMask_, x);
        return odd;
    }

    // Sweeps a part whose first and last columns and their outer neighbours
    // are ready; draws the births' fractions from `random` unless it is null.
    void part(SweepPart& p, RandomSequence* random) const {
        uint32_t changes = p.listed, before = p.listed;
        for (int32_t x = p.first; x < p.last; ++x) {
            if (x + 1 < p.last - 1) p.odd |= ready(x + 1);
            const uint32_t start = changes;
            changes = columnNextPortable(words_, n_, lastMask_, x, changes);
            if (random && lineage_)
                births<0, Track, Prefetch::Stream>(cells_, ws_, n_, start, changes, changes, *random,
                                                   Track{lineage_});
            else if (random)
                births<0, NoTrack, Prefetch::Stream>(cells_, ws_, n_, start, changes, changes, *random, NoTrack{});
            else
                p.births += births<0, NoTrack, Prefetch::Stream, false>(cells_, ws_, n_, start, changes, changes,
                                                                        unused_, NoTrack{});
            if (x == p.first) p.firstEnd = changes;
            if (x >= p.first + 2) finish(x - 1, before, start, p.odd, p);
            before = start;
        }
        p.lastStart = before;
        p.changes = changes;
    }

    // The deaths of column x, whose changed words are first .. last - 1, or
    // the whole column put right; with lineage, their records kept first.
    void finish(int32_t x, uint32_t first, uint32_t last, bool odd, const SweepPart& p) const {
        if (p.kept) keepDeaths(first, last, *p.kept);
        if (odd) return putColumnRight(cells_, words_.next, n_, w_, x);
        ColumnWords batch = words_;
        batch.changed += first;
        kernels_.clearDeaths[KernelVariant(w_)](cells_, batch, n_, last - first, p.dying);
    }

    void keepDeaths(uint32_t first, uint32_t last, std::vector<detail::KeptCell>& kept) const {
        const auto w = static_cast<uint32_t>(w_);
        for (uint32_t c = first; c < last; ++c) {
            const uint32_t word = words_.changed[c];
            const auto base = static_cast<uint32_t>((word / w) * static_cast<uint32_t>(n_) + (word % w) * 64);
            for (uint64_t died = words_.alive[word] & ~words_.next[word]; died != 0; died &= died - 1) {
                const uint32_t cell = base + static_cast<uint32_t>(std::countr_zero(died));
                kept.push_back({cell, cells_[cell]});
            }
        }
    }

    // The fractions of a part swept without them, in array order: one for
    // each of its births, and three more for each that mutates. Only those
    // few need their cell, which is found by counting births word by word.
    void drawAfterwards(const SweepPart& p, RandomSequence& random) const {
        const uint64_t* const alive = ws_.alive.data();
        const uint64_t* const next = ws_.next.data();
        const uint32_t* const changed = ws_.changed.data();
        const auto w = static_cast<uint32_t>(w_);
        uint32_t c = p.listed;  // the births not drawn for yet: those of `born` in word changed[c], then on
        uint64_t born = c < p.changes ? next[changed[c]] & ~alive[changed[c]] : 0;
        RandomSequence sequence = random;  // in registers
        for (uint64_t left = p.births; left > 0;) {
            uint64_t skipped = 0;
            while (skipped < left && sequence.nextBits() >= kMutationBelow) ++skipped;
            if (skipped == left) break;
            left -= skipped + 1;
            for (auto count = static_cast<uint64_t>(std::popcount(born)); count <= skipped;
                 count = static_cast<uint64_t>(std::popcount(born))) {
                skipped -= count;
                ++c;
                born = next[changed[c]] & ~alive[changed[c]];
            }
            for (; skipped > 0; --skipped) born &= born - 1;
            const uint32_t word = changed[c];
            CellRecord* const column = cells_ + (word / w) * static_cast<std::size_t>(n_) + (word % w) * 64;
            RandomColor(sequence, column[std::countr_zero(born)]);
            if (lineage_) Track{lineage_}.mutated(column + std::countr_zero(born) - cells_);
            born &= born - 1;
        }
        random = sequence;
    }

private:
    const StepKernels& kernels_;
    const StepWorkspace& ws_;
    CellRecord* const cells_;
    const int32_t n_;
    const int w_;
    const uint64_t lastMask_;
    const ColumnWords words_;
    detail::LineageTrack* const lineage_;
    mutable RandomSequence unused_;  // never drawn from
};

template <typename T>
void sweepColumns(const StepKernels& kernels, StepWorkspace& ws, CellRecord* const cells, int32_t n,
                  uint64_t lastMask, RandomSequence& random, StepHelper* helper, const T& track) {
    const int w = ColumnWordCount<0>(n);
    detail::LineageTrack* lineage = nullptr;
    if constexpr (T::kOn) lineage = track.lineage;
    const Sweep sweep(kernels, ws, cells, n, lastMask, lineage);
    if (!helper) {
        SweepPart whole{0, n, 0, ws.dying.data()};
        if (lineage) whole.kept = lineage->deaths[0];
        whole.odd = sweep.ready(n - 1) | sweep.ready(0);
        sweep.part(whole, &random);
        sweep.finish(n - 1, whole.lastStart, whole.changes, whole.odd, whole);
        sweep.finish(0, whole.listed, whole.firstEnd, whole.odd, whole);
        return finishStep(ws, cells, n, w, whole.changes, false, track);
    }
    const int32_t half = n / 2;
    SweepPart parts[2] = {{0, half, 0, ws.dying.data()},
                          {half, n, static_cast<uint32_t>(half * w), ws.secondDying.data()}};
    if (lineage) parts[0].kept = lineage->deaths[0], parts[1].kept = lineage->deaths[1];
    const bool odd = sweep.ready(n - 1) | sweep.ready(0) | sweep.ready(half - 1) | sweep.ready(half);
    parts[0].odd = parts[1].odd = odd;
    helper->run([&] { sweep.part(parts[1], nullptr); });
    sweep.part(parts[0], &random);
    helper->wait();
    sweep.drawAfterwards(parts[1], random);
    const bool anyOdd = parts[0].odd || parts[1].odd;
    for (const SweepPart& p : parts) {
        sweep.finish(p.first, p.listed, p.firstEnd, anyOdd, p);
        sweep.finish(p.last - 1, p.lastStart, p.changes, anyOdd, p);
    }
    finishStep(ws, cells, n, w, parts[1].changes, false, track);
}

template <int W, typename T>
void step(const StepKernels& kernels, StepWorkspace& ws, CellRecord* const cells, int32_t n, RandomSequence& random,
          const T& track, StepHelper* helper) {
    const int w = ColumnWordCount<W>(n);
    const int variant = KernelVariant(w);
    ws.reserve(n, w);
    const int tailBits = n - 64 * (w - 1);
    const uint64_t lastMask = tailBits == 64 ? ~uint64_t{0} : (uint64_t{1} << tailBits) - 1;
    const std::size_t total = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);

    if constexpr (W == 0) {
        prepareBirths<W>(ws, n);
        return sweepColumns(kernels, ws, cells, n, lastMask, random, helper, track);
    }

    // 1. Live or dead. While the board is quiet the step keeps a copy of it:
    // when the board still equals that copy (nothing was edited since), the
    // live bits the last step left are still true and one block comparison
    // replaces the scan. Otherwise the bits come from the whole board at
    // once, then column by column.
    const bool known = ws.mirrorSide == n && std::memcmp(ws.mirror, cells, total * sizeof(CellRecord)) == 0;
    bool odd = false;
    if (!known) {
        odd = scanBoard(kernels, cells, n * n, ws.flat.data());
        kernels.columnBits[variant](ws.flat.data(), n, lastMask, ws.alive.data());
    }

    // With lineage: cells that came to life or died since the lineage last
    // saw the board were edited; it takes note before the step goes on.
    if constexpr (T::kOn)
        if (std::memcmp(track.lineage->live, ws.alive.data(), static_cast<std::size_t>(n) * w * sizeof(uint64_t)) != 0)
            track.lineage->edited();

    // 2. The next states.
    const ColumnWords words = ws.columnWords();
    const uint32_t changes = kernels.computeNext[variant](words, n, lastMask);
    const uint64_t* const next = ws.next.data();

    // 3. Births, then 4. deaths, or a full clean-up of a board with odd
    // contents.
    prepareBirths<W>(ws, n);
    births<W>(cells, ws, n, 0, changes, changes, random, track);
    if (odd) {
        for (int32_t x = 0; x < n; ++x) putColumnRight(cells, next, n, w, x);
    } else {
        // In batches of changed words, so that the list of deaths stays small
        // on the largest boards.
        for (uint32_t first = 0; first < changes; first += kDeathBatchWords) {
            ColumnWords batch = words;
            batch.changed += first;
            kernels.clearDeaths[variant](cells, batch, n, std::min(changes - first, kDeathBatchWords),
                                         ws.dying.data());
        }
    }

    finishStep(ws, cells, n, w, changes, known, track);
}

}  // namespace

Stepper::Stepper() : Stepper(FastestKernelSet()) {}

// The scratch memory comes with the first step (and again after a move).
Stepper::Stepper(KernelSet set) : kernels_(&KernelsFor(set)) {}

Stepper::~Stepper() = default;
Stepper::Stepper(Stepper&&) noexcept = default;
Stepper& Stepper::operator=(Stepper&&) noexcept = default;

KernelSet Stepper::kernelSet() const { return kernels_->set; }

// The thread itself comes with the first board large enough for it; on a
// processor with one core it would only take turns with the caller's.
void Stepper::useSecondThread(bool on) {
    static const bool cores = std::thread::hardware_concurrency() >= 2;
    secondThread_ = on && cores;
    if (!secondThread_) helper_.reset();
}

bool Stepper::usesSecondThread() const { return secondThread_; }

int32_t Stepper::liveCells(const Board& board) const {
    const StepWorkspace* const ws = workspace_.get();
    if (!ws || ws->liveSide == 0 || ws->liveSide != board.side() || ws->liveCells != board.Cells.data() ||
        ws->liveGeneration != board.Generation)
        return board.countLive();
    const int32_t n = ws->liveSide;
    const std::size_t words = static_cast<std::size_t>(n) * static_cast<std::size_t>((n + 63) / 64);
    return static_cast<int32_t>(kernels_->countBits(ws->alive.data(), words));
}

template <typename T>
void Stepper::run(Board& board, RandomSequence& random, const T& track) {
    const int32_t n = board.side();
    // Arrays that do not match GridMax (a board being released) are left
    // alone, and so is anything smaller than the smallest board (3 x 3 is
    // where a cell's neighbours stop overlapping).
    if (workspace_) workspace_->liveSide = 0;
    if (!Steppable(board)) return;
    static_assert(kFixedColumnWords == 4);
    if (!workspace_) workspace_ = std::make_unique<StepWorkspace>();
    CellRecord* const cells = board.Cells.data();
    switch ((n + 63) / 64) {
        case 1: step<1>(*kernels_, *workspace_, cells, n, random, track, nullptr); break;
        case 2: step<2>(*kernels_, *workspace_, cells, n, random, track, nullptr); break;
        case 3: step<3>(*kernels_, *workspace_, cells, n, random, track, nullptr); break;
        case 4: step<4>(*kernels_, *workspace_, cells, n, random, track, nullptr); break;
        default:
            if (secondThread_ && n >= kSecondThreadSide && !helper_) helper_ = std::make_unique<StepHelper>();
            step<0>(*kernels_, *workspace_, cells, n, random, track,
                    n >= kSecondThreadSide ? helper_.get() : nullptr);
            break;
    }
    // The counter stops at its largest value rather than overflowing.
    if (board.Generation < std::numeric_limits<int32_t>::max()) ++board.Generation;
    workspace_->liveCells = cells;
    workspace_->liveGeneration = board.Generation;
}

void Stepper::inTwo(int32_t side, const std::function<void(int part)>& job) {
    if (!secondThread_ || side < kSecondThreadSide) {
        job(0);
        return job(1);
    }
    if (!helper_) helper_ = std::make_unique<StepHelper>();
    helper_->run([&] { job(1); });
    job(0);
    helper_->wait();
}

void Stepper::ReCalc(Board& board, RandomSequence& random) { run(board, random, NoTrack{}); }

void Stepper::ReCalcTracked(Board& board, RandomSequence& random, detail::LineageTrack& lineage) {
    lineage.kernels = kernels_;
    run(board, random, Track{&lineage});
}

bool Steppable(const Board& board) {
    const int32_t n = board.side();
    // The kernels hold a column in at most kMaxColumnWords words.
    return n >= 3 && n <= kMaxGridMax + 1 && n <= kMaxColumnWords * 64 &&
           board.Cells.size() == static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
}

void ReCalc(Board& board, RandomSequence& random) { Stepper().ReCalc(board, random); }

}  // namespace engine
