// SPDX-License-Identifier: MIT
#pragma once

// Shared by the RLE and plaintext targets: what any parse must give.

#include <cstddef>
#include <variant>

#include "fuzz/fuzz_check.h"
#include "io/life_text.h"

// A refusal with a message (nullptr), or a grid within the limits whose cell
// count matches its size.
inline const io::LifeGrid* CheckedGrid(const std::variant<io::LifeGrid, io::TextError>& parsed) {
    const auto* grid = std::get_if<io::LifeGrid>(&parsed);
    if (!grid) {
        FUZZ_CHECK(!std::get<io::TextError>(parsed).message.empty());
        return nullptr;
    }
    FUZZ_CHECK(grid->width >= 0 && grid->width <= io::kMaxTextPatternSide);
    FUZZ_CHECK(grid->height >= 0 && grid->height <= io::kMaxTextPatternSide);
    FUZZ_CHECK((grid->width == 0) == (grid->height == 0));
    FUZZ_CHECK(grid->cells.size() == static_cast<std::size_t>(grid->width) * grid->height);
    return grid;
}
