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
using platform::BevelColors;
using platform::PixelImage;
using platform::PixelRect;

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t opaque(platform::Rgb c) { return 0xFF000000u | c; }

PixelImage image(int w, int h) {
    PixelImage img;
    img.resize(w, h);
    return img;
}

Board board(int32_t side) {
    Board b;
    b.create(side - 1);
    return b;
}

// ---------------------------------------------------------------------------
// Pixel rectangles.

TEST(RoundHalfEven, RoundsToNearestAndHalvesToEven) {
    struct Case {
        int64_t num, den, expected;
    };
    for (const Case& c : {Case{0, 3, 0}, Case{1, 2, 0}, Case{3, 2, 2}, Case{5, 2, 2}, Case{7, 2, 4}, Case{5, 4, 1},
                          Case{7, 4, 2}, Case{12, 5, 2}, Case{24, 5, 5}, Case{25, 10, 2}, Case{35, 10, 4},
                          Case{96000, 200, 480}})
        EXPECT_EQ(display::RoundHalfEven(c.num, c.den), c.expected) << c.num << " / " << c.den;
}

TEST(CellPixelRect, WorkedExamplesOn480Pixels) {
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

TEST(CellPixelRect, CellsTileThePictureWithoutGapsOrOverlaps) {
    for (int32_t side = 1; side <= 200; ++side) {
        for (int pixels : {480, 401}) {
            int previousRight = 0;
            for (int32_t x = 0; x < side; ++x) {
                const PixelRect r = display::CellPixelRect(x, x, side, pixels, pixels);
                ASSERT_EQ(r.left, previousRight) << "side " << side << ", x " << x;
                ASSERT_GE(r.width(), pixels / side) << "side " << side << ", x " << x;
                ASSERT_LE(r.width(), pixels / side + 1) << "side " << side << ", x " << x;
                ASSERT_EQ(r.top, r.left);
                ASSERT_EQ(r.bottom, r.right);
                previousRight = r.right;
            }
            ASSERT_EQ(previousRight, pixels) << "side " << side;
        }
    }
}

// ---------------------------------------------------------------------------
// The bevel.

// Distinct colours so no two roles can be mistaken for each other.
const BevelColors kBevel{platform::rgb(1, 2, 3), platform::rgb(4, 5, 6), platform::rgb(7, 8, 9),
                         platform::rgb(10, 11, 12)};

TEST(RenderBoard, LiveCellGetsFillInsideATwoPixelRaisedRim) {
    Board b = board(10);
    b.cell(2, 3) = {1, 200, 100, 50};
    PixelImage img = image(480, 480);
    ASSERT_EQ(display::RenderBoard(b, img, kBevel), 1);

    // Cell (2, 3) covers x 96..143, y 144..191.
    const uint32_t fill = opaque(platform::rgb(200, 100, 50));
    struct Probe {
        int x, y;
        uint32_t colour;
        const char* role;
    };
    const Probe probes[] = {
        {96, 144, opaque(kBevel.light), "outer top-left corner"},
        {96, 170, opaque(kBevel.light), "outer left"},
        {120, 144, opaque(kBevel.light), "outer top"},
        {143, 170, opaque(kBevel.darkShadow), "outer right"},
        {120, 191, opaque(kBevel.darkShadow), "outer bottom"},
        {143, 191, opaque(kBevel.darkShadow), "outer bottom-right corner"},
        {97, 170, opaque(kBevel.highlight), "inner left"},
        {120, 145, opaque(kBevel.highlight), "inner top"},
        {97, 145, opaque(kBevel.highlight), "inner top-left corner"},
        {142, 170, opaque(kBevel.shadow), "inner right"},
        {120, 190, opaque(kBevel.shadow), "inner bottom"},
        {142, 190, opaque(kBevel.shadow), "inner bottom-right corner"},
        {98, 146, fill, "fill, first pixel"},
        {141, 189, fill, "fill, last pixel"},
        {120, 168, fill, "fill, middle"},
        {95, 170, kBlack, "left of the cell"},
        {144, 170, kBlack, "right of the cell"},
        {120, 143, kBlack, "above the cell"},
        {120, 192, kBlack, "below the cell"},
    };
    for (const Probe& p : probes) EXPECT_EQ(img.at(p.x, p.y), p.colour) << p.role << " (" << p.x << ", " << p.y << ")";

    // Nothing outside the cell's rectangle was touched.
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 480; ++x)
            if (x < 96 || x >= 144 || y < 144 || y >= 192) {
                ASSERT_EQ(img.at(x, y), kBlack) << x << ", " << y;
            }
}

TEST(RenderBoard, LargestBoardCellsKeepTheirRimAndShowFillWhereThereIsRoom) {
    Board b = board(200);
    for (CellRecord& c : b.Cells) c = {1, 30, 60, 90};
    const uint32_t fill = opaque(platform::rgb(30, 60, 90));
    const std::set<uint32_t> rim = {opaque(kBevel.light), opaque(kBevel.highlight), opaque(kBevel.shadow),
                                    opaque(kBevel.darkShadow)};

    // On the 480-pixel board a cell is 2 or 3 pixels: all rim, the outer ring intact.
    PixelImage small = image(480, 480);
    ASSERT_EQ(display::RenderBoard(b, small, kBevel), 40000);
    for (int32_t x : {0, 1, 2, 100, 199}) {
        for (int32_t y : {0, 1, 57, 199}) {
            const PixelRect r = display::CellPixelRect(x, y, 200, 480, 480);
            EXPECT_EQ(small.at(r.left, r.top), opaque(kBevel.light)) << x << ", " << y;
            EXPECT_EQ(small.at(r.right - 1, r.bottom - 1), opaque(kBevel.darkShadow)) << x << ", " << y;
            for (int py = r.top; py < r.bottom; ++py)
                for (int px = r.left; px < r.right; ++px) EXPECT_EQ(rim.count(small.at(px, py)), 1u) << px << ", " << py;
        }
    }

    // On 1200 pixels a cell is 6 pixels: two rings and a 2 x 2 fill.
    PixelImage large = image(1200, 1200);
    ASSERT_EQ(display::RenderBoard(b, large, kBevel), 40000);
    for (int32_t x : {0, 77, 199}) {
        const int left = 6 * x;
        EXPECT_EQ(large.at(left, left + 3), opaque(kBevel.light));
        EXPECT_EQ(large.at(left + 1, left + 3), opaque(kBevel.highlight));
        EXPECT_EQ(large.at(left + 2, left + 2), fill);
        EXPECT_EQ(large.at(left + 3, left + 3), fill);
        EXPECT_EQ(large.at(left + 4, left + 3), opaque(kBevel.shadow));
        EXPECT_EQ(large.at(left + 5, left + 3), opaque(kBevel.darkShadow));
    }
}

// ---------------------------------------------------------------------------
// The whole picture.

TEST(RenderBoard, CountsEveryNonZeroStateAndClearsTheRestToBlack) {
    Board b = board(50);
    b.cell(0, 0) = {1, 255, 255, 255};
    b.cell(49, 49) = {5, 255, 255, 255};
    b.cell(10, 20) = {-3, 255, 255, 255};
    b.cell(20, 10) = {0, 255, 255, 255};  // dead with a stale colour: not drawn
    PixelImage img = image(480, 480);
    std::fill(img.pixels.begin(), img.pixels.end(), 0xFF123456u);  // last drawing's leftovers
    EXPECT_EQ(display::RenderBoard(b, img, kBevel), 3);

    std::set<std::pair<int32_t, int32_t>> drawnCells;
    for (int32_t x = 0; x < 50; ++x)
        for (int32_t y = 0; y < 50; ++y) {
            const PixelRect r = display::CellPixelRect(x, y, 50, 480, 480);
            const uint32_t middle = img.at((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            if (middle != kBlack) drawnCells.insert({x, y});
        }
    EXPECT_EQ(drawnCells, (std::set<std::pair<int32_t, int32_t>>{{0, 0}, {49, 49}, {10, 20}}));
    EXPECT_EQ(std::count(img.pixels.begin(), img.pixels.end(), 0xFF123456u), 0);
}

TEST(RenderBoard, EmptyBoardIsPlainBackground) {
    Board b = board(200);
    PixelImage img = image(480, 480);
    std::fill(img.pixels.begin(), img.pixels.end(), 0xFFFFFFFFu);
    EXPECT_EQ(display::RenderBoard(b, img, kBevel), 0);
    EXPECT_EQ(std::count(img.pixels.begin(), img.pixels.end(), kBlack), 480 * 480);
}

TEST(RenderBoard, ColourValuesOutsideTheByteRangeStayInTheirOwnChannel) {
    // Colours from files and the clipboard are taken as they are; one out of
    // range must not spill into the neighbouring channels or the alpha byte.
    struct Case {
        CellRecord cell;
        int exactChannel;  // 0 red, 1 green, 2 blue: the one in range
        int exactValue;
    };
    for (const Case& c : {Case{{1, 128, 300, 256}, 0, 128}, Case{{1, 128, -1, -1}, 0, 128},
                          Case{{1, -1, 77, INT32_MIN}, 1, 77}, Case{{1, INT32_MAX, -300, 9}, 2, 9}}) {
        Board b = board(10);
        b.cell(0, 0) = c.cell;
        PixelImage img = image(480, 480);
        EXPECT_EQ(display::RenderBoard(b, img, kBevel), 1);
        const uint32_t pixel = img.at(24, 24);
        EXPECT_EQ(pixel >> 24, 0xFFu);
        EXPECT_EQ(static_cast<int>((pixel >> (16 - 8 * c.exactChannel)) & 0xFF), c.exactValue)
            << "cell {" << c.cell.State << ", " << c.cell.Red << ", " << c.cell.Green << ", " << c.cell.Blue << "}";
    }
}

TEST(RenderBoard, PicturesSmallerThanTheBoardAreSafe) {
    Board b = board(50);
    for (CellRecord& c : b.Cells) c = {1, 1, 2, 3};
    for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {7, 480}, {49, 51}}) {
        PixelImage img = image(w, h);
        EXPECT_EQ(display::RenderBoard(b, img, kBevel), 2500) << w << " x " << h;
    }
}

// ---------------------------------------------------------------------------
// "#,##0".

TEST(FormatCount, GroupsOfThreeDigitsWithCommas) {
    struct Case {
        int64_t value;
        const char* text;
    };
    for (const Case& c : {Case{0, "0"}, Case{7, "7"}, Case{999, "999"}, Case{1000, "1,000"}, Case{1234, "1,234"},
                          Case{40000, "40,000"}, Case{100000, "100,000"}, Case{1234567, "1,234,567"},
                          Case{INT32_MAX, "2,147,483,647"}, Case{-1, "-1"}, Case{-999, "-999"},
                          Case{-1234, "-1,234"}, Case{-123456, "-123,456"}, Case{INT32_MIN, "-2,147,483,648"},
                          Case{INT64_MAX, "9,223,372,036,854,775,807"},
                          Case{INT64_MIN, "-9,223,372,036,854,775,808"}})
        EXPECT_EQ(display::FormatCount(c.value), c.text) << c.value;
}

}  // namespace
