// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

namespace display {

// A colour as 0x00RRGGBB (the layout of a 32-bit RGB image pixel).
using Rgb = uint32_t;
inline constexpr Rgb rgb(int r, int g, int b) {
    return (static_cast<Rgb>(r & 0xFF) << 16) | (static_cast<Rgb>(g & 0xFF) << 8) | static_cast<Rgb>(b & 0xFF);
}

// A rectangle in pixels; right and bottom are exclusive.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Pixels a side of the board picture the window shows.
inline constexpr int kBoardPictureSize = 480;

// The dotted outline of a focus rectangle `r`: every other pixel of its edge,
// counted from its top-left corner, each pixel once; `dot(x, y)` is called
// for each.
template <typename Dot>
void ForEachFocusDot(const PixelRect& r, Dot&& dot) {
    if (r.width() <= 0 || r.height() <= 0) return;
    const auto onDot = [&](int x, int y) {
        if (((x - r.left + y - r.top) & 1) == 0) dot(x, y);
    };
    for (int x = r.left; x < r.right; ++x) {
        onDot(x, r.top);
        if (r.bottom - 1 > r.top) onDot(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        onDot(r.left, y);
        if (r.right - 1 > r.left) onDot(r.right - 1, y);
    }
}

// An off-screen picture: width x height pixels, row by row, each 0xFFRRGGBB
// (the memory layout of QImage::Format_RGB32, so the window can show it
// without converting).
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    void resize(int w, int h) {
        width = w;
        height = h;
        pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0xFF000000u);
    }
    uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The window system's colours for a raised three-dimensional edge.
struct BevelColors {
    Rgb light = rgb(227, 227, 227);       // outer ring, top and left
    Rgb highlight = rgb(255, 255, 255);   // inner ring, top and left
    Rgb shadow = rgb(160, 160, 160);      // inner ring, bottom and right
    Rgb darkShadow = rgb(105, 105, 105);  // outer ring, bottom and right
};

}  // namespace display
