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
//      one to four 64-bit words (row y is bit y % 64 of word y / 64); at the
//      same time note whether the board holds anything the step itself never
//      writes (a State other than 0 or 1, a dead cell with colour left in it);
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
// Tally is not needed and is left as it was (scratch, as everywhere outside
// the step).

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/rules.h"

namespace engine {
namespace {

constexpr int kMaxWords = (kMaxGridMax + 1 + 63) / 64;

// Scratch space reused by every step; it grows with the largest board seen.
// `mirror` is a copy of the board as the last step left it, and `alive` its
// live bits: when the board still equals it (nothing was edited since), one
// block comparison replaces reading every cell's State.
struct Workspace {
    std::vector<uint64_t> alive, next, sum0, sum1;  // per column, W words each
    std::vector<uint32_t> changed;                   // the words where next differs from alive
    std::vector<CellRecord> mirror;
    int32_t mirrorSide = 0;  // 0: no mirror
    std::array<std::array<int16_t, 3>, 512> parents{};
    std::array<uint64_t, kMaxWords> innerRows{};
    int32_t birthSide = 0;  // the side parents and innerRows are for; 0: none
    void reserve(std::size_t words) {
        if (alive.size() < words) {
            alive.resize(words);
            next.resize(words);
            sum0.resize(words);
            sum1.resize(words);
            changed.resize(words);
        }
    }
};

Workspace& workspace() {
    static thread_local Workspace w;
    return w;
}

// One bit per cell for `count` (at most 64) consecutive cells, bit j for cell
// j; sets bits of `odd` when a State is above 1 or a dead cell has colour.
inline uint64_t liveBits(const CellRecord* cells, int count, uint32_t& odd) {
    uint64_t bits = 0;
    int j = 0;
#if defined(__SSE2__)
    const __m128i lowByte = _mm_set1_epi32(0xFF), one = _mm_set1_epi32(1), zero = _mm_setzero_si128();
    __m128i oddCells = zero;
    for (; j + 4 <= count; j += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cells + j));
        const __m128i state = _mm_and_si128(v, lowByte);
        const __m128i dead = _mm_cmpeq_epi32(state, zero);
        const __m128i empty = _mm_cmpeq_epi32(v, zero);
        oddCells = _mm_or_si128(oddCells, _mm_or_si128(_mm_cmpgt_epi32(state, one), _mm_andnot_si128(empty, dead)));
        bits |= static_cast<uint64_t>(~_mm_movemask_ps(_mm_castsi128_ps(dead)) & 0xF) << j;
    }
    odd |= static_cast<uint32_t>(_mm_movemask_epi8(oddCells));
#endif
    for (; j < count; ++j) {
        const CellRecord& c = cells[j];
        bits |= static_cast<uint64_t>(c.State != 0) << j;
        odd |= static_cast<uint32_t>(c.State > 1) | static_cast<uint32_t>(c.State == 0 && (c.Red | c.Green | c.Blue));
    }
    return bits;
}

// Vertical strips of three for one column of `n` cells in W words: the count
// of live cells at rows y - 1, y and y + 1 (wrapped) as s0 + 2 * s1.
template <int W>
inline void verticalSums(const uint64_t* a, int32_t n, uint64_t lastMask, uint64_t* s0, uint64_t* s1) {
    const int lastWord = (n - 1) / 64, lastBit = (n - 1) % 64;
    const uint64_t bottom = (a[lastWord] >> lastBit) & 1;  // row n - 1, above row 0
    const uint64_t top = a[0] & 1;                          // row 0, below row n - 1
    for (int k = 0; k < W; ++k) {
        uint64_t up = (a[k] << 1) | (k > 0 ? a[k - 1] >> 63 : bottom);
        uint64_t down = (a[k] >> 1) | (k + 1 < W ? a[k + 1] << 63 : 0);
        if (k == W - 1) {
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
template <int W>
inline void nextColumn(const uint64_t* l0, const uint64_t* l1, const uint64_t* c0, const uint64_t* c1,
                       const uint64_t* r0, const uint64_t* r1, const uint64_t* alive, uint64_t lastMask,
                       uint64_t* next, uint32_t first, uint32_t* changed, uint32_t& changes) {
    for (int k = 0; k < W; ++k) {
        const uint64_t ones = l0[k] ^ c0[k] ^ r0[k];
        const uint64_t carry = (l0[k] & c0[k]) | (r0[k] & (l0[k] ^ c0[k]));
        // The pairs: l1 + c1 + r1 + carry, 0..4, as t0 + 2 t1 + 4 t2.
        const uint64_t p0 = l1[k] ^ c1[k] ^ r1[k];
        const uint64_t p1 = (l1[k] & c1[k]) | (r1[k] & (l1[k] ^ c1[k]));
        const uint64_t t0 = p0 ^ carry, t0carry = p0 & carry;
        const uint64_t t1 = p1 ^ t0carry, t2 = p1 & t0carry;
        const uint64_t three = ones & t0 & ~t1 & ~t2;
        const uint64_t four = ~ones & ~t0 & t1 & ~t2;
        next[k] = (three | (alive[k] & four)) & (k == W - 1 ? lastMask : ~uint64_t{0});
        changed[changes] = first + static_cast<uint32_t>(k);
        changes += next[k] != alive[k];
    }
}

// The next states of the whole board; returns how many words changed, their
// indices in ascending order in ws.changed.
template <int W>
uint32_t computeNext(Workspace& ws, int32_t n, uint64_t lastMask) {
    const uint64_t* alive = ws.alive.data();
    uint64_t* s0 = ws.sum0.data();
    uint64_t* s1 = ws.sum1.data();
    uint64_t* next = ws.next.data();
    uint32_t* changed = ws.changed.data();
    uint32_t changes = 0;
    for (int32_t x = 0; x < n; ++x) verticalSums<W>(alive + x * W, n, lastMask, s0 + x * W, s1 + x * W);
    for (int32_t x = 0; x < n; ++x) {
        const int32_t l = (x == 0 ? n - 1 : x - 1) * W, c = x * W, r = (x == n - 1 ? 0 : x + 1) * W;
        nextColumn<W>(s0 + l, s1 + l, s0 + c, s1 + c, s0 + r, s1 + r, alive + c, lastMask, next + c,
                      static_cast<uint32_t>(c), changed, changes);
    }
    return changes;
}

// The three indices i - 1, i, i + 1 wrapped to 0..n-1, in ascending order.
inline std::array<int32_t, 3> sortedAround(int32_t i, int32_t n) {
    if (i == 0) return {0, 1, n - 1};
    if (i == n - 1) return {0, n - 2, n - 1};
    return {i - 1, i, i + 1};
}

// The colour the newborn (x, y) inherits, anywhere on the board: its live
// neighbours in ascending position, with wrapped indices. Used at the edges
// of the board and of the 64-cell words; births elsewhere take the short way
// in births() below.
template <int W>
CellRecord inheritedColour(const CellRecord* cells, const uint64_t* alive, int32_t n, int32_t x, int32_t y) {
    const CellRecord* parent[3] = {};
    int found = 0;
    for (const int32_t c : sortedAround(x, n))
        for (const int32_t r : sortedAround(y, n))
            if (found < 3 && ((alive[c * W + r / 64] >> (r % 64)) & 1))
                parent[found++] = cells + static_cast<std::ptrdiff_t>(c) * n + r;
    return {1, parent[0]->Red, parent[1]->Green, parent[2]->Blue};
}

// Births, in array order (the order their random fractions are drawn). A
// newborn was dead, so it is nobody's parent, and no birth can spoil the
// colours a later birth reads; deaths come afterwards.
//
// Away from the board's edges and from bits 0 and 63 of a word, the 3 x 3
// block around a newborn is three bits from each of three words, and as a
// 9-bit mask (bit 3c + r for column x - 1 + c, row y - 1 + r) its bit order
// is ascending position: ws.parents gives the array offsets of the mask's
// three set bits in that order.
template <int W>
void births(CellRecord* const cells, const Workspace& ws, int32_t n, uint32_t changes, RandomSequence& random) {
    const uint64_t* const alive = ws.alive.data();
    const uint64_t* const next = ws.next.data();
    // Cells are stored through byte fields, which may alias anything: a local
    // copy of the sequence stays in registers where the original would be
    // reloaded after every store.
    RandomSequence sequence = random;
    for (uint32_t c = 0; c < changes; ++c) {
        const uint32_t word = ws.changed[c];
        uint64_t born = next[word] & ~alive[word];
        if (born == 0) continue;
        const int32_t x = static_cast<int32_t>(word / W), k = static_cast<int32_t>(word % W);
        const bool edgeColumn = x == 0 || x == n - 1;
        const uint64_t inner = edgeColumn ? 0 : ws.innerRows[static_cast<std::size_t>(k)];
        const uint64_t left = edgeColumn ? 0 : alive[word - W], own = alive[word],
                       right = edgeColumn ? 0 : alive[word + W];
        CellRecord* const column = cells + static_cast<std::ptrdiff_t>(x) * n + 64 * k;
        do {
            const int b = std::countr_zero(born);
            CellRecord* const cell = column + b;
            CellRecord colour;
            if ((inner >> b) & 1) {
                const int below = b - 1;
                const unsigned mask = static_cast<unsigned>((left >> below) & 7) |
                                      static_cast<unsigned>((own >> below) & 7) << 3 |
                                      static_cast<unsigned>((right >> below) & 7) << 6;
                const auto& offset = ws.parents[mask];
                colour = CellRecord{1, cell[offset[0]].Red, cell[offset[1]].Green, cell[offset[2]].Blue};
            } else {
                colour = inheritedColour<W>(cells, alive, n, x, 64 * k + b);
            }
            *cell = colour;
            if (sequence.nextBits() < kMutationBelow) {
                random = sequence;
                RandomColor(random, *cell);
                sequence = random;
            }
            born &= born - 1;
        } while (born != 0);
    }
    random = sequence;
}

// Prepares ws.parents and ws.innerRows for boards of side n.
template <int W>
void prepareBirths(Workspace& ws, int32_t n) {
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
    for (int k = 0; k < W; ++k) {
        uint64_t rows = 0;
        for (int b = 1; b < 63; ++b) rows |= static_cast<uint64_t>(64 * k + b < n - 1) << b;
        ws.innerRows[static_cast<std::size_t>(k)] = rows;
    }
    ws.birthSide = n;
}

template <int W>
void step(CellRecord* const cells, int32_t n, RandomSequence& random) {
    Workspace& ws = workspace();
    ws.reserve(static_cast<std::size_t>(n) * W);
    const std::size_t total = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
    const int tailBits = n - 64 * (W - 1);
    const uint64_t lastMask = tailBits == 64 ? ~uint64_t{0} : (uint64_t{1} << tailBits) - 1;

    // 1. Live or dead, and anything the step would not have written: known
    // already when the board is as the last step left it.
    uint32_t odd = 0;
    const bool known = ws.mirrorSide == n && std::memcmp(ws.mirror.data(), cells, total * sizeof(CellRecord)) == 0;
    if (!known) {
        for (int32_t x = 0; x < n; ++x) {
            const CellRecord* column = cells + static_cast<std::size_t>(x) * static_cast<std::size_t>(n);
            for (int k = 0; k < W; ++k)
                ws.alive[x * W + k] = liveBits(column + 64 * k, k == W - 1 ? tailBits : 64, odd);
        }
    }

    // 2. The next states.
    const uint32_t changes = computeNext<W>(ws, n, lastMask);
    const uint64_t* const alive = ws.alive.data();
    const uint64_t* const next = ws.next.data();
    const uint32_t* const changed = ws.changed.data();

    // 3. Births.
    prepareBirths<W>(ws, n);
    births<W>(cells, ws, n, changes, random);

    // 4. Deaths, or a full clean-up of a board with odd contents. The mirror
    // follows the board: cell by cell when it was the board before the step,
    // copied whole otherwise.
    if (ws.mirror.size() < total) ws.mirror.resize(total);
    // Many changes (a young soup) are cheaper to copy as one block.
    const bool copyWhole = odd || !known || changes * 2 > static_cast<uint32_t>(n) * W;
    CellRecord* const mirror = ws.mirror.data();
    if (odd) {
        for (int32_t x = 0; x < n; ++x)
            for (int32_t y = 0; y < n; ++y) {
                CellRecord& cell = cells[static_cast<std::size_t>(x) * static_cast<std::size_t>(n) + y];
                if ((next[x * W + y / 64] >> (y % 64)) & 1)
                    cell.State = 1;
                else
                    cell = CellRecord{};
            }
    } else {
        for (uint32_t c = 0; c < changes; ++c) {
            const uint32_t word = changed[c];
            const std::size_t base = (word / W) * static_cast<std::size_t>(n) + (word % W) * 64;
            if (!copyWhole)
                for (uint64_t born = next[word] & ~alive[word]; born != 0; born &= born - 1) {
                    const std::size_t i = base + static_cast<std::size_t>(std::countr_zero(born));
                    mirror[i] = cells[i];
                }
            for (uint64_t died = alive[word] & ~next[word]; died != 0; died &= died - 1) {
                const std::size_t i = base + static_cast<std::size_t>(std::countr_zero(died));
                cells[i] = CellRecord{};
                if (!copyWhole) mirror[i] = CellRecord{};
            }
        }
    }
    if (copyWhole) std::memcpy(mirror, cells, total * sizeof(CellRecord));
    ws.mirrorSide = n;
    std::swap(ws.alive, ws.next);
}

}  // namespace

void ReCalc(Board& board, RandomSequence& random) {
    const int32_t n = board.side();
    // Arrays that do not match GridMax (a board being released) are left
    // alone, and so is anything smaller than the smallest board (3 x 3 is
    // where a cell's neighbours stop overlapping).
    if (n < 3 || n > kMaxGridMax + 1 ||
        board.Cells.size() != static_cast<std::size_t>(n) * static_cast<std::size_t>(n))
        return;
    static_assert(kMaxWords == 4);
    switch ((n + 63) / 64) {
        case 1: step<1>(board.Cells.data(), n, random); break;
        case 2: step<2>(board.Cells.data(), n, random); break;
        case 3: step<3>(board.Cells.data(), n, random); break;
        default: step<4>(board.Cells.data(), n, random); break;
    }
    // The counter stops at its largest value rather than overflowing.
    if (board.Generation < std::numeric_limits<int32_t>::max()) ++board.Generation;
}

}  // namespace engine
