#include "display/board_renderer.h"

#include <algorithm>
#include <vector>

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

int32_t RenderBoard(const engine::Board& board, PixelImage& image, const BevelColors& colors) {
    std::fill(image.pixels.begin(), image.pixels.end(), 0xFF000000u);
    const int32_t side = board.side();
    // The edges of every column and row, computed once per drawing.
    static thread_local std::vector<int> xs, ys;
    xs.resize(side + 1);
    ys.resize(side + 1);
    for (int32_t i = 0; i <= side; ++i) {
        xs[i] = static_cast<int>(RoundHalfEven(int64_t{i} * image.width, side));
        ys[i] = static_cast<int>(RoundHalfEven(int64_t{i} * image.height, side));
    }
    int32_t population = 0;
    const engine::CellRecord* cell = board.Cells.data();
    for (int32_t x = 0; x < side; ++x) {
        for (int32_t y = 0; y < side; ++y, ++cell) {
            if (cell->State == 0) continue;
            ++population;
            const PixelRect r{xs[x], ys[y], xs[x + 1], ys[y + 1]};
            const uint32_t fill = opaque(rgb(cell->Red, cell->Green, cell->Blue));
            for (int py = r.top + 2; py < r.bottom - 2; ++py) hline(image, py, r.left + 2, r.right - 2, fill);
            DrawRaisedEdge(image, r, colors);
        }
    }
    return population;
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
