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
//      writes (a State other than 0 or 1, a dead cell with colour left in it).
//      The bits come from the board itself, in one vector pass, so edits,
//      loads and pastes between steps need no notice; only while the board
//      is quiet does a block comparison with a copy stand in for the pass
//      (see step());
//   2. per column, the live cells of the vertical strip of three around every
//      cell as a two-bit number in two words (bit-sliced full adders, rows
//      wrapping at the top and bottom); per cell, the 3 x 3 total from the
//      strips of its own and the two neighbouring columns, again with
//      bit-sliced adders: born with 3, survives with 3 or 4 (itself included).
//      On the largest boards, four words a column, AVX2 does a column at once;
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
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

#include "engine/rules.h"

namespace engine {
namespace {

constexpr int kMaxWords = (kMaxGridMax + 1 + 63) / 64;

// Scratch space reused by every step; it grows with the largest board seen.
struct Workspace {
    std::vector<uint64_t> flat;                      // the scan's bits, cell i at bit i, five words spare
    std::vector<CellRecord> mirror;                  // the board as the last step left it (see step())
    int32_t mirrorSide = 0;                          // 0: no copy
    std::vector<uint64_t> alive, next, sum0, sum1;  // per column, W words each
    std::vector<uint32_t> changed;                   // the words where next differs from alive
    std::vector<uint32_t> dying;                     // the cells that die (see clearDeathsListed())
    // The array offsets of the first three set bits of every 3 x 3 mask (see
    // births()), and per word the rows whose 3 x 3 block lies within the word
    // and the board; for boards of side birthSide (0: none yet).
    std::array<std::array<int16_t, 3>, 512> parents{};
    std::array<uint64_t, kMaxWords> innerRows{};
    int32_t birthSide = 0;

    void reserve(int32_t n, int words) {
        const std::size_t size = static_cast<std::size_t>(n) * static_cast<std::size_t>(words);
        if (alive.size() < size) {
            alive.resize(size);
            next.resize(size);
            sum0.resize(size);
            sum1.resize(size);
            changed.resize(size);
            dying.resize(size * 64 + 8);  // every cell, and eight more
        }
        const std::size_t cells = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
        if (flat.size() < cells / 64 + 6) flat.resize(cells / 64 + 6);  // four words to spare for columnBitsAvx2()
    }
};

Workspace& workspace() {
    static thread_local Workspace w;
    return w;
}

// The scan. On a board as the step leaves it a cell is live exactly when any
// of its bytes is non-zero, which vector code finds for many cells at once.
// That holds when no State is above 1 and the States add up to the number of
// non-zero cells (then no dead cell has colour); the vector code gathers what
// it takes to check, and when the check fails the plain loop does the whole
// board again, cell by cell.
//
// The vector code takes blocks of kScanBlock cells: 512 / 4 = 128 cells meet
// in one 32-bit lane, whose low byte adds up their States, and at most 32
// groups of 16 in one byte of the zero counts.
constexpr int32_t kScanBlock = 512;

struct ScanCheck {
    uint32_t stateBits = 0;  // the States or-ed together
    uint32_t states = 0;     // the States added up
    int32_t zeroCells = 0;   // cells with every byte 0
};

#if defined(__SSE2__)
// From j on, in groups of 16 and then of 4 cells; returns where it stopped.
inline int32_t scanSse2(const CellRecord* cells, int32_t j, int32_t count, uint64_t* words, ScanCheck& check) {
    if (j + 4 > count) return j;  // nothing for it (the AVX2 code took it all)
    const __m128i zero = _mm_setzero_si128();
    __m128i anyBytes = zero, stateSum = zero, zeroCells = zero;
    const auto gather = [&](__m128i v) {
        anyBytes = _mm_or_si128(anyBytes, v);
        stateSum = _mm_add_epi32(stateSum, v);
    };
    // The bits of a word gather in a register: or-ing them into memory at
    // every turn would chain the turns through a store and a load.
    while (j + 16 <= count) {
        uint64_t word = 0;
        const int32_t k = j / 64;
        do {
            const __m128i* p = reinterpret_cast<const __m128i*>(cells + j);
            const __m128i a = _mm_loadu_si128(p), b = _mm_loadu_si128(p + 1), c = _mm_loadu_si128(p + 2),
                          d = _mm_loadu_si128(p + 3);
            gather(a), gather(b), gather(c), gather(d);
            // Signed saturation keeps non-zero values non-zero: one byte per cell.
            const __m128i isZero =
                _mm_cmpeq_epi8(_mm_packs_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d)), zero);
            zeroCells = _mm_sub_epi8(zeroCells, isZero);
            word |= static_cast<uint64_t>(~_mm_movemask_epi8(isZero) & 0xFFFF) << (j % 64);
            j += 16;
        } while (j + 16 <= count && j % 64 != 0);
        words[k] |= word;
    }
    for (; j + 4 <= count; j += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cells + j));
        gather(v);
        const __m128i isZero = _mm_cmpeq_epi32(v, zero);
        zeroCells = _mm_add_epi8(zeroCells, _mm_and_si128(isZero, _mm_set1_epi32(1)));
        words[j / 64] |= static_cast<uint64_t>(~_mm_movemask_ps(_mm_castsi128_ps(isZero)) & 0xF) << (j % 64);
    }
    alignas(16) uint32_t lanes[2][4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes[0]), _mm_and_si128(anyBytes, _mm_set1_epi32(0xFF)));
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes[1]), _mm_and_si128(stateSum, _mm_set1_epi32(0xFF)));
    const __m128i zeroCount = _mm_sad_epu8(zeroCells, zero);
    for (int i = 0; i < 4; ++i) check.stateBits |= lanes[0][i], check.states += lanes[1][i];
    check.zeroCells += _mm_cvtsi128_si32(zeroCount) + _mm_cvtsi128_si32(_mm_unpackhi_epi64(zeroCount, zeroCount));
    return j;
}
#endif

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KALEIDOMAT_SCAN_AVX2 1
inline bool haveAvx2() {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

// The same as scanSse2 for groups of 32 cells, on processors with AVX2 (the
// build itself assumes only SSE2).
__attribute__((target("avx2"))) int32_t scanAvx2(const CellRecord* cells, int32_t count, uint64_t* words,
                                                 ScanCheck& check) {
    const __m256i zero = _mm256_setzero_si256();
    // The packs work within 128-bit halves; this puts the cells back in order.
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    __m256i anyBytes = zero, stateSum = zero, zeroCells = zero;
    int32_t j = 0;
    while (j + 32 <= count) {
        uint64_t word = 0;
        const int32_t k = j / 64;
        do {
            const __m256i* p = reinterpret_cast<const __m256i*>(cells + j);
            const __m256i a = _mm256_loadu_si256(p), b = _mm256_loadu_si256(p + 1), c = _mm256_loadu_si256(p + 2),
                          d = _mm256_loadu_si256(p + 3);
            anyBytes = _mm256_or_si256(anyBytes, _mm256_or_si256(_mm256_or_si256(a, b), _mm256_or_si256(c, d)));
            stateSum =
                _mm256_add_epi32(stateSum, _mm256_add_epi32(_mm256_add_epi32(a, b), _mm256_add_epi32(c, d)));
            const __m256i packed = _mm256_permutevar8x32_epi32(
                _mm256_packs_epi16(_mm256_packs_epi32(a, b), _mm256_packs_epi32(c, d)), order);
            const __m256i isZero = _mm256_cmpeq_epi8(packed, zero);
            zeroCells = _mm256_sub_epi8(zeroCells, isZero);
            word |= static_cast<uint64_t>(~static_cast<uint32_t>(_mm256_movemask_epi8(isZero))) << (j % 64);
            j += 32;
        } while (j + 32 <= count && j % 64 != 0);
        words[k] |= word;
    }
    alignas(32) uint32_t lanes[2][8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes[0]), _mm256_and_si256(anyBytes, _mm256_set1_epi32(0xFF)));
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes[1]), _mm256_and_si256(stateSum, _mm256_set1_epi32(0xFF)));
    alignas(32) uint64_t zeroCounts[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(zeroCounts), _mm256_sad_epu8(zeroCells, zero));
    for (int i = 0; i < 8; ++i) check.stateBits |= lanes[0][i], check.states += lanes[1][i];
    for (const uint64_t z : zeroCounts) check.zeroCells += static_cast<int32_t>(z);
    return j;
}
#endif

// Live bits of the whole board into `bits` (cell i at bit i % 64 of word
// i / 64; count / 64 + 2 words, the last one spare and zero); returns true when
// a State is above 1 or a dead cell has colour. The vector code works in
// blocks small enough for its byte-wide counts.
inline bool scanBoard(const CellRecord* cells, int32_t count, uint64_t* bits) {
    for (int32_t k = 0; k <= count / 64 + 1; ++k) bits[k] = 0;
    ScanCheck check;
    int32_t vectorCells = 0;  // the cells the vector code went through, from the first
    for (int32_t start = 0; start < count; start += kScanBlock) {
        const int32_t length = std::min(kScanBlock, count - start);
        int32_t j = 0;
#if defined(KALEIDOMAT_SCAN_AVX2)
        if (haveAvx2()) j = scanAvx2(cells + start, length, bits + start / 64, check);
#endif
#if defined(__SSE2__)
        j = scanSse2(cells + start, j, length, bits + start / 64, check);
#endif
        vectorCells = start + j;
        if (j < length) break;  // only the last block leaves cells over
    }
    int32_t start = vectorCells;  // the rest cell by cell
    if ((check.stateBits & ~1u) != 0 || static_cast<int32_t>(check.states) != vectorCells - check.zeroCells) {
        for (int32_t k = 0; k <= count / 64; ++k) bits[k] = 0;
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

#if defined(KALEIDOMAT_SCAN_AVX2)
// computeNext<4> with a whole column in one AVX2 register: the largest boards
// (193 to 200 cells a side) have four words a column, and the adders then do
// a column at a time instead of a word. Same results, word for word.
__attribute__((target("avx2"))) uint32_t computeNextAvx2(Workspace& ws, int32_t n, uint64_t lastMask) {
    constexpr int W = 4;
    const auto* const alive = reinterpret_cast<const __m256i*>(ws.alive.data());
    auto* const s0 = reinterpret_cast<__m256i*>(ws.sum0.data());
    auto* const s1 = reinterpret_cast<__m256i*>(ws.sum1.data());
    auto* const next = reinterpret_cast<__m256i*>(ws.next.data());
    uint32_t* const changed = ws.changed.data();
    const long long lastBit = (n - 1) % 64, all = -1;
    const __m256i inBoard = _mm256_setr_epi64x(all, all, all, static_cast<long long>(lastMask));
    const __m256i one = _mm256_set1_epi64x(1);
    // Row y - 1 comes from the word before (bit 63), for row 0 from the last
    // row; row y + 1 from the word after (bit 0), for the last row from row 0.
    const __m256i fromBefore = _mm256_setr_epi64x(lastBit, 63, 63, 63);
    const __m256i toAfter = _mm256_setr_epi64x(63, 63, 63, lastBit);
    for (int32_t x = 0; x < n; ++x) {
        const __m256i a = _mm256_loadu_si256(alive + x);
        const __m256i before = _mm256_permute4x64_epi64(a, _MM_SHUFFLE(2, 1, 0, 3));  // word k - 1 in lane k
        const __m256i after = _mm256_permute4x64_epi64(a, _MM_SHUFFLE(0, 3, 2, 1));   // word k + 1 in lane k
        const __m256i up = _mm256_and_si256(
            _mm256_or_si256(_mm256_slli_epi64(a, 1), _mm256_and_si256(_mm256_srlv_epi64(before, fromBefore), one)),
            inBoard);
        const __m256i down =
            _mm256_or_si256(_mm256_srli_epi64(a, 1), _mm256_sllv_epi64(_mm256_and_si256(after, one), toAfter));
        const __m256i upA = _mm256_xor_si256(up, a);
        _mm256_storeu_si256(s0 + x, _mm256_xor_si256(upA, down));
        _mm256_storeu_si256(s1 + x, _mm256_or_si256(_mm256_and_si256(up, a), _mm256_and_si256(down, upA)));
    }
    uint32_t changes = 0;
    for (int32_t x = 0; x < n; ++x) {
        const int32_t l = x == 0 ? n - 1 : x - 1, r = x == n - 1 ? 0 : x + 1;
        const __m256i l0 = _mm256_loadu_si256(s0 + l), c0 = _mm256_loadu_si256(s0 + x),
                      r0 = _mm256_loadu_si256(s0 + r);
        const __m256i l1 = _mm256_loadu_si256(s1 + l), c1 = _mm256_loadu_si256(s1 + x),
                      r1 = _mm256_loadu_si256(s1 + r);
        const __m256i lc0 = _mm256_xor_si256(l0, c0), lc1 = _mm256_xor_si256(l1, c1);
        const __m256i ones = _mm256_xor_si256(lc0, r0);
        const __m256i carry = _mm256_or_si256(_mm256_and_si256(l0, c0), _mm256_and_si256(r0, lc0));
        const __m256i p0 = _mm256_xor_si256(lc1, r1);
        const __m256i p1 = _mm256_or_si256(_mm256_and_si256(l1, c1), _mm256_and_si256(r1, lc1));
        const __m256i t0 = _mm256_xor_si256(p0, carry), t0carry = _mm256_and_si256(p0, carry);
        const __m256i t1 = _mm256_xor_si256(p1, t0carry), t2 = _mm256_and_si256(p1, t0carry);
        // three: ones & t0 & ~t1 & ~t2; four: ~ones & ~t0 & t1 & ~t2.
        const __m256i notHigh = _mm256_andnot_si256(t2, _mm256_set1_epi64x(all));
        const __m256i three = _mm256_andnot_si256(t1, _mm256_and_si256(_mm256_and_si256(ones, t0), notHigh));
        const __m256i four =
            _mm256_andnot_si256(_mm256_or_si256(ones, t0), _mm256_and_si256(t1, notHigh));
        const __m256i a = _mm256_loadu_si256(alive + x);
        const __m256i nx = _mm256_and_si256(_mm256_or_si256(three, _mm256_and_si256(a, four)), inBoard);
        _mm256_storeu_si256(next + x, nx);
        const unsigned same = static_cast<unsigned>(_mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpeq_epi64(nx, a))));
        for (int k = 0; k < W; ++k) {
            changed[changes] = static_cast<uint32_t>(x * W + k);
            changes += ((same >> k) & 1) ^ 1;
        }
    }
    return changes;
}
#endif

#if defined(KALEIDOMAT_SCAN_AVX2)
// The live bits of the board by columns of four words from the scan's bits
// (see step()), a column at a time.
__attribute__((target("avx2"))) void columnBitsAvx2(const uint64_t* flat, int32_t n, uint64_t lastMask,
                                                    uint64_t* alive) {
    const __m256i inBoard = _mm256_setr_epi64x(-1, -1, -1, static_cast<long long>(lastMask));
    for (int32_t x = 0; x < n; ++x) {
        const int32_t first = x * n, shift = first % 64;
        const auto* const words = reinterpret_cast<const __m256i*>(flat + first / 64);
        // Shifts by 64 give 0 in vector registers.
        const __m256i low = _mm256_srl_epi64(_mm256_loadu_si256(words), _mm_cvtsi32_si128(shift));
        const __m256i high = _mm256_sll_epi64(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(flat + first / 64 + 1)), _mm_cvtsi32_si128(64 - shift));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(alive) + x,
                            _mm256_and_si256(_mm256_or_si256(low, high), inBoard));
    }
}
#endif

#if defined(KALEIDOMAT_SCAN_AVX2)
inline bool haveBitInstructions() {
    static const bool bits = __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi");
    return bits;
}

// Deaths, on processors with popcnt and tzcnt: the cells are listed first,
// then cleared in one tight loop. A loop over the deaths of each word ends
// after a varying number of them, and the mispredicted end of nearly every
// word costs more than the stores. The list takes a word's positions eight
// at a time whether or not it has that many deaths (the surplus is
// overwritten by the next word's), so only words with more than eight take a
// branch that depends on their bits.
template <int W>
__attribute__((target("popcnt,bmi"))) void clearDeathsListed(CellRecord* const cells, Workspace& ws, int32_t n,
                                                              uint32_t changes) {
    const uint64_t* const alive = ws.alive.data();
    const uint64_t* const next = ws.next.data();
    const uint32_t* const changed = ws.changed.data();
    uint32_t* const list = ws.dying.data();
    uint32_t count = 0;
    for (uint32_t c = 0; c < changes; ++c) {
        const uint32_t word = changed[c];
        const auto first = static_cast<uint32_t>((word / W) * static_cast<uint32_t>(n) + (word % W) * 64);
        uint64_t died = alive[word] & ~next[word];
        uint32_t* p = list + count;
        count += static_cast<uint32_t>(std::popcount(died));
        do {
            for (int j = 0; j < 8; ++j) {
                p[j] = first + static_cast<uint32_t>(std::countr_zero(died));
                died &= died - 1;
                // Keeps the compiler from branching out of the eight once
                // died is 0, which would bring back the mispredictions.
                asm("" : "+r"(died));
            }
            p += 8;
        } while (died != 0);
    }
    for (uint32_t j = 0; j < count; ++j) cells[list[j]] = CellRecord{};
}
#endif

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

// The colour the newborn (x, y) inherits, anywhere on the board: its live
// neighbours in ascending position, with wrapped indices. Used at the edges
// of the board and of the 64-cell words; births elsewhere take the short way
// in births() below. Like that one it gathers the 3 x 3 block as a mask and
// takes its lowest three bits, without a branch per neighbour.
template <int W>
CellRecord inheritedColour(const CellRecord* cells, const uint64_t* alive, int32_t n, int32_t x, int32_t y) {
    const auto cols = sortedAround(x, n), rows = sortedAround(y, n);
    unsigned mask = 0;
    for (unsigned c = 0; c < 3; ++c) {
        const uint64_t* const column = alive + cols[c] * W;
        for (unsigned r = 0; r < 3; ++r)
            mask |= static_cast<unsigned>((column[rows[r] / 64] >> (rows[r] % 64)) & 1) << (3 * c + r);
    }
    const CellRecord* parent[3];
    for (const CellRecord*& p : parent) {
        const int bit = std::countr_zero(mask);
        p = cells + static_cast<std::ptrdiff_t>(cols[bit / 3]) * n + rows[bit % 3];
        mask &= mask - 1;
    }
    return newborn(parent[0], parent[1], parent[2]);
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
            if ((inner >> b) & 1) {
                const int below = b - 1;
                const unsigned mask = static_cast<unsigned>((left >> below) & 7) |
                                      static_cast<unsigned>((own >> below) & 7) << 3 |
                                      static_cast<unsigned>((right >> below) & 7) << 6;
                const auto& offset = ws.parents[mask];
                *cell = newborn(cell + offset[0], cell + offset[1], cell + offset[2]);
            } else {
                *cell = inheritedColour<W>(cells, alive, n, x, 64 * k + b);
            }
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
    ws.reserve(n, W);
    const int tailBits = n - 64 * (W - 1);
    const uint64_t lastMask = tailBits == 64 ? ~uint64_t{0} : (uint64_t{1} << tailBits) - 1;
    const std::size_t total = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);

    // 1. Live or dead. While the board is quiet the step keeps a copy of it:
    // when the board still equals that copy (nothing was edited since), the
    // live bits the last step left are still true and one block comparison
    // replaces the scan. Otherwise the bits come from the whole board at
    // once, then column by column.
    const bool known = ws.mirrorSide == n && std::memcmp(ws.mirror.data(), cells, total * sizeof(CellRecord)) == 0;
    bool odd = false;
    if (!known) {
        uint64_t* const flat = ws.flat.data();
        odd = scanBoard(cells, n * n, flat);
        bool done = false;
#if defined(KALEIDOMAT_SCAN_AVX2)
        if (W == 4 && haveAvx2()) {
            columnBitsAvx2(flat, n, lastMask, ws.alive.data());
            done = true;
        }
#endif
        for (int32_t x = 0; x < n && !done; ++x)
            for (int k = 0; k < W; ++k) {
                // Cell x * n + 64 k on: two neighbouring words, shifted into one.
                const int32_t first = x * n + 64 * k, shift = first % 64;
                const uint64_t low = flat[first / 64] >> shift,
                               high = (flat[first / 64 + 1] << 1) << (63 - shift);
                ws.alive[static_cast<std::size_t>(x * W + k)] =
                    (low | high) & (k == W - 1 ? lastMask : ~uint64_t{0});
            }
    }

    // 2. The next states.
    uint32_t changes;
#if defined(KALEIDOMAT_SCAN_AVX2)
    if (W == 4 && haveAvx2())
        changes = computeNextAvx2(ws, n, lastMask);
    else
#endif
        changes = computeNext<W>(ws, n, lastMask);
    const uint64_t* const alive = ws.alive.data();
    const uint64_t* const next = ws.next.data();
    const uint32_t* const changed = ws.changed.data();

    // 3. Births.
    prepareBirths<W>(ws, n);
    births<W>(cells, ws, n, changes, random);

    // 4. Deaths, or a full clean-up of a board with odd contents.
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
        bool listed = false;
#if defined(KALEIDOMAT_SCAN_AVX2)
        if (haveBitInstructions()) {
            clearDeathsListed<W>(cells, ws, n, changes);
            listed = true;
        }
#endif
        for (uint32_t c = 0; c < changes && !listed; ++c) {
            const uint32_t word = changed[c];
            CellRecord* const column = cells + (word / W) * static_cast<std::size_t>(n) + (word % W) * 64;
            for (uint64_t died = alive[word] & ~next[word]; died != 0; died &= died - 1)
                column[std::countr_zero(died)] = CellRecord{};
        }
    }

    // 5. The copy, kept only while few words change (a settled board): cell
    // by cell when it was the board before the step, whole otherwise. On a
    // busy board the scan is cheaper than comparing and copying.
    const bool quiet = changes * 2 <= static_cast<uint32_t>(n) * W;
    if (!quiet) {
        ws.mirrorSide = 0;
    } else if (known) {
        CellRecord* const mirror = ws.mirror.data();
        for (uint32_t c = 0; c < changes; ++c) {
            const uint32_t word = changed[c];
            const std::size_t base = (word / W) * static_cast<std::size_t>(n) + (word % W) * 64;
            for (uint64_t flip = alive[word] ^ next[word]; flip != 0; flip &= flip - 1) {
                const std::size_t i = base + static_cast<std::size_t>(std::countr_zero(flip));
                mirror[i] = cells[i];
            }
        }
    } else {
        if (ws.mirror.size() < total) ws.mirror.resize(total);
        std::memcpy(ws.mirror.data(), cells, total * sizeof(CellRecord));
        ws.mirrorSide = n;
    }
    std::swap(ws.alive, ws.next);  // the live bits of the board as the step leaves it
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
