// Rendering the board into the off-screen picture: where each cell lands in
// pixels, what its bevel looks like, the population count, and the "#,##0"
// number format of the status panels.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>

#include "display/board_renderer.h"

namespace {

using engine::Board;
using engine::CellRecord;
using display::PixelImage;
using display::PixelRect;

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t opaque(display::Rgb c) { return 0xFF000000u | c; }

// Distinct colours so no two roles can be mistaken for each other.
const display::BevelColors kBevel{display::rgb(1, 2, 3), display::rgb(4, 5, 6), display::rgb(7, 8, 9),
                                   display::rgb(10, 11, 12)};
const uint32_t kLight = opaque(kBevel.light), kHighlight = opaque(kBevel.highlight), kShadow = opaque(kBevel.shadow),
               kDark = opaque(kBevel.darkShadow);

PixelImage image(int w, int h, uint32_t fill = kBlack) {
    PixelImage img;
    img.resize(w, h);
    std::fill(img.pixels.begin(), img.pixels.end(), fill);
    return img;
}

Board board(int32_t side, CellRecord everyCell = {}) {
    Board b;
    b.create(side - 1);
    std::fill(b.Cells.begin(), b.Cells.end(), everyCell);
    return b;
}

TEST(CellPixelRect, WorkedExamples) {
    struct Case {
        int32_t x, y, side;
        int width, height;
        PixelRect expected;
    };
    const Case cases[] = {
        // 10 x 10: 48 pixels a cell, no rounding.
        {0, 0, 10, 480, 480, {0, 0, 48, 48}},
        {9, 3, 10, 480, 480, {432, 144, 480, 192}},
        // 50 x 50: 9.6 a cell. 9.6 -> 10, 19.2 -> 19, 28.8 -> 29, 470.4 -> 470.
        {0, 1, 50, 480, 480, {0, 10, 10, 19}},
        {2, 49, 50, 480, 480, {19, 470, 29, 480}},
        // 200 x 200: 2.4 a cell. 2.4 -> 2, 4.8 -> 5, 12 exactly, 14.4 -> 14, 477.6 -> 478.
        {1, 5, 200, 480, 480, {2, 12, 5, 14}},
        {199, 0, 200, 480, 480, {478, 0, 480, 2}},
        // 64 x 64 (a size only a board file brings): 7.5 a cell, exact halves go to even:
        // 7.5 -> 8, 15, 22.5 -> 22, 30, 37.5 -> 38, 52.5 -> 52.
        {1, 3, 64, 480, 480, {8, 22, 15, 30}},
        {5, 7, 64, 480, 480, {38, 52, 45, 60}},
        {4, 6, 64, 480, 480, {30, 45, 38, 52}},
        // 160 cells on 400 pixels: 2.5 a cell; 2.5 -> 2, 7.5 -> 8, 12.5 -> 12.
        {1, 3, 160, 400, 400, {2, 8, 5, 10}},
        {4, 5, 160, 400, 400, {10, 12, 12, 15}},
        // Horizontal and vertical scales apart: 3 a cell across, 2.5 down.
        {3, 3, 160, 480, 400, {9, 8, 12, 10}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(display::CellPixelRect(c.x, c.y, c.side, c.width, c.height), c.expected)
            << "cell (" << c.x << ", " << c.y << ") of " << c.side << " on " << c.width << " x " << c.height;
}

// Cell (2, 3) of 10 x 10 covers x 96..143, y 144..191: its colour inside a
// two-pixel raised rim, and nothing drawn outside it.
TEST(RenderBoard, LiveCellGetsFillInsideATwoPixelRaisedRim) {
    Board b = board(10);
    b.cell(2, 3) = {1, 200, 100, 50};
    PixelImage img = image(480, 480);
    ASSERT_EQ(display::RenderBoard(b, img, kBevel), 1);
    const uint32_t fill = opaque(display::rgb(200, 100, 50));
    const std::tuple<int, int, uint32_t> probes[] = {
        {96, 144, kLight},  {96, 170, kLight},     {120, 144, kLight},     // outer ring, top and left
        {143, 170, kDark},  {120, 191, kDark},     {143, 191, kDark},      // outer ring, bottom and right
        {97, 170, kHighlight}, {120, 145, kHighlight}, {97, 145, kHighlight},  // inner ring, top and left
        {142, 170, kShadow}, {120, 190, kShadow},  {142, 190, kShadow},    // inner ring, bottom and right
        {143, 144, kDark},  {96, 191, kDark},      {142, 145, kShadow},    // corners the bottom and right take
        {97, 190, kShadow}, {98, 146, fill},       {141, 189, fill},       // ... and the fill
    };
    for (auto [x, y, colour] : probes) EXPECT_EQ(img.at(x, y), colour) << x << ", " << y;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 480; ++x)
            ASSERT_TRUE((x >= 96 && x < 144 && y >= 144 && y < 192) || img.at(x, y) == kBlack) << x << ", " << y;
}

// On 480 pixels a cell of the 200 x 200 board is 2 or 3 pixels: all rim, the
// outer ring intact. On 1200 pixels it is 6: two rings and a 2 x 2 fill.
TEST(RenderBoard, LargestBoardCellsKeepTheirRimAndShowFillWhereThereIsRoom) {
    const Board b = board(200, {1, 30, 60, 90});
    PixelImage small = image(480, 480);
    ASSERT_EQ(display::RenderBoard(b, small, kBevel), 40000);
    const std::set<uint32_t> rim = {kLight, kHighlight, kShadow, kDark};
    for (int32_t x : {0, 1, 2, 100, 199}) {
        for (int32_t y : {0, 1, 57, 199}) {
            const PixelRect r = display::CellPixelRect(x, y, 200, 480, 480);
            EXPECT_EQ(small.at(r.left, r.top), kLight) << x << ", " << y;
            EXPECT_EQ(small.at(r.right - 1, r.bottom - 1), kDark) << x << ", " << y;
            for (int py = r.top; py < r.bottom; ++py)
                for (int px = r.left; px < r.right; ++px) EXPECT_EQ(rim.count(small.at(px, py)), 1u) << px << ", " << py;
        }
    }
    PixelImage large = image(1200, 1200);
    ASSERT_EQ(display::RenderBoard(b, large, kBevel), 40000);
    const uint32_t fill = opaque(display::rgb(30, 60, 90));
    const uint32_t across[] = {kLight, kHighlight, fill, fill, kShadow, kDark};  // the cell's middle row
    for (int32_t x : {0, 77, 199})
        for (int dx = 0; dx < 6; ++dx) EXPECT_EQ(large.at(6 * x + dx, 6 * x + 3), across[dx]) << x << ", " << dx;
}

// Every non-zero State is drawn and counted, each cell exactly on its pixel
// rectangle; dead cells, even with a stale colour, show the background, and no
// pixel of the last drawing survives.
TEST(RenderBoard, CountsEveryNonZeroStateAndClearsTheRestToBlack) {
    Board b = board(50);
    b.cell(0, 0) = {1, 255, 255, 255};
    b.cell(49, 49) = {5, 255, 255, 255};
    b.cell(10, 20) = {255, 255, 255, 255};
    b.cell(20, 10) = {0, 255, 255, 255};
    PixelImage img = image(480, 480, 0xFF123456u);
    EXPECT_EQ(display::RenderBoard(b, img, kBevel), 3);
    int64_t drawn = 0;
    for (auto [x, y] : {std::pair{0, 0}, {49, 49}, {10, 20}}) {
        const PixelRect r = display::CellPixelRect(x, y, 50, 480, 480);
        EXPECT_EQ(img.at(r.left, r.top), kLight) << x << ", " << y;
        EXPECT_EQ(img.at(r.right - 1, r.bottom - 1), kDark) << x << ", " << y;
        drawn += int64_t{r.width()} * r.height();
    }
    EXPECT_EQ(std::count_if(img.pixels.begin(), img.pixels.end(), [](uint32_t p) { return p != kBlack; }), drawn);

    PixelImage empty = image(480, 480, 0xFFFFFFFFu);
    EXPECT_EQ(display::RenderBoard(board(200), empty, kBevel), 0);
    EXPECT_EQ(std::count(empty.pixels.begin(), empty.pixels.end(), kBlack), 480 * 480);
}

TEST(RenderBoard, PicturesSmallerThanTheBoardAreSafe) {
    // Pictures smaller than the board are safe.
    for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {7, 480}, {49, 51}}) {
        PixelImage img = image(w, h);
        EXPECT_EQ(display::RenderBoard(board(50, {1, 1, 2, 3}), img, kBevel), 2500) << w << " x " << h;
    }
}

TEST(FormatCount, GroupsOfThreeDigitsWithCommas) {
    const std::pair<int64_t, const char*> cases[] = {
        {0, "0"},           {999, "999"},         {1000, "1,000"},         {1234, "1,234"},
        {100000, "100,000"}, {1234567, "1,234,567"}, {-1, "-1"},            {-999, "-999"},
        {-1234, "-1,234"},  {-123456, "-123,456"}, {INT32_MAX, "2,147,483,647"}, {INT32_MIN, "-2,147,483,648"},
        {INT64_MAX, "9,223,372,036,854,775,807"}, {INT64_MIN, "-9,223,372,036,854,775,808"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(display::FormatCount(value), text) << value;
}

}  // namespace
