// SPDX-License-Identifier: MIT
// Rendering the board into the off-screen picture: where each cell lands in
// pixels, what its bevel looks like, the population count, and the "#,##0"
// number format of the status panels.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "display/board_renderer.h"

namespace {

using display::PixelImage;
using display::PixelRect;
using engine::Board;

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t opaque(display::Rgb c) { return 0xFF000000u | c; }

// Distinct colours so no two roles can be mistaken for each other.
const display::BevelColors kBevel{display::rgb(1, 2, 3), display::rgb(4, 5, 6), display::rgb(7, 8, 9),
                                  display::rgb(10, 11, 12)};
const uint32_t kLight = opaque(kBevel.light), kHighlight = opaque(kBevel.highlight), kShadow = opaque(kBevel.shadow),
               kDark = opaque(kBevel.darkShadow);

// Cell edges at x × width / side, rounded half to even.
TEST(CellPixelRect, WorkedExamples) {
    const std::tuple<int32_t, int32_t, int32_t, int, int, PixelRect> cases[] = {
        {9, 3, 10, 480, 480, {432, 144, 480, 192}},  // 48 pixels a cell, no rounding
        {2, 49, 50, 480, 480, {19, 470, 29, 480}},   // 9.6 a cell: 19.2 -> 19, 28.8 -> 29, 470.4 -> 470
        {1, 3, 64, 480, 480, {8, 22, 15, 30}},       // 7.5 a cell: 7.5 -> 8, 22.5 -> 22
        {5, 7, 64, 480, 480, {38, 52, 45, 60}},      // 37.5 -> 38, 52.5 -> 52
        {3, 3, 160, 480, 400, {9, 8, 12, 10}},       // 3 a cell across, 2.5 down: 7.5 -> 8
        {1, 2, 50, 1125, 1125, {22, 45, 45, 68}},    // 22.5 a cell: 22.5 -> 22, 67.5 -> 68
        {1, 3, 200, 1125, 1125, {6, 17, 11, 22}},    // 5.625: 5.625 -> 6, 11.25 -> 11, 16.875 -> 17
    };
    for (const auto& [x, y, side, width, height, expected] : cases)
        EXPECT_EQ(display::CellPixelRect(x, y, side, width, height), expected) << x << ", " << y << " of " << side;
}

// Cell (2, 3) of 10 x 10 covers x 96..143, y 144..191: its colour inside a
// two-pixel raised rim, or flat, and nothing drawn outside it.
TEST(RenderBoard, LiveCellGetsFillInsideATwoPixelRaisedRim) {
    Board b;
    b.create(9);
    b.cell(2, 3) = {1, 200, 100, 50};
    b.cell(5, 5) = {0, 255, 255, 255};  // dead, with a stale colour
    PixelImage img;
    img.resize(480, 480);
    std::fill(img.pixels.begin(), img.pixels.end(), 0xFF123456u);  // every pixel is drawn anew
    ASSERT_EQ(display::RenderBoard(b, img, kBevel), 1);
    const uint32_t fill = opaque(display::rgb(200, 100, 50));
    const std::tuple<int, int, uint32_t> probes[] = {
        {96, 170, kLight},     {120, 144, kLight},   {143, 170, kDark},   {120, 191, kDark},  // outer ring
        {97, 170, kHighlight}, {120, 145, kHighlight}, {142, 170, kShadow}, {120, 190, kShadow},  // inner ring
        {143, 144, kDark},     {96, 191, kDark},     {142, 145, kShadow}, {97, 190, kShadow},  // corners
        {98, 146, fill},       {141, 189, fill},
    };
    for (auto [x, y, colour] : probes) EXPECT_EQ(img.at(x, y), colour) << x << ", " << y;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 480; ++x)
            ASSERT_TRUE((x >= 96 && x < 144 && y >= 144 && y < 192) || img.at(x, y) == kBlack) << x << ", " << y;
    // Flat: the colour alone, edge to edge, and nothing outside.
    ASSERT_EQ(display::RenderBoard(b, img, kBevel, display::CellLook::Flat), 1);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 480; ++x)
            ASSERT_EQ(img.at(x, y), (x >= 96 && x < 144 && y >= 144 && y < 192) ? fill : kBlack) << x << ", " << y;
}

TEST(FormatCount, GroupsOfThreeDigitsWithCommas) {
    const std::pair<int64_t, const char*> cases[] = {
        {0, "0"}, {999, "999"}, {1000, "1,000"}, {1234567, "1,234,567"}, {-999, "-999"}, {-123456, "-123,456"},
        {INT64_MIN, "-9,223,372,036,854,775,808"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(display::FormatCount(value), text) << value;
}

}  // namespace
