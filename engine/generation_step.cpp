// The generation step.
//
// The rule as the program defines it works in four passes over a work board:
// clear it, let every live cell add 1 to each neighbour's count (and 9 to its
// own) while the first, second and third parent to reach a dead cell hand it
// their red, green and blue, decide births (count 3) and survivals (11, 12),
// and copy the work board over the board. Parents therefore come in the order
// of the spread: by the parent's own column, then its own row, after wrapping.
//
// This implementation gives exactly the same board and draws exactly the same
// random fractions, but works on one byte per cell:
//   1. alive[i]  = whether cell i is live;
//   2. column[i] = alive cells in the vertical strip of three around i;
//      sum[i]    = column sums of the three neighbouring columns (3 x 3 total);
//   3. the new board is cleared as one block and only its live cells are
//      written: survivors keep their colour, newborns look up their three
//      parents in spread order (the column and row indices sorted after
//      wrapping) and may mutate.
// The new board is built in Tally and the two arrays are then exchanged, so no
// copy is needed; Tally afterwards holds the previous board as scratch.

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "engine/rules.h"

namespace engine {
namespace {

// Scratch space reused by every step; it grows with the largest board seen.
struct Workspace {
    std::vector<uint8_t> alive, column, next;
    void reserve(std::size_t n) {
        if (alive.size() < n) {
            alive.resize(n);
            column.resize(n);
            next.resize(n);
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

void decideBirth(const Board& board, const uint8_t* alive, int32_t x, int32_t y, RandomSequence& random,
                 CellRecord& out) {
    const int32_t n = board.side();
    const auto cols = sortedAround(x, n);
    const auto rows = sortedAround(y, n);
    const CellRecord* parents[3] = {nullptr, nullptr, nullptr};
    int found = 0;
    for (int32_t cx : cols) {
        for (int32_t cy : rows) {
            if (cx == x && cy == y) continue;
            const std::size_t j = static_cast<std::size_t>(cx) * n + cy;
            if (alive[j]) {
                parents[found++] = &board.Cells[j];
                if (found == 3) goto done;
            }
        }
    }
done:
    out.State = 1;
    out.Red = parents[0]->Red;
    out.Green = parents[1]->Green;
    out.Blue = parents[2]->Blue;
    if (ScaledDraw(random.next(), kMutationOneIn) == 0) RandomColor(random, out);
}

// The literal spread for boards too small for three distinct neighbouring
// columns (fewer than 3 x 3 cells), where one parent can reach a cell twice.
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
    const int32_t n = board.side();
    if (n < 3) {
        stepTiny(board, random);
        advanceGeneration(board);
        return;
    }
    const std::size_t total = static_cast<std::size_t>(n) * n;
    Workspace& ws = workspace();
    ws.reserve(total);
    uint8_t* const alive = ws.alive.data();
    uint8_t* const column = ws.column.data();
    uint8_t* const next = ws.next.data();

    const CellRecord* cells = board.Cells.data();
    for (std::size_t i = 0; i < total; ++i) alive[i] = cells[i].State != 0;

    // Vertical strips of three, wrapping at the top and bottom rows.
    for (int32_t x = 0; x < n; ++x) {
        const uint8_t* a = alive + static_cast<std::size_t>(x) * n;
        uint8_t* c = column + static_cast<std::size_t>(x) * n;
        c[0] = static_cast<uint8_t>(a[n - 1] + a[0] + a[1]);
        for (int32_t y = 1; y < n - 1; ++y) c[y] = static_cast<uint8_t>(a[y - 1] + a[y] + a[y + 1]);
        c[n - 1] = static_cast<uint8_t>(a[n - 2] + a[n - 1] + a[0]);
    }

    // 3 x 3 totals and the new state: born with 3, survives with 3 or 4
    // (the cell itself included).
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

    CellRecord* tally = board.Tally.data();
    std::memset(static_cast<void*>(tally), 0, total * sizeof(CellRecord));
    std::size_t i = 0;
    while (i < total) {
        // Skip eight dead cells at a time.
        if (i + 8 <= total) {
            uint64_t word;
            std::memcpy(&word, next + i, 8);
            if (word == 0) {
                i += 8;
                continue;
            }
        }
        if (next[i]) {
            CellRecord& t = tally[i];
            if (alive[i]) {
                t.State = 1;
                t.Red = cells[i].Red;
                t.Green = cells[i].Green;
                t.Blue = cells[i].Blue;
            } else {
                decideBirth(board, alive, static_cast<int32_t>(i / n), static_cast<int32_t>(i % n), random, t);
            }
        }
        ++i;
    }

    board.Cells.swap(board.Tally);
    advanceGeneration(board);
}

}  // namespace engine
