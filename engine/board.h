// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/cell_record.h"

namespace engine {

// Board sizes the program itself produces: 10 x 10 up to 200 x 200.
inline constexpr int32_t kMinGridMax = 9;
inline constexpr int32_t kMaxGridMax = 2047;
inline constexpr int32_t kStartGridMax = 49;
inline constexpr int kHistoryLength = 10;

// The board and its counters. `Cells` is a contiguous array of (GridMax + 1)^2
// records in column order: cell (x, y) is at x * (GridMax + 1) + y, so the
// generation step's scan (x outer, y inner) walks memory forwards and one
// column of the board is one contiguous run. The step keeps its work space
// itself (engine::Stepper).
struct Board {
    int32_t GridMax = kStartGridMax;
    std::vector<CellRecord> Cells;
    int32_t Generation = 0;
    std::array<int32_t, kHistoryLength> PopulationHistory{};
    bool Modified = false;

    // Sets GridMax and makes Cells anew, every field 0.
    void create(int32_t gridMax);

    int32_t side() const { return GridMax + 1; }
    bool contains(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x <= GridMax && y <= GridMax; }
    std::size_t index(int32_t x, int32_t y) const {
        return static_cast<std::size_t>(x) * static_cast<std::size_t>(side()) + static_cast<std::size_t>(y);
    }
    CellRecord& cell(int32_t x, int32_t y) { return Cells[index(x, y)]; }
    const CellRecord& cell(int32_t x, int32_t y) const { return Cells[index(x, y)]; }

    int32_t& Population() { return PopulationHistory[0]; }
    int32_t Population() const { return PopulationHistory[0]; }

    // Number of live cells on the board now (does not touch the history).
    int32_t countLive() const;
};

}  // namespace engine
