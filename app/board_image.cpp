// SPDX-License-Identifier: MIT
#include "app/board_image.h"

#include <zstd.h>

#include <bit>
#include <cstring>
#include <new>
#include <stdexcept>

namespace app {

namespace {

// Fast compression: a 2048 x 2048 board is captured in a few tens of
// milliseconds, and random colours would not shrink further anyway.
constexpr int kLevel = 1;

// One compression context per thread, kept: making one costs more than
// compressing a small board.
ZSTD_CCtx* context() {
    thread_local const std::unique_ptr<ZSTD_CCtx, decltype(&ZSTD_freeCCtx)> cctx(ZSTD_createCCtx(), ZSTD_freeCCtx);
    if (!cctx) throw std::bad_alloc();
    return cctx.get();
}

bool empty(const engine::CellRecord& c) { return std::bit_cast<uint32_t>(c) == 0; }

}  // namespace

BoardImage BoardImage::capture(const engine::Board& board, const BoardImage* like) {
    BoardImage image;
    image.GridMax = board.GridMax;
    image.Generation = board.Generation;
    image.PopulationHistory = board.PopulationHistory;
    image.Modified = board.Modified;

    // The bit map of cells that carry something, then their records.
    const std::size_t count = board.Cells.size();
    const std::size_t mapBytes = (count + 7) / 8;
    std::size_t kept = 0;
    for (const engine::CellRecord& c : board.Cells) kept += !empty(c);
    std::vector<uint8_t> plain(mapBytes + kept * sizeof(engine::CellRecord));
    uint8_t* record = plain.data() + mapBytes;
    for (std::size_t i = 0; i < count; ++i) {
        const engine::CellRecord& c = board.Cells[i];
        if (empty(c)) continue;
        plain[i / 8] |= static_cast<uint8_t>(1u << (i % 8));
        record[0] = c.State, record[1] = c.Red, record[2] = c.Green, record[3] = c.Blue;
        record += 4;
    }
    auto cells = std::make_shared<Cells>(ZSTD_compressBound(plain.size()));
    const std::size_t size = ZSTD_compressCCtx(context(), cells->data(), cells->size(), plain.data(), plain.size(), kLevel);
    if (ZSTD_isError(size)) throw std::bad_alloc();  // only a failed allocation makes zstd fail here
    cells->resize(size);
    cells->shrink_to_fit();

    if (like && like->cells_ && like->GridMax == image.GridMax && *like->cells_ == *cells)
        image.cells_ = like->cells_;
    else
        image.cells_ = std::move(cells);
    return image;
}

void BoardImage::restore(engine::Board& board) const {
    board.create(GridMax);
    if (cells_) {
        const std::size_t count = board.Cells.size();
        const std::size_t mapBytes = (count + 7) / 8;
        const unsigned long long size = ZSTD_getFrameContentSize(cells_->data(), cells_->size());
        // The bytes were made by capture() above; anything else is a fault of the program.
        if (size == ZSTD_CONTENTSIZE_ERROR || size == ZSTD_CONTENTSIZE_UNKNOWN || size < mapBytes ||
            size > mapBytes + count * sizeof(engine::CellRecord))
            throw std::logic_error("a board image that capture() did not make");
        std::vector<uint8_t> plain(static_cast<std::size_t>(size));
        const std::size_t got = ZSTD_decompress(plain.data(), plain.size(), cells_->data(), cells_->size());
        if (ZSTD_isError(got) || got != plain.size()) throw std::logic_error("a board image that does not decompress");
        std::size_t at = mapBytes;
        for (std::size_t i = 0; i < count && at + 4 <= plain.size(); ++i) {
            if (!((plain[i / 8] >> (i % 8)) & 1)) continue;
            engine::CellRecord& c = board.Cells[i];
            c.State = plain[at], c.Red = plain[at + 1], c.Green = plain[at + 2], c.Blue = plain[at + 3];
            at += 4;
        }
    }
    board.Generation = Generation;
    board.PopulationHistory = PopulationHistory;
    board.Modified = Modified;
}

bool BoardImage::sameCells(const BoardImage& other) const {
    if (GridMax != other.GridMax) return false;
    if (cells_ == other.cells_) return true;
    return cells_ && other.cells_ && *cells_ == *other.cells_;
}

std::size_t BoardImage::bytes() const {
    if (!cells_) return 0;
    return sizeof(Cells) + cells_->capacity();
}

}  // namespace app
