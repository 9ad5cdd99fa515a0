// SPDX-License-Identifier: MIT
#pragma once

// The board as the lineage view colours it (表示 › 系譜): every live cell by
// its founder in one colour channel, by its age, or, while a cell is traced,
// by which of the traced cell's three founders it shares. The view is a
// second board with the same live cells in other colours, so the window's
// painter draws it as it draws the board, repainting only what changed.

#include <array>
#include <cstdint>
#include <vector>

#include "engine/board.h"
#include "engine/cell_record.h"
#include "engine/lineage.h"

namespace app {

// The founders with the most live cells get these, in order of size; the
// others are grey, and cells of unknown origin darker grey.
inline constexpr std::array<engine::CellRecord, 8> kFounderColours{{
    {1, 230, 25, 75},
    {1, 60, 180, 75},
    {1, 255, 225, 25},
    {1, 0, 130, 200},
    {1, 245, 130, 48},
    {1, 145, 30, 180},
    {1, 70, 240, 240},
    {1, 240, 50, 230},
}};
inline constexpr engine::CellRecord kOtherFounders{1, 128, 128, 128};
inline constexpr engine::CellRecord kUnknownFounder{1, 64, 64, 64};
// A traced cell's kin: full red where it shares the red founder, full green
// for the green one and full blue for the blue one, combined (white shares
// all three); the cells that share none are dimmed.
inline constexpr engine::CellRecord kNoKin{1, 56, 56, 56};
// The outlines of the founders' origins, red, green and blue.
inline constexpr std::array<uint32_t, 3> kOriginOutlines{0xFFFF3030u, 0xFF30FF30u, 0xFF5078FFu};

class LineageView {
public:
    // Forgets the cells' ages and the colours given to founders (the view
    // was switched off, or the lineage started afresh).
    void reset();

    // Notes the births since the last call: a cell that turned live is born
    // at the lineage's clock and the board's generation.
    void followBirths(const engine::Board& board, const engine::Lineage& lineage);
    uint64_t bornClock(int32_t x, int32_t y, const engine::Board& board) const;
    int32_t bornGeneration(int32_t x, int32_t y, const engine::Board& board) const;

    // `view` becomes `board` with every live cell coloured by its founder in
    // `channel`: the largest founders in the distinct colours, each keeping
    // its colour while it stays among the largest.
    void paintByFounder(const engine::Board& board, const engine::Lineage& lineage, int channel,
                        engine::Board& view);
    // By age: white for a newborn, then yellow, orange, red, magenta, violet,
    // blue, teal, each twice as old as the one before.
    void paintByAge(const engine::Board& board, const engine::Lineage& lineage, engine::Board& view) const;
    // By the founders shared with the traced cell.
    static void paintTrace(const engine::Board& board, const engine::Lineage& lineage,
                           const std::array<engine::FounderId, engine::kChannels>& founders, engine::Board& view);

    // The founder each distinct colour stands for (kNoFounder: none).
    const std::vector<engine::FounderId>& colourOwners() const { return owners_; }

private:
    std::vector<uint64_t> bornClock_;
    std::vector<int32_t> bornGeneration_;
    std::vector<uint8_t> seenLive_;
    std::vector<engine::FounderId> owners_;
};

// The colour of a cell `age` generations old in the view by age.
engine::CellRecord AgeColour(uint64_t age);

}  // namespace app
