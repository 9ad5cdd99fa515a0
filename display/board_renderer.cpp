// SPDX-License-Identifier: MIT
#include "display/board_renderer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace display {

int64_t RoundHalfEven(int64_t num, int64_t den) {
    const int64_t q = num / den;
    const int64_t twiceRest = 2 * (num % den);
    if (twiceRest > den || (twiceRest == den && (q % 2) != 0)) return q + 1;
    return q;
}

PixelRect CellPixelRect(int32_t x, int32_t y, int32_t side, int width, int height) {
    return {static_cast<int>(RoundHalfEven(int64_t{x} * width, side)),
            static_cast<int>(RoundHalfEven(int64_t{y} * height, side)),
            static_cast<int>(RoundHalfEven(int64_t{x + 1} * width, side)),
            static_cast<int>(RoundHalfEven(int64_t{y + 1} * height, side))};
}

PixelRect CellsPixelRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t side, int width,
                         int height) {
    const PixelRect topLeft = CellPixelRect(left, top, side, width, height);
    const PixelRect bottomRight = CellPixelRect(right, bottom, side, width, height);
    return {topLeft.left, topLeft.top, bottomRight.right, bottomRight.bottom};
}

namespace {

constexpr uint32_t opaque(Rgb c) { return 0xFF000000u | c; }

void hline(PixelImage& img, int y, int x0, int x1, uint32_t c) {
    if (x0 >= x1) return;  // a cell narrower than its rim has no room for fill
    uint32_t* row = img.pixels.data() + static_cast<std::size_t>(y) * img.width;
    std::fill(row + x0, row + x1, c);
}

void vline(PixelImage& img, int x, int y0, int y1, uint32_t c) {
    for (int y = y0; y < y1; ++y) img.pixels[static_cast<std::size_t>(y) * img.width + x] = c;
}

// One ring of the edge: top and left in `topLeft`, bottom and right in
// `bottomRight`, which also takes the top-right and bottom-left corners.
void ring(PixelImage& img, const PixelRect& r, uint32_t topLeft, uint32_t bottomRight) {
    if (r.width() <= 0 || r.height() <= 0) return;
    hline(img, r.top, r.left, r.right, topLeft);
    vline(img, r.left, r.top, r.bottom, topLeft);
    hline(img, r.bottom - 1, r.left, r.right, bottomRight);
    vline(img, r.right - 1, r.top, r.bottom, bottomRight);
}

}  // namespace

void DrawRaisedEdge(PixelImage& image, const PixelRect& rect, const BevelColors& colors) {
    ring(image, rect, opaque(colors.light), opaque(colors.darkShadow));
    const PixelRect inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    ring(image, inner, opaque(colors.highlight), opaque(colors.shadow));
}

namespace {

// The pixel edges of `side` columns (or rows) over `pixels` pixels.
void cellEdges(std::vector<int>& edges, int32_t side, int pixels) {
    edges.resize(static_cast<std::size_t>(side) + 1);
    for (int32_t i = 0; i <= side; ++i) edges[i] = static_cast<int>(RoundHalfEven(int64_t{i} * pixels, side));
}

// One live cell: its colour inside a raised two-pixel rim, or its colour
// alone; every pixel of its rectangle written.
void drawLiveCell(PixelImage& image, const PixelRect& r, const engine::CellRecord& cell, CellStamps& stamps,
                  CellLook look) {
    const int w = r.width();
    if (w <= 0 || r.height() <= 0) return;
    const uint32_t fill = opaque(rgb(cell.Red, cell.Green, cell.Blue));
    if (look == CellLook::Flat) {
        for (int py = r.top; py < r.bottom; ++py) hline(image, py, r.left, r.right, fill);
        return;
    }
    const uint32_t* stamp = stamps.get(w, r.height());
    for (int py = r.top; py < r.bottom; ++py, stamp += w) {
        uint32_t* row = image.pixels.data() + static_cast<std::size_t>(py) * image.width + r.left;
        for (int px = 0; px < w; ++px) row[px] = stamp[px] != 0 ? stamp[px] : fill;
    }
}

bool sameColors(const BevelColors& a, const BevelColors& b) {
    return a.light == b.light && a.highlight == b.highlight && a.shadow == b.shadow && a.darkShadow == b.darkShadow;
}

// Whether two records are drawn differently: live against dead, or two
// different colours of live cells (a dead cell's colour is never drawn).
bool looksDifferent(const engine::CellRecord& a, const engine::CellRecord& b) {
    if ((a.State != 0) != (b.State != 0)) return true;
    return a.State != 0 && (a.Red != b.Red || a.Green != b.Green || a.Blue != b.Blue);
}

// Bit j set when record j of `a` and `b` differ, for sixteen records (records
// are four bytes: one 32-bit lane each).
inline unsigned differences16(const engine::CellRecord* a, const engine::CellRecord* b) {
    static_assert(sizeof(engine::CellRecord) == 4);
#if defined(__SSE2__)
    auto load = [](const engine::CellRecord* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    const __m128i d0 = _mm_xor_si128(load(a), load(b)), d1 = _mm_xor_si128(load(a + 4), load(b + 4));
    const __m128i d2 = _mm_xor_si128(load(a + 8), load(b + 8)), d3 = _mm_xor_si128(load(a + 12), load(b + 12));
    const __m128i zero = _mm_setzero_si128();
    // Settled parts of a board: one test for the whole block.
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(_mm_or_si128(d0, d1), _mm_or_si128(d2, d3)), zero)) == 0xFFFF)
        return 0;
    auto lanes = [&](__m128i d) {
        return ~static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(d, zero)))) & 0xFu;
    };
    return lanes(d0) | lanes(d1) << 4 | lanes(d2) << 8 | lanes(d3) << 12;
#else
    unsigned bits = 0;
    for (int j = 0; j < 16; ++j) bits |= static_cast<unsigned>(!(a[j] == b[j])) << j;
    return bits;
#endif
}

}  // namespace

void CellStamps::use(const BevelColors& colors) {
    if (sameColors(colors, colors_)) return;
    stamps_.clear();
    colors_ = colors;
}

const uint32_t* CellStamps::make(int w, int h) {
    // The inside first, then the rim over it, as a cell is drawn; the rim's
    // two rings and the inside together cover every pixel.
    PixelImage picture;
    picture.resize(w, h);
    std::fill(picture.pixels.begin(), picture.pixels.end(), 0u);
    DrawRaisedEdge(picture, {0, 0, w, h}, colors_);
    stamps_.push_back({w, h, std::move(picture.pixels)});
    return stamps_.back().pixels.data();
}

int32_t RenderBoard(const engine::Board& board, PixelImage& image, const BevelColors& colors, CellLook look) {
    std::fill(image.pixels.begin(), image.pixels.end(), 0xFF000000u);
    const int32_t side = board.side();
    // The edges of every column and row, computed once per drawing.
    static thread_local std::vector<int> xs, ys;
    cellEdges(xs, side, image.width);
    cellEdges(ys, side, image.height);
    CellStamps stamps;
    stamps.use(colors);
    int32_t population = 0;
    const engine::CellRecord* cell = board.Cells.data();
    for (int32_t x = 0; x < side; ++x) {
        for (int32_t y = 0; y < side; ++y, ++cell) {
            if (cell->State == 0) continue;
            ++population;
            drawLiveCell(image, {xs[x], ys[y], xs[x + 1], ys[y + 1]}, *cell, stamps, look);
        }
    }
    return population;
}

const BoardPainter::Drawing& BoardPainter::paint(const engine::Board& board, PixelImage& image,
                                                 const BevelColors& colors, CellLook look) {
    drawing_.changed.clear();
    stamps_.use(colors);
    if (needsFullDrawing(board, image, colors, look))
        paintAll(board, image, colors, look);
    else
        paintChanges(board, image);
    drawing_.population = population_;
    return drawing_;
}

// Anything but the cells differs from the last drawing: side, picture, rim
// colours, the cells' look.
bool BoardPainter::needsFullDrawing(const engine::Board& board, const PixelImage& image, const BevelColors& colors,
                                    CellLook look) const {
    return board.side() != side_ || board.Cells.size() != drawn_.size() || image.width != width_ ||
           image.height != height_ || image.pixels.data() != pixels_ || !sameColors(colors, colors_) ||
           look != look_;
}

void BoardPainter::paintAll(const engine::Board& board, PixelImage& image, const BevelColors& colors,
                            CellLook look) {
    population_ = RenderBoard(board, image, colors, look);
    drawn_ = board.Cells;
    side_ = board.side();
    cellEdges(xs_, side_, image.width);
    cellEdges(ys_, side_, image.height);
    width_ = image.width;
    height_ = image.height;
    pixels_ = image.pixels.data();
    colors_ = colors;
    look_ = look;
    drawing_.changed.push_back({0, 0, image.width, image.height});
}

// Compares the board with the copy of the last drawing, 16 cells of a column
// at a time, and repaints the cells that look different.
void BoardPainter::paintChanges(const engine::Board& board, PixelImage& image) {
    const int32_t side = board.side();
    const engine::CellRecord* now = board.Cells.data();
    const engine::CellRecord* was = drawn_.data();
    for (int32_t x = 0; x < side; ++x) {
        const std::size_t column = static_cast<std::size_t>(x) * static_cast<std::size_t>(side);
        int32_t y = 0;
        for (; y + 16 <= side; y += 16)
            for (unsigned d = differences16(now + column + y, was + column + y); d != 0; d &= d - 1) {
                const int32_t cy = y + std::countr_zero(d);
                update(image, x, cy, now[column + static_cast<std::size_t>(cy)], drawn_[column + static_cast<std::size_t>(cy)]);
            }
        for (; y < side; ++y)
            if (!(now[column + y] == was[column + y])) update(image, x, y, now[column + y], drawn_[column + y]);
    }
    endRun();
}

// One cell whose record changed: repainted if it looks different, and the
// copy brought up to date either way.
void BoardPainter::update(PixelImage& image, int32_t x, int32_t y, const engine::CellRecord& now,
                          engine::CellRecord& was) {
    if (looksDifferent(now, was)) {
        const PixelRect r{xs_[x], ys_[y], xs_[x + 1], ys_[y + 1]};
        if (now.State != 0)
            drawLiveCell(image, r, now, stamps_, look_);
        else
            for (int py = r.top; py < r.bottom; ++py) hline(image, py, r.left, r.right, 0xFF000000u);
        population_ += (now.State != 0) - (was.State != 0);
        addToRun(x, y);
    }
    was = now;
}

// Changed cells that follow one another down a column are handed on as one rectangle.
void BoardPainter::addToRun(int32_t x, int32_t y) {
    if (runX_ == x && runEnd_ == y) {
        ++runEnd_;
        return;
    }
    endRun();
    runX_ = x, runTop_ = y, runEnd_ = y + 1;
}

void BoardPainter::endRun() {
    if (runX_ < 0) return;
    const PixelRect r{xs_[runX_], ys_[runTop_], xs_[runX_ + 1], ys_[runEnd_]};
    if (r.width() > 0 && r.height() > 0) drawing_.changed.push_back(r);
    runX_ = -1;
}

std::string FormatCount(int64_t value) {
    const bool negative = value < 0;
    // The magnitude in unsigned arithmetic, so the most negative value has one too.
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return negative ? "-" + out : out;
}

}  // namespace display
