// SPDX-License-Identifier: MIT
#include "display/viewport.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

// Several cells a pixel: each pixel the mean colour of its live cells.
void RenderDownsampled(const engine::Board& board, PixelImage& image, const ViewLook& look) {
    static thread_local std::vector<int32_t> colCells, colPixel, rowCells, rowPixel;
    static thread_local std::vector<uint32_t> sums;  // per pixel of a picture column: red, green, blue, count
    const int32_t side = board.side();
    PixelsOfCells(colCells, colPixel, look.view, look.view.left(), side, image.width);
    PixelsOfCells(rowCells, rowPixel, look.view, look.view.top(), side, image.height);
    sums.assign(static_cast<std::size_t>(image.height) * 4, 0);
    const bool rowsInOrder = rowCells.size() == static_cast<std::size_t>(side) && rowCells[0] == 0;
    const std::size_t n = colCells.size(), rowCount = rowCells.size();
    for (std::size_t i = 0; i < n;) {
        const int32_t px = colPixel[i];
        for (; i < n && colPixel[i] == px; ++i) {
            const engine::CellRecord* column = board.Cells.data() + static_cast<std::size_t>(colCells[i]) * side;
            for (std::size_t j = 0; j < rowCount; ++j) {
                const engine::CellRecord& c = column[rowsInOrder ? j : static_cast<std::size_t>(rowCells[j])];
                const uint32_t live = 0u - static_cast<uint32_t>(c.State != 0);
                uint32_t* s = &sums[static_cast<std::size_t>(rowPixel[j]) * 4];
                s[0] += c.Red & live, s[1] += c.Green & live, s[2] += c.Blue & live, s[3] += live & 1u;
            }
        }
        if (px >= image.width) continue;
        for (int y = 0; y < image.height; ++y) {
            uint32_t* s = &sums[static_cast<std::size_t>(y) * 4];
            uint32_t colour = kBlack;
            if (s[3] != 0) {
                const uint32_t half = s[3] / 2;
                colour |= rgb(static_cast<int>((s[0] + half) / s[3]), static_cast<int>((s[1] + half) / s[3]),
                              static_cast<int>((s[2] + half) / s[3]));
            }
            image.pixels[static_cast<std::size_t>(y) * image.width + px] = colour;
            s[0] = s[1] = s[2] = s[3] = 0;
        }
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
