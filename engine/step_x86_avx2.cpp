// SPDX-License-Identifier: MIT
// The AVX2 kernels (compiled with -mavx2): the scan in groups of 32 cells,
// and for the largest boards (193 to 200 cells a side, four words a column)
// the column bits and the adders with a whole column in one register.

#include <immintrin.h>

#include "engine/step_x86_scan_sse2.h"

namespace engine {
namespace {

// One block in groups of 32 cells, the same as scanBlockSse2 does in groups
// of 16; returns where it stopped.
int32_t scanBlockAvx2(const CellRecord* cells, int32_t count, uint64_t* words, ScanCheck& check) {
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

}  // namespace

int32_t scanAvx2(const CellRecord* cells, int32_t count, uint64_t* bits, ScanCheck& check) {
    return scanBlocks(cells, count, bits, check, scanBlockAvx2);
}

// The column bits a column at a time: its four words are the scan's bits from
// cell x * n on, shifted.
void columnBitsAvx2(const uint64_t* flat, int32_t n, uint64_t lastMask, uint64_t* alive) {
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

// computeNextPortable<4> with a whole column in one register: the adders do a
// column at a time instead of a word. Same results, word for word.
uint32_t computeNextAvx2(const ColumnWords& words, int32_t n, uint64_t lastMask) {
    constexpr int W = 4;
    const auto* const alive = reinterpret_cast<const __m256i*>(words.alive);
    auto* const s0 = reinterpret_cast<__m256i*>(words.sum0);
    auto* const s1 = reinterpret_cast<__m256i*>(words.sum1);
    auto* const next = reinterpret_cast<__m256i*>(words.next);
    uint32_t* const changed = words.changed;
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
        const __m256i four = _mm256_andnot_si256(_mm256_or_si256(ones, t0), _mm256_and_si256(t1, notHigh));
        const __m256i a = _mm256_loadu_si256(alive + x);
        const __m256i nx = _mm256_and_si256(_mm256_or_si256(three, _mm256_and_si256(a, four)), inBoard);
        _mm256_storeu_si256(next + x, nx);
        const unsigned same =
            static_cast<unsigned>(_mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpeq_epi64(nx, a))));
        for (int k = 0; k < W; ++k) {
            changed[changes] = static_cast<uint32_t>(x * W + k);
            changes += ((same >> k) & 1) ^ 1;
        }
    }
    return changes;
}

}  // namespace engine
