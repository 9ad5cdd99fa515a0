// SPDX-License-Identifier: MIT
#include "engine/board.h"

namespace engine {

void Board::create(int32_t gridMax) {
    GridMax = gridMax;
    const std::size_t n = static_cast<std::size_t>(side()) * static_cast<std::size_t>(side());
    Cells.assign(n, CellRecord{});
}

int32_t Board::countLive() const {
    int32_t n = 0;
    for (const CellRecord& c : Cells) n += c.State != 0;
    return n;
}

}  // namespace engine
