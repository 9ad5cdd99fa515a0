// SPDX-License-Identifier: MIT
#include "engine/board.h"

#include <bit>

namespace engine {

void Board::create(int32_t gridMax) {
    GridMax = gridMax;
    const std::size_t n = static_cast<std::size_t>(side()) * static_cast<std::size_t>(side());
    Cells.assign(n, CellRecord{});
}

int32_t Board::countLive() const {
    // The State byte picked out of each record as a 32-bit word, which the
    // compiler turns into vector code.
    constexpr uint32_t state = std::bit_cast<uint32_t>(CellRecord{0xFF, 0, 0, 0});
    int32_t n = 0;
    for (const CellRecord& c : Cells) n += (std::bit_cast<uint32_t>(c) & state) != 0;
    return n;
}

}  // namespace engine
