// SPDX-License-Identifier: MIT
#include "app/lineage_view.h"

#include <algorithm>
#include <bit>
#include <unordered_map>
#include <utility>

namespace app {

namespace {
// `view` takes the size, counters and cells of `board`; live cells are recoloured after.
void copyBoard(const engine::Board& board, engine::Board& view) {
    if (view.GridMax != board.GridMax || view.Cells.size() != board.Cells.size()) view.create(board.GridMax);
    view.Cells = board.Cells;
}
}  // namespace

void LineageView::reset() { *this = LineageView(); }

void LineageView::followBirths(const engine::Board& board, const engine::Lineage& lineage) {
    const std::size_t cells = board.Cells.size();
    if (seenLive_.size() != cells) {
        // Cells already alive when the view starts count as born now.
        seenLive_.assign(cells, 0);
        bornClock_.assign(cells, lineage.clock());
        bornGeneration_.assign(cells, board.Generation);
    }
    for (std::size_t i = 0; i < cells; ++i) {
        const uint8_t live = board.Cells[i].live() ? 1 : 0;
        if (live && !seenLive_[i]) {
            bornClock_[i] = lineage.clock();
            bornGeneration_[i] = board.Generation;
        }
        seenLive_[i] = live;
    }
}

uint64_t LineageView::bornClock(int32_t x, int32_t y, const engine::Board& board) const {
    const std::size_t i = board.index(x, y);
    return i < bornClock_.size() ? bornClock_[i] : 0;
}

int32_t LineageView::bornGeneration(int32_t x, int32_t y, const engine::Board& board) const {
    const std::size_t i = board.index(x, y);
    return i < bornGeneration_.size() ? bornGeneration_[i] : board.Generation;
}

void LineageView::paintByFounder(const engine::Board& board, const engine::Lineage& lineage, int channel,
                                 engine::Board& view) {
    copyBoard(board, view);
    const int32_t side = board.side();
    std::unordered_map<engine::FounderId, int32_t> sizes;
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y)
            if (board.cell(x, y).live()) ++sizes[lineage.founderAt(x, y, channel)];
    sizes.erase(engine::kNoFounder);

    // The largest, the older first among equals.
    std::vector<std::pair<engine::FounderId, int32_t>> largest(sizes.begin(), sizes.end());
    const std::size_t colours = kFounderColours.size();
    const auto bySize = [](const auto& a, const auto& b) { return a.second != b.second ? a.second > b.second : a.first < b.first; };
    if (largest.size() > colours) {
        std::partial_sort(largest.begin(), largest.begin() + static_cast<std::ptrdiff_t>(colours), largest.end(), bySize);
        largest.resize(colours);
    } else {
        std::sort(largest.begin(), largest.end(), bySize);
    }
    // A founder that stays among the largest keeps its colour; the others
    // take the colours set free, in order of size.
    owners_.resize(colours, engine::kNoFounder);
    for (engine::FounderId& owner : owners_)
        if (std::none_of(largest.begin(), largest.end(), [&](const auto& l) { return l.first == owner; }))
            owner = engine::kNoFounder;
    for (const auto& [id, size] : largest)
        if (std::find(owners_.begin(), owners_.end(), id) == owners_.end())
            *std::find(owners_.begin(), owners_.end(), engine::kNoFounder) = id;

    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            engine::CellRecord& c = view.cell(x, y);
            if (!c.live()) continue;
            const engine::FounderId id = lineage.founderAt(x, y, channel);
            const auto owner = std::find(owners_.begin(), owners_.end(), id);
            c = id == engine::kNoFounder ? kUnknownFounder
                : owner != owners_.end() ? kFounderColours[static_cast<std::size_t>(owner - owners_.begin())]
                                         : kOtherFounders;
        }
}

engine::CellRecord AgeColour(uint64_t age) {
    static constexpr std::array<engine::CellRecord, 9> kAges{{
        {1, 255, 255, 255},  // 0
        {1, 255, 255, 0},    // 1
        {1, 255, 160, 0},    // 2, 3
        {1, 255, 40, 40},    // 4 .. 7
        {1, 220, 0, 220},    // 8 .. 15
        {1, 130, 60, 255},   // 16 .. 31
        {1, 40, 90, 255},    // 32 .. 63
        {1, 0, 130, 160},    // 64 .. 127
        {1, 0, 90, 90},      // 128 and older
    }};
    const std::size_t step = age == 0 ? 0 : static_cast<std::size_t>(std::bit_width(age));
    return kAges[std::min(step, kAges.size() - 1)];
}

void LineageView::paintByAge(const engine::Board& board, const engine::Lineage& lineage, engine::Board& view) const {
    copyBoard(board, view);
    const uint64_t now = lineage.clock();
    for (std::size_t i = 0; i < view.Cells.size(); ++i)
        if (view.Cells[i].live()) view.Cells[i] = AgeColour(i < bornClock_.size() ? now - std::min(now, bornClock_[i]) : 0);
}

void LineageView::paintTrace(const engine::Board& board, const engine::Lineage& lineage,
                             const std::array<engine::FounderId, engine::kChannels>& founders, engine::Board& view) {
    copyBoard(board, view);
    const int32_t side = board.side();
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            engine::CellRecord& c = view.cell(x, y);
            if (!c.live()) continue;
            std::array<bool, engine::kChannels> kin{};
            for (int ch = 0; ch < engine::kChannels; ++ch)
                kin[static_cast<std::size_t>(ch)] = founders[static_cast<std::size_t>(ch)] != engine::kNoFounder &&
                                                     lineage.founderAt(x, y, ch) == founders[static_cast<std::size_t>(ch)];
            c = kin[0] || kin[1] || kin[2] ? engine::CellRecord{1, kin[0] ? 255 : 0, kin[1] ? 255 : 0, kin[2] ? 255 : 0}
                                           : kNoKin;
        }
}

}  // namespace app
