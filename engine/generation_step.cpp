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
// random fractions, but counts on one byte per cell and then changes the board
// in place, touching only the cells that change:
//   1. alive[i]  = whether cell i is live; at the same time note whether the
//      board holds anything the step itself never writes (a State other than
//      0 or 1, a dead cell with colour left in it);
//   2. column[i] = live cells in the vertical strip of three around i;
//      next[i]   = the new state, from the column sums of the three
//      neighbouring columns (the 3 x 3 total, the cell itself included);
//      Births (next but not alive) and deaths (alive but not next) are then
//      marked one bit per cell, so the two sparse passes below visit 64
//      cells per word and branch once per change, not once per byte;
//   3. births, in array order (the order their random fractions are drawn):
//      a newborn takes its colour from its three parents in ascending
//      position. A newborn was dead, so it is nobody's parent, and no birth
//      can spoil the colours a later birth reads;
//   4. deaths: the record becomes all zero. When step 1 found odd contents,
//      every cell is put right instead (State 1 for the live, all zero for
//      the dead).
// Tally is not needed and is left as it was (scratch, as everywhere outside
// the step). Boards smaller than 3 x 3, where one cell can be its own
// neighbour, go through the literal four passes instead.

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>

#include "engine/rules.h"

namespace engine {
namespace {

// Scratch space reused by every step; it grows with the largest board seen.
// The byte arrays are padded to whole 64-cell words with zeros.
struct Workspace {
    std::vector<uint8_t> alive, column, next;
    std::vector<uint64_t> births, deaths;  // one bit per cell
    void reserve(std::size_t padded) {
        if (alive.size() < padded) {
            alive.resize(padded);
            column.resize(padded);
            next.resize(padded);
            births.resize(padded / 64);
            deaths.resize(padded / 64);
        }
    }
};

Workspace& workspace() {
    static thread_local Workspace w;
    return w;
}

// The three indices i - 1, i, i + 1 wrapped to 0..n-1, in ascending order.
std::array<int32_t, 3> sortedAround(int32_t i, int32_t n) {
    if (i == 0) return {0, 1, n - 1};
    if (i == n - 1) return {0, n - 2, n - 1};
    return {i - 1, i, i + 1};
}

// Colour of the newborn at position i = x * n + y, from its three live
// neighbours in ascending position, then the birth's random fraction and,
// for a mutation, a random colour.
void bear(CellRecord* cells, const uint8_t* alive, int32_t n, int32_t x, std::size_t i, RandomSequence& random) {
    const int32_t y = static_cast<int32_t>(i - static_cast<std::size_t>(x) * static_cast<std::size_t>(n));
    std::size_t parents[3];
    if (x > 0 && x < n - 1 && y > 0 && y < n - 1) {
        // Inside the board the eight neighbours in ascending position are at
        // these offsets; pick the three live ones without branching on each.
        const std::ptrdiff_t s = n;
        const std::ptrdiff_t offsets[8] = {-s - 1, -s, -s + 1, -1, 1, s - 1, s, s + 1};
        const uint8_t* a = alive + i;
        unsigned mask = 0;
        for (int k = 0; k < 8; ++k) mask |= static_cast<unsigned>(a[offsets[k]]) << k;
        for (std::size_t& p : parents) {
            p = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(i) + offsets[std::countr_zero(mask) & 7]);
            mask &= mask - 1;
        }
    } else {
        const auto cols = sortedAround(x, n);
        const auto rows = sortedAround(y, n);
        int found = 0;
        for (int32_t cx : cols) {
            for (int32_t cy : rows) {
                if (cx == x && cy == y) continue;
                const std::size_t j =
                    static_cast<std::size_t>(cx) * static_cast<std::size_t>(n) + static_cast<std::size_t>(cy);
                if (alive[j] && found < 3) parents[found++] = j;
            }
        }
    }
    CellRecord& out = cells[i];
    out.State = 1;
    out.Red = cells[parents[0]].Red;
    out.Green = cells[parents[1]].Green;
    out.Blue = cells[parents[2]].Blue;
    if (ScaledDraw(random.next(), kMutationOneIn) == 0) RandomColor(random, out);
}

// The eight 0-or-1 bytes of w as eight bits, byte k to bit k.
inline uint64_t packBytes(uint64_t w) { return (w * 0x0102040810204080ull) >> 56; }

// Marks the cells that are born (next 1, alive 0) and that die (alive 1,
// next 0), one bit per cell, without branching per cell.
void markChanges(const uint8_t* alive, const uint8_t* next, std::size_t words, uint64_t* births, uint64_t* deaths) {
    for (std::size_t k = 0; k < words; ++k) {
        uint64_t born = 0, died = 0;
        for (int part = 0; part < 8; ++part) {
            uint64_t a, b;
            std::memcpy(&a, alive + k * 64 + part * 8, 8);
            std::memcpy(&b, next + k * 64 + part * 8, 8);
            born |= packBytes(b & ~a) << (8 * part);
            died |= packBytes(a & ~b) << (8 * part);
        }
        births[k] = born;
        deaths[k] = died;
    }
}

// Calls f(i) for every set bit i, in ascending order.
template <typename F>
void forEachBit(const uint64_t* bits, std::size_t words, F&& f) {
    for (std::size_t k = 0; k < words; ++k) {
        for (uint64_t w = bits[k]; w != 0; w &= w - 1) f(k * 64 + static_cast<std::size_t>(std::countr_zero(w)));
    }
}

// The literal four passes, for boards smaller than 3 x 3, where a neighbour
// can be the cell itself or be reached twice.
void stepTiny(Board& board, RandomSequence& random) {
    const int32_t g = board.GridMax;
    std::fill(board.Tally.begin(), board.Tally.end(), CellRecord{});
    auto wrap = [g](int32_t v) { return v < 0 ? g : (v > g ? 0 : v); };
    for (int32_t x = 0; x <= g; ++x)
        for (int32_t y = 0; y <= g; ++y) {
            const CellRecord& p = board.cell(x, y);
            if (!p.State) continue;
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy) {
                    CellRecord& t = board.Tally[board.index(wrap(x + dx), wrap(y + dy))];
                    if (dx == 0 && dy == 0) {
                        t.State += 9;
                        t.Red = p.Red, t.Green = p.Green, t.Blue = p.Blue;
                        continue;
                    }
                    ++t.State;
                    if (t.State == 1) t.Red = p.Red;
                    else if (t.State == 2) t.Green = p.Green;
                    else if (t.State == 3) t.Blue = p.Blue;
                }
        }
    for (CellRecord& t : board.Tally) {
        if (t.State == 3) {
            t.State = 1;
            if (ScaledDraw(random.next(), kMutationOneIn) == 0) RandomColor(random, t);
        } else if (t.State == 11 || t.State == 12) {
            t.State = 1;
        } else {
            t = CellRecord{};
        }
    }
    board.Cells = board.Tally;
}

// The counter stops at its largest value rather than overflowing.
void advanceGeneration(Board& board) {
    if (board.Generation < std::numeric_limits<int32_t>::max()) ++board.Generation;
}

}  // namespace

void ReCalc(Board& board, RandomSequence& random) {
    const int32_t n = std::max(board.side(), 0);
    const std::size_t total = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
    // Arrays that do not match GridMax (a board being released) are left alone.
    if (board.Cells.size() != total) return;
    if (n < 3) {
        if (board.Tally.size() != total) return;
        stepTiny(board, random);
        advanceGeneration(board);
        return;
    }
    const std::size_t words = (total + 63) / 64;
    Workspace& ws = workspace();
    ws.reserve(words * 64);
    uint8_t* const alive = ws.alive.data();
    uint8_t* const column = ws.column.data();
    uint8_t* const next = ws.next.data();
    CellRecord* const cells = board.Cells.data();

    // 1. Live or dead, and anything the step would not have written.
    // Kept free of branches so the compiler can vectorise it.
    uint32_t odd = 0;
    for (std::size_t i = 0; i < total; ++i) {
        const int32_t state = cells[i].State;
        const uint32_t colour = static_cast<uint32_t>(cells[i].Red | cells[i].Green | cells[i].Blue);
        alive[i] = state != 0;
        odd |= static_cast<uint32_t>(static_cast<uint32_t>(state) > 1u) | ((state == 0) & (colour != 0));
    }

    // 2. Vertical strips of three, wrapping at the top and bottom rows; then
    // the 3 x 3 totals: born with 3, survives with 3 or 4 (itself included).
    for (int32_t x = 0; x < n; ++x) {
        const uint8_t* a = alive + static_cast<std::size_t>(x) * n;
        uint8_t* c = column + static_cast<std::size_t>(x) * n;
        c[0] = static_cast<uint8_t>(a[n - 1] + a[0] + a[1]);
        for (int32_t y = 1; y < n - 1; ++y) c[y] = static_cast<uint8_t>(a[y - 1] + a[y] + a[y + 1]);
        c[n - 1] = static_cast<uint8_t>(a[n - 2] + a[n - 1] + a[0]);
    }
    for (int32_t x = 0; x < n; ++x) {
        const std::size_t base = static_cast<std::size_t>(x) * n;
        const uint8_t* left = column + static_cast<std::size_t>(x == 0 ? n - 1 : x - 1) * n;
        const uint8_t* mid = column + base;
        const uint8_t* right = column + static_cast<std::size_t>(x == n - 1 ? 0 : x + 1) * n;
        const uint8_t* a = alive + base;
        uint8_t* out = next + base;
        for (int32_t y = 0; y < n; ++y) {
            const uint8_t s = static_cast<uint8_t>(left[y] + mid[y] + right[y]);
            out[y] = static_cast<uint8_t>((s == 3) | (a[y] & (s == 4)));
        }
    }

    std::fill(alive + total, alive + words * 64, uint8_t{0});
    std::fill(next + total, next + words * 64, uint8_t{0});
    markChanges(alive, next, words, ws.births.data(), ws.deaths.data());

    // 3. Births, in array order.
    int32_t x = 0;
    std::size_t columnEnd = static_cast<std::size_t>(n);
    forEachBit(ws.births.data(), words, [&](std::size_t i) {
        while (i >= columnEnd) ++x, columnEnd += static_cast<std::size_t>(n);
        bear(cells, alive, n, x, i, random);
    });

    // 4. Deaths, or a full clean-up of a board with odd contents.
    if (odd) {
        for (std::size_t i = 0; i < total; ++i) {
            if (next[i])
                cells[i].State = 1;
            else
                cells[i] = CellRecord{};
        }
    } else {
        forEachBit(ws.deaths.data(), words, [&](std::size_t i) { cells[i] = CellRecord{}; });
    }

    advanceGeneration(board);
}

}  // namespace engine
