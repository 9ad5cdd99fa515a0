// SPDX-License-Identifier: MIT
#include "display/viewport.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <cmath>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "display/board_renderer.h"

namespace display {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int64_t Wrap(int64_t a, int64_t period) {
    const int64_t r = a % period;
    return r < 0 ? r + period : r;
}

// Edge k of the whole-board picture's columns, for any k (negative ones and
// those past the board mirror and continue the rounding).
int64_t WholeEdge(int64_t k, int32_t side, int pixels) {
    return k >= 0 ? RoundHalfEven(k * pixels, side) : -RoundHalfEven(-k * pixels, side);
}

}  // namespace

double Viewport::cellPixels(int32_t side, int pixels) const {
    if (whole_) return side > 0 ? static_cast<double>(pixels) / side : 0.0;
    return std::ldexp(1.0, shift_);
}

int64_t Viewport::subPerPixel() const { return shift_ >= 0 ? kSubCell >> shift_ : int64_t{kSubCell} << -shift_; }

void Viewport::normalise(int32_t side) {
    const int64_t unit = !whole_ && shift_ >= 0 ? subPerPixel() : kSubCell;
    const int64_t period = int64_t{side} * kSubCell;
    left_ = Wrap(FloorDiv(left_, unit) * unit, period);
    top_ = Wrap(FloorDiv(top_, unit) * unit, period);
}

bool Viewport::zoom(int steps, double px, double py, int32_t side, int pixels) {
    if (steps == 0 || side <= 0 || pixels <= 0) return false;
    // The board position under the pointer, in sub-cells.
    const double perPixel = whole_ ? static_cast<double>(side) * kSubCell / pixels : static_cast<double>(subPerPixel());
    const double atX = static_cast<double>(left_) + px * perPixel;
    const double atY = static_cast<double>(top_) + py * perPixel;
    int level;
    if (whole_) {
        if (steps < 0) return false;
        // The first level larger than the whole board's cells.
        level = static_cast<int>(std::floor(std::log2(static_cast<double>(pixels) / side))) + 1;
        level = std::max(level, kMinShift) + steps - 1;
        if (level > kMaxShift) {
            if (level - steps + 1 > kMaxShift) return false;  // the whole board is larger already
            level = kMaxShift;
        }
    } else {
        level = std::min(shift_ + steps, kMaxShift);
        if (level == shift_) return false;
        if (level < kMinShift || std::ldexp(static_cast<double>(side), level) <= pixels) {
            // The board fits the picture: back to the whole board, turned by
            // the whole cells the view had moved.
            const int64_t period = int64_t{side} * kSubCell;
            const int64_t leftCells = Wrap((left_ + kSubCell / 2) / kSubCell * kSubCell, period);
            const int64_t topCells = Wrap((top_ + kSubCell / 2) / kSubCell * kSubCell, period);
            *this = Viewport{};
            left_ = leftCells, top_ = topCells;
            return true;
        }
    }
    whole_ = false;
    shift_ = level;
    const double newPerPixel = static_cast<double>(subPerPixel());
    left_ = static_cast<int64_t>(std::floor(atX - px * newPerPixel));
    top_ = static_cast<int64_t>(std::floor(atY - py * newPerPixel));
    normalise(side);
    return true;
}

void Viewport::actualSize(int32_t side, int pixels) {
    if (side <= 0 || pixels <= 0) return;
    const double centre = pixels / 2.0;
    const double perPixel = whole_ ? static_cast<double>(side) * kSubCell / pixels : static_cast<double>(subPerPixel());
    const double atX = static_cast<double>(left_) + centre * perPixel;
    const double atY = static_cast<double>(top_) + centre * perPixel;
    whole_ = false;
    shift_ = 0;
    left_ = static_cast<int64_t>(std::floor(atX - centre * kSubCell));
    top_ = static_cast<int64_t>(std::floor(atY - centre * kSubCell));
    normalise(side);
}

void Viewport::panFrom(const Viewport& from, double dx, double dy, int32_t side, int pixels) {
    *this = from;
    if (side <= 0 || pixels <= 0) return;
    if (whole_) {
        left_ -= std::llround(dx * side / pixels) * kSubCell;
        top_ -= std::llround(dy * side / pixels) * kSubCell;
    } else {
        left_ -= std::llround(dx) * subPerPixel();
        top_ -= std::llround(dy) * subPerPixel();
    }
    normalise(side);
}

CellPosition Viewport::turned(CellPosition fitted, int32_t side) const {
    return {static_cast<int32_t>(Wrap(fitted.x + left_ / kSubCell, side)),
            static_cast<int32_t>(Wrap(fitted.y + top_ / kSubCell, side))};
}

std::optional<CellPosition> Viewport::cellAt(double px, double py, int32_t side, int pixels) const {
    if (side <= 0 || pixels <= 0 || !(px >= 0 && px < pixels && py >= 0 && py < pixels)) return std::nullopt;
    if (whole_) {
        // In single precision, as the window has always mapped its pixels to cells.
        const auto x = static_cast<float>((std::floor(px) + 0.5) * side / pixels);
        const auto y = static_cast<float>((std::floor(py) + 0.5) * side / pixels);
        const int32_t cx = std::min(static_cast<int32_t>(x), side - 1), cy = std::min(static_cast<int32_t>(y), side - 1);
        return turned({cx, cy}, side);
    }
    const int64_t perPixel = subPerPixel(), period = int64_t{side} * kSubCell;
    const auto at = [&](double p, int64_t origin) {
        return static_cast<int32_t>(
            Wrap(origin + static_cast<int64_t>(std::floor(p)) * perPixel + perPixel / 2, period) / kSubCell);
    };
    return CellPosition{at(px, left_), at(py, top_)};
}

PixelRect Viewport::cellsRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t side,
                              int pixels) const {
    if (side <= 0 || pixels <= 0) return {};
    // One axis: the picture pixels from `first` to `last` cell inclusive.
    const auto axis = [&](int32_t first, int32_t last, int64_t origin, int& from, int& to) {
        const int64_t count = int64_t{last} - first + 1;
        int64_t a, b;
        if (whole_) {
            int64_t d = Wrap(first - origin / kSubCell, side);
            a = WholeEdge(d, side, pixels), b = WholeEdge(d + count, side, pixels);
            if (a >= pixels && d - side + count > 0) {  // the copy before reaches into the picture
                d -= side;
                a = WholeEdge(d, side, pixels), b = WholeEdge(d + count, side, pixels);
            }
        } else {
            const int64_t period = int64_t{side} * kSubCell, perPixel = subPerPixel();
            int64_t d = Wrap(int64_t{first} * kSubCell - origin, period);
            if (FloorDiv(d, perPixel) >= pixels && d - period + count * kSubCell > 0) d -= period;
            a = FloorDiv(d, perPixel), b = -FloorDiv(-(d + count * kSubCell), perPixel);
        }
        if (a >= pixels || b <= 0) return false;
        from = static_cast<int>(std::max<int64_t>(a, -1)), to = static_cast<int>(std::min<int64_t>(b, pixels + 1));
        return true;
    };
    PixelRect r;
    if (!axis(left, right, left_, r.left, r.right) || !axis(top, bottom, top_, r.top, r.bottom)) return {};
    return r;
}

bool PaintedByChanges(const Viewport& view, bool grid, int32_t side, int pixels) {
    return view.plain() && side <= pixels && !(grid && view.cellPixels(side, pixels) >= Viewport::kGridFrom);
}

// ---- drawing -------------------------------------------------------------------------------

namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kGridColour = 0xFF404040u;

// A run of pixels along one axis that shows one board row (or column).
struct Span {
    int first = 0, end = 0;  // pixels, end exclusive, within the picture
    int32_t cell = 0;
    int skip = 0;  // the cell's pixels before the picture's edge
    int full = 0;  // the cell's pixels, cut or not
};

// The spans of one axis at the whole board or at a level of one pixel a cell
// or more; `origin` is the view's corner on that axis.
void Spans(std::vector<Span>& spans, const Viewport& view, int64_t origin, int32_t side, int pixels) {
    spans.clear();
    const int64_t sub = Viewport::kSubCell;
    if (view.wholeBoard()) {
        const int64_t turn = origin / sub;
        for (int64_t k = 0; k < side; ++k) {
            const int first = static_cast<int>(WholeEdge(k, side, pixels));
            const int end = static_cast<int>(WholeEdge(k + 1, side, pixels));
            if (end > first) spans.push_back({first, end, static_cast<int32_t>(Wrap(k + turn, side)), 0, end - first});
        }
        return;
    }
    const int cell = 1 << view.shift();
    const int64_t perPixel = sub / cell;
    int32_t c = static_cast<int32_t>(origin / sub);
    int start = -static_cast<int>((origin % sub) / perPixel);
    for (; start < pixels; start += cell, c = c + 1 == side ? 0 : c + 1)
        spans.push_back({std::max(start, 0), std::min(start + cell, pixels), c, std::max(-start, 0), cell});
}

// Cells of one pixel or more: each visible cell's rectangle.
void RenderCells(const engine::Board& board, PixelImage& image, const ViewLook& look) {
    static thread_local std::vector<Span> columns, rows;
    const int32_t side = board.side();
    Spans(columns, look.view, look.view.left(), side, image.width);
    Spans(rows, look.view, look.view.top(), side, image.height);
    const double cellPixels = look.view.cellPixels(side, image.width);
    // The whole board keeps its rim at every size, as it always had; zoomed
    // cells get one where it leaves room for the colour.
    const bool raised = look.raised && (look.view.wholeBoard() || cellPixels >= 4);
    static thread_local CellStamps stamps;
    stamps.use(look.colors);
    for (const Span& col : columns) {
        const engine::CellRecord* column = board.Cells.data() + static_cast<std::size_t>(col.cell) * side;
        const int w = col.end - col.first;
        for (const Span& row : rows) {
            const engine::CellRecord& c = column[row.cell];
            if (c.State == 0) continue;
            const uint32_t fill = 0xFF000000u | rgb(c.Red, c.Green, c.Blue);
            const int h = row.end - row.first;
            // A cell cut by the picture's edge takes its stamp's visible part.
            const uint32_t* stamp = raised ? stamps.get(col.full, row.full) : nullptr;
            for (int y = 0; y < h; ++y) {
                uint32_t* out = image.pixels.data() + static_cast<std::size_t>(row.first + y) * image.width + col.first;
                if (!stamp) {
                    std::fill(out, out + w, fill);
                    continue;
                }
                const uint32_t* in = stamp + static_cast<std::size_t>(row.skip + y) * col.full + col.skip;
                for (int x = 0; x < w; ++x) out[x] = in[x] != 0 ? in[x] : fill;
            }
        }
    }
    if (look.grid && cellPixels >= Viewport::kGridFrom) {
        // A line along each cell's first row and column of pixels.
        for (const Span& row : rows)
            if (row.skip == 0)
                std::fill_n(image.pixels.data() + static_cast<std::size_t>(row.first) * image.width, image.width,
                            kGridColour);
        for (const Span& col : columns)
            if (col.skip == 0)
                for (int y = 0; y < image.height; ++y)
                    image.pixels[static_cast<std::size_t>(y) * image.width + col.first] = kGridColour;
    }
}

// Several cells a pixel: for each board row (column) shown, the pixel it
// falls in, in the order of the picture.
void PixelsOfCells(std::vector<int32_t>& cells, std::vector<int32_t>& pixelOf, const Viewport& view,
                   int64_t origin, int32_t side, int pixels) {
    cells.clear(), pixelOf.clear();
    const int64_t first = origin / Viewport::kSubCell;
    if (view.wholeBoard()) {
        for (int64_t k = 0; k < side; ++k) {
            cells.push_back(static_cast<int32_t>(Wrap(k + first, side)));
            pixelOf.push_back(static_cast<int32_t>(k * pixels / side));
        }
        return;
    }
    const int64_t per = int64_t{1} << -view.shift();
    for (int64_t k = 0; k < per * pixels; ++k) {
        cells.push_back(static_cast<int32_t>(Wrap(first + k, side)));
        pixelOf.push_back(static_cast<int32_t>(k / per));
    }
}

// Adds the live cells of `rows` records to `sums` (four 16-bit sums a row:
// live count, red, green, blue), or puts them there when `first`, with no
// branch on the cells.
void AddColumn(const engine::CellRecord* cells, std::size_t rows, uint16_t* sums, bool first) {
    std::size_t j = 0;
#if defined(__SSE2__)
    // Four records a step: dead ones cleared, a live one's State made 1,
    // widened to 16 bits and added to the sums of its row.
    const __m128i stateByte = _mm_set1_epi32(0xFF), colours = _mm_set1_epi32(static_cast<int>(0xFFFFFF00u));
    const __m128i one = _mm_set1_epi32(1), zero = _mm_setzero_si128();
    for (; j + 4 <= rows; j += 4) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cells + j));
        const __m128i dead = _mm_cmpeq_epi32(_mm_and_si128(x, stateByte), zero);
        const __m128i cell = _mm_andnot_si128(dead, _mm_or_si128(_mm_and_si128(x, colours), one));
        auto* to = reinterpret_cast<__m128i*>(sums + 4 * j);
        const __m128i low = _mm_unpacklo_epi8(cell, zero), high = _mm_unpackhi_epi8(cell, zero);
        _mm_storeu_si128(to, first ? low : _mm_add_epi16(_mm_loadu_si128(to), low));
        _mm_storeu_si128(to + 1, first ? high : _mm_add_epi16(_mm_loadu_si128(to + 1), high));
    }
#endif
    for (; j < rows; ++j) {
        const engine::CellRecord& c = cells[j];
        const auto live = static_cast<uint16_t>(0u - static_cast<unsigned>(c.State != 0));
        uint16_t* s = sums + 4 * j;
        if (first) s[0] = s[1] = s[2] = s[3] = 0;
        s[0] = static_cast<uint16_t>(s[0] + (live & 1u));
        s[1] = static_cast<uint16_t>(s[1] + (c.Red & live));
        s[2] = static_cast<uint16_t>(s[2] + (c.Green & live));
        s[3] = static_cast<uint16_t>(s[3] + (c.Blue & live));
    }
}

// Pixels from their sums of live cells, red, green and blue: the mean colour
// of the live cells, black when there are none (their sums are 0, and so are
// the means). Each mean is rounded as sum * (1 / live) + 0.5 in single
// precision and cut to a whole number; the SSE2 code does the very same
// operations for four pixels at once.
inline uint32_t MeanPixel(const uint16_t total[4]) {
    if (total[0] == 0) return kBlack;
    const float inverse = 1.0f / static_cast<float>(total[0]);
    const auto mean = [&](int k) { return static_cast<int>(static_cast<float>(total[k]) * inverse + 0.5f); };
    return kBlack | rgb(mean(1), mean(2), mean(3));
}

// The sums of `count` rows (four a row, as AddColumn makes them).
inline void SumRows(const uint16_t* sums, std::size_t count, uint16_t total[4]) {
    total[0] = total[1] = total[2] = total[3] = 0;
    for (std::size_t j = 0; j < count; ++j)
        for (std::size_t k = 0; k < 4; ++k) total[k] = static_cast<uint16_t>(total[k] + sums[4 * j + k]);
}

#if defined(__SSE2__)
// Four pixels from their sums, each in the low four 16-bit lanes.
inline __m128i MeanPixels(__m128i t0, __m128i t1, __m128i t2, __m128i t3) {
    const __m128i zero = _mm_setzero_si128();
    // Live and red of the four, then green and blue.
    const __m128i low = _mm_unpacklo_epi16(t0, t1), high = _mm_unpacklo_epi16(t2, t3);
    const __m128i liveRed = _mm_unpacklo_epi32(low, high), greenBlue = _mm_unpackhi_epi32(low, high);
    const __m128 live = _mm_max_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(liveRed, zero)), _mm_set1_ps(1.0f));
    const __m128 inverse = _mm_div_ps(_mm_set1_ps(1.0f), live);
    const __m128 half = _mm_set1_ps(0.5f);
    const auto mean = [&](__m128i sums) {
        return _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(_mm_cvtepi32_ps(sums), inverse), half));
    };
    const __m128i red = mean(_mm_unpackhi_epi16(liveRed, zero)), green = mean(_mm_unpacklo_epi16(greenBlue, zero)),
                  blue = mean(_mm_unpackhi_epi16(greenBlue, zero));
    return _mm_or_si128(_mm_or_si128(_mm_set1_epi32(static_cast<int>(kBlack)), _mm_slli_epi32(red, 16)),
                        _mm_or_si128(_mm_slli_epi32(green, 8), blue));
}
#endif

// One picture column of `height` pixels, `step` apart from `out` on, pixel y
// taking rows rowBound[y] to rowBound[y + 1] - 1 of the sums. `least` rows,
// the fewest any pixel has, are added without a test, and when no pixel has
// more than one row more, that one is added through a mask: nothing here
// branches on a pixel's own rows.
void MeanColumn(const uint16_t* sums, const int32_t* rowBound, std::size_t height, std::size_t least, bool evenRows,
                uint32_t* out, std::size_t step) {
    std::size_t y = 0;
#if defined(__SSE2__)
    const auto row = [&](std::size_t j) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(sums + 4 * j)); };
    const auto total = [&](std::size_t y) {
        const auto first = static_cast<std::size_t>(rowBound[y]);
        const auto count = static_cast<std::size_t>(rowBound[y + 1]) - first;
        __m128i t = _mm_setzero_si128();
        if (evenRows) {
            for (std::size_t j = 0; j < least; ++j) t = _mm_add_epi16(t, row(first + j));
            // The row after the pixel's last is read in any case: the sums have one to spare.
            const __m128i more = _mm_set1_epi16(static_cast<int16_t>(count > least ? -1 : 0));
            return _mm_add_epi16(t, _mm_and_si128(row(first + least), more));
        }
        for (std::size_t j = 0; j < count; ++j) t = _mm_add_epi16(t, row(first + j));
        return t;
    };
    for (; y + 4 <= height; y += 4) {
        alignas(16) uint32_t pixels[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(pixels),
                        MeanPixels(total(y), total(y + 1), total(y + 2), total(y + 3)));
        for (std::size_t k = 0; k < 4; ++k) out[(y + k) * step] = pixels[k];
    }
#else
    (void)least, (void)evenRows;
#endif
    for (; y < height; ++y) {
        uint16_t total[4];
        const auto first = static_cast<std::size_t>(rowBound[y]);
        SumRows(sums + 4 * first, static_cast<std::size_t>(rowBound[y + 1]) - first, total);
        out[y * step] = MeanPixel(total);
    }
}

// Several cells a pixel: each pixel the mean colour of its live cells. For
// each picture column, its board columns are first added up row by row
// (16-bit sums of at most 8 columns of 255), a pass in memory order; each
// pixel then adds up the sums of its rows (at most 64 cells of 255).
void RenderDownsampled(const engine::Board& board, PixelImage& image, const ViewLook& look) {
    static thread_local std::vector<int32_t> colCells, colPixel, rowCells, rowPixel, rowBound;
    static thread_local std::vector<engine::CellRecord> gathered;  // a column's rows in the view's order
    static thread_local std::vector<uint16_t> sums;  // four a row (count, red, green, blue)
    const int32_t side = board.side();
    PixelsOfCells(colCells, colPixel, look.view, look.view.left(), side, image.width);
    PixelsOfCells(rowCells, rowPixel, look.view, look.view.top(), side, image.height);
    const std::size_t rows = rowCells.size();
    const auto height = static_cast<std::size_t>(image.height);
    // The first board row of each pixel row, and one past the last.
    rowBound.assign(height + 1, static_cast<int32_t>(rows));
    for (std::size_t j = rows; j-- > 0;) rowBound[static_cast<std::size_t>(rowPixel[j])] = static_cast<int32_t>(j);
    for (std::size_t y = height; y-- > 0;) rowBound[y] = std::min(rowBound[y], rowBound[y + 1]);
    // Rows that do not wrap round the board are read in place.
    const bool rowsInOrder = rowCells[rows - 1] == rowCells[0] + static_cast<int32_t>(rows) - 1;
    gathered.resize(rows);
    sums.resize(4 * (rows + 1));  // and a row to spare for MeanColumn
    uint16_t* const rowSums = sums.data();
    std::size_t least = rows, most = 0;
    for (std::size_t y = 0; y < height; ++y) {
        const auto count = static_cast<std::size_t>(rowBound[y + 1] - rowBound[y]);
        least = std::min(least, count), most = std::max(most, count);
    }
    const bool evenRows = most <= least + 1;
    const std::size_t n = colCells.size();
    for (std::size_t i = 0; i < n;) {
        const int32_t px = colPixel[i];
        for (const std::size_t start = i; i < n && colPixel[i] == px; ++i) {
            const engine::CellRecord* column = board.Cells.data() + static_cast<std::size_t>(colCells[i]) * side;
            if (rowsInOrder) {
                column += rowCells[0];
            } else {
                for (std::size_t j = 0; j < rows; ++j) gathered[j] = column[rowCells[j]];
                column = gathered.data();
            }
            AddColumn(column, rows, rowSums, i == start);
        }
        if (px >= image.width) continue;
        MeanColumn(rowSums, rowBound.data(), height, least, evenRows, image.pixels.data() + px,
                   static_cast<std::size_t>(image.width));
    }
}

}  // namespace

void RenderView(const engine::Board& board, PixelImage& image, const ViewLook& look) {
    std::fill(image.pixels.begin(), image.pixels.end(), kBlack);
    const int32_t side = board.side();
    if (side <= 0 || image.width <= 0 || image.height <= 0) return;
    if (look.view.cellPixels(side, image.width) < 1.0)
        RenderDownsampled(board, image, look);
    else
        RenderCells(board, image, look);
}

}  // namespace display
