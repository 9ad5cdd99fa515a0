// SPDX-License-Identifier: MIT
#include "patterns/builtin_patterns.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace patterns {

namespace {

constexpr std::string_view kRPentomino[] = {
    ".O.",
    "OOO",
    "..O",
};

constexpr std::string_view kGlider[] = {
    ".O.",
    "..O",
    "OOO",
};

constexpr std::string_view kGliderGun[] = {
    ".........................O..........",
    "......................OOOO....O.....",
    ".............O.......OOOO.....O.....",
    "............O.O......O..O.........OO",
    "...........O...OO....OOOO.........OO",
    "OO.........O...OO.....OOOO..........",
    "OO.........O...OO........O..........",
    "............O.O.....................",
    ".............O......................",
};

constexpr std::string_view kQueenBee[] = {
    ".........O............",
    ".........OO...........",
    "OO..OO....OO........OO",
    "OO..OO....OOO.......OO",
    "....OO....OO..........",
    ".........OO...........",
    ".........O............",
};

constexpr std::string_view kSpiral[] = {
    "OO.OOOOOO",
    "OO.OOOOOO",
    "OO.......",
    "OO.....OO",
    "OO.....OO",
    "OO.....OO",
    ".......OO",
    "OOOOOO.OO",
    "OOOOOO.OO",
};

template <std::size_t H>
constexpr BuiltinPattern make(std::string_view name, const std::string_view (&rows)[H]) {
    return {name, static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(H), rows};
}

constexpr std::array<BuiltinPattern, kBuiltinPatternCount> kPatterns = {
    make("r-Pentomino", kRPentomino), make("Glider", kGlider), make("Glider gun", kGliderGun),
    make("Queen bee", kQueenBee),     make("Spiral", kSpiral),
};

// Every row of a picture has the picture's width.
constexpr bool wellFormed() {
    for (const BuiltinPattern& p : kPatterns)
        for (int32_t dy = 0; dy < p.height; ++dy)
            if (p.rows[dy].size() != static_cast<std::size_t>(p.width)) return false;
    return true;
}
static_assert(wellFormed(), "every row of a built-in picture has the picture's width");

}  // namespace

const BuiltinPattern& Builtin(int index) {
    if (index < 0 || index >= kBuiltinPatternCount) throw std::out_of_range("no built-in pattern of that index");
    return kPatterns[static_cast<std::size_t>(index)];
}

CellRect StampPattern(engine::Board& board, const BuiltinPattern& pattern, int32_t left, int32_t top,
                      const engine::CellRecord& colour) {
    const CellRect box{left, top, left + pattern.width - 1, top + pattern.height - 1};
    for (int32_t dx = 0; dx < pattern.width; ++dx) {
        const int64_t x = int64_t{left} + dx;
        for (int32_t dy = 0; dy < pattern.height; ++dy) {
            const int64_t y = int64_t{top} + dy;
            if (!board.contains(x, y)) continue;
            engine::CellRecord& c = board.cell(static_cast<int32_t>(x), static_cast<int32_t>(y));
            if (pattern.live(dx, dy))
                c = {1, colour.Red, colour.Green, colour.Blue};
            else
                c = {};
        }
    }
    return box;
}

}  // namespace patterns
