// SPDX-License-Identifier: MIT
#include "engine/rules.h"

#include <algorithm>

namespace engine {

void RandomColor(RandomSequence& random, CellRecord& cell) {
    cell.Red = ScaledDraw(random.next(), 255) + 1;
    cell.Green = ScaledDraw(random.next(), 255) + 1;
    if (cell.Red > 128 || cell.Green > 128)
        cell.Blue = ScaledDraw(random.next(), 255) + 1;
    else
        cell.Blue = ScaledDraw(random.next(), 128) + 128;
}

void Init(Board& board, RandomSequence& random) {
    std::fill(board.Cells.begin(), board.Cells.end(), CellRecord{});
    board.Generation = 1;
    board.PopulationHistory.fill(0);
    for (int32_t x = 0; x <= board.GridMax; ++x) {
        for (int32_t y = 0; y <= board.GridMax; ++y) {
            if (random.next() < kSeedShare) {
                ++board.Population();
                CellRecord& c = board.cell(x, y);
                c.State = 1;
                RandomColor(random, c);
            }
        }
    }
    board.Modified = true;
}

}  // namespace engine
