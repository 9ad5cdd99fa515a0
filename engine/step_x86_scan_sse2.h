// SPDX-License-Identifier: MIT
#pragma once

// The SSE2 scan of one block, shared by the SSE2 and AVX2 kernels (the AVX2
// one leaves it the last cells of a block, fewer than 32). Internal linkage,
// so each kernel file has its own copy, compiled for its own instruction set.

#include <emmintrin.h>

#include "engine/step_kernels.h"

namespace engine {
namespace {

// From j on, in groups of 16 and then of 4 cells; returns where it stopped.
inline int32_t scanBlockSse2(const CellRecord* cells, int32_t j, int32_t count, uint64_t* words, ScanCheck& check) {
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

// The blocks of the board one after another, each first through `wide`
// (which returns where it stopped, or 0), the rest of it through the SSE2
// groups. Only the last block can leave cells over.
template <typename Wide>
inline int32_t scanBlocks(const CellRecord* cells, int32_t count, uint64_t* bits, ScanCheck& check, Wide wide) {
    for (int32_t start = 0; start < count; start += kScanBlock) {
        const int32_t length = count - start < kScanBlock ? count - start : kScanBlock;
        int32_t j = wide(cells + start, length, bits + start / 64, check);
        j = scanBlockSse2(cells + start, j, length, bits + start / 64, check);
        if (j < length) return start + j;
    }
    return count;
}

}  // namespace
}  // namespace engine
