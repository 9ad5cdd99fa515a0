// SPDX-License-Identifier: MIT
// The lineage view and the ancestry tracer through the fakes, against the
// plain tracker: a traced cell's kin are exactly the cells that share its
// founders, step by step and during a run; colouring by founder gives the
// largest founders the distinct colours; 通常の色 brings back the board's own
// picture and gives the lineage back.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/lineage_view.h"
#include "display/board_renderer.h"
#include "engine/stimulation.h"
#include "support/controller_fixture.h"
#include "support/plain_tracker.h"
#include "ui/texts.h"

namespace {

using support::PlainTracker;

struct LineageView : ::testing::Test {
    ControllerFixture f;
    PlainTracker plain;

    // A 20 x 20 board at random.
    void SetUp() override {
        f.start("", 5);
        f.board().create(19);
        f.command(Menu::PatternRandom);
    }
    const app::WindowController::LineageMenu& menu() { return f.controller->lineageMenu(); }
    uint32_t pixel(int32_t x, int32_t y) {
        const platform::PixelImage& p = f.picBuffer();
        const display::PixelRect r = display::CellPixelRect(x, y, 20, p.width, p.height);
        return p.at((r.left + r.right) / 2, (r.top + r.bottom) / 2) & 0xFFFFFFu;
    }
    static uint32_t rgbOf(const engine::CellRecord& c) { return display::rgb(c.Red, c.Green, c.Blue); }
    // Every cell shows whether it shares the traced founders, as the plain tracker says.
    ::testing::AssertionResult kinShown(const support::Ids& traced) {
        if (plain.board.Cells != f.board().Cells) return ::testing::AssertionFailure() << "the boards differ";
        for (int32_t x = 0; x < 20; ++x)
            for (int32_t y = 0; y < 20; ++y) {
                const std::size_t i = plain.board.index(x, y);
                const support::Ids& ids = plain.ids[i];
                const bool r = ids[0] == traced[0], g = ids[1] == traced[1], b = ids[2] == traced[2];
                const uint32_t want = !plain.board.Cells[i].live() ? 0
                                      : r || g || b ? display::rgb(r ? 255 : 0, g ? 255 : 0, b ? 255 : 0)
                                                    : rgbOf(app::kNoKin);
                if (pixel(x, y) != want)
                    return ::testing::AssertionFailure() << "cell " << x << "," << y << ": " << std::hex << pixel(x, y)
                                                         << ", expected " << want;
            }
        return ::testing::AssertionSuccess();
    }
};

// A click traces a hybrid without editing or selecting; its kin and its
// founders' origins are marked after steps and all through a run, and the
// pointer panel names the founders.
TEST_F(LineageView, TheTracerMarksExactlyTheKinTheRuleGives) {
    f.command(menu().trace);
    plain.begin(f.board(), f.random());
    for (int i = 0; i < 12; ++i) f.command(Menu::ExecStep), plain.windowStep();

    // A hybrid: its red founder stood in the left half, its blue one in the right.
    int32_t hx = 0, hy = -1;
    const auto hybrid = [&](const support::Ids& ids) {
        return plain.founders[ids[0]].x < 10 && plain.founders[ids[2]].x >= 10;
    };
    do {
        if (++hy == 20) hy = 0, ++hx;
        ASSERT_LT(hx, 20);
    } while (!plain.board.cell(hx, hy).live() || !hybrid(plain.ids[plain.board.index(hx, hy)]));
    const std::size_t undoSteps = f.session().history().steps();
    f.click(hx, hy);
    EXPECT_TRUE(f.board().Cells == plain.board.Cells && f.box()[0] == -1 && f.session().history().steps() == undoSteps);
    const support::Ids traced = plain.ids[plain.board.index(hx, hy)];
    EXPECT_TRUE(kinShown(traced));
    const std::string panel = f.window.panelText(platform::Panel::Pointer);
    for (int c = 0; c < 3; ++c)
        EXPECT_NE(panel.find(std::string(texts::kTraceChannels[c]) + "#" + std::to_string(traced[c]) + "(第" +
                             std::to_string(plain.founders[traced[c]].generation) + "世代・開始)"),
                  std::string::npos)
            << panel;
    // The blue founder's origin is outlined on its cell's edge.
    const platform::PixelImage& p = f.picBuffer();
    const display::PixelRect r = display::CellPixelRect(plain.founders[traced[2]].x, plain.founders[traced[2]].y, 20, p.width, p.height);
    EXPECT_EQ(p.at(r.left, (r.top + r.bottom) / 2), app::kOriginOutlines[2]);

    // The marks follow the founders through a run.
    int checked = 0;
    f.window.onProcessEvents = [&] {
        while (plain.clock < f.session().lineage()->clock()) plain.windowStep();
        EXPECT_TRUE(kinShown(traced)) << "generation " << plain.clock;
        if (++checked == 30) f.press(Button::Stop);
    };
    f.command(Menu::ExecStart);
    f.window.onProcessEvents = nullptr;
    EXPECT_EQ(checked, 30);

    // A new board numbers its founders anew: nothing stays traced.
    f.command(Menu::PatternRandom);
    for (int32_t x = 0; x < 20; ++x)
        for (int32_t y = 0; y < 20; ++y)
            if (f.board().cell(x, y).live()) {
                ASSERT_EQ(pixel(x, y), rgbOf(f.board().cell(x, y))) << x << "," << y;
            }
}

// The founders with the most live cells in the chosen channel get the
// distinct colours, one each; the others are grey. 通常の色 gives back the
// board's own picture and the lineage.
TEST_F(LineageView, ColouringByFounderPicksTheLargestAndNormalColoursComeBack) {
    f.command(menu().green);
    EXPECT_TRUE(f.window.menuChecked(menu().green));
    f.command(menu().red);
    plain.begin(f.board(), f.random());
    for (int i = 0; i < 8; ++i) f.command(Menu::ExecStep), plain.windowStep();
    ASSERT_TRUE(plain.board.Cells == f.board().Cells);

    std::map<engine::FounderId, int> sizes;
    for (std::size_t i = 0; i < plain.ids.size(); ++i) sizes[plain.ids[i][0]] += plain.board.Cells[i].live();
    std::vector<int> bySize;
    for (const auto& [id, size] : sizes) bySize.push_back(size);
    std::sort(bySize.rbegin(), bySize.rend());
    const std::size_t colours = app::kFounderColours.size();
    ASSERT_GT(bySize.size(), colours);
    std::set<uint32_t> palette;
    for (const engine::CellRecord& c : app::kFounderColours) palette.insert(rgbOf(c));
    std::map<engine::FounderId, uint32_t> shown;  // the largest founders' colours
    for (int32_t x = 0; x < 20; ++x)
        for (int32_t y = 0; y < 20; ++y) {
            const std::size_t i = plain.board.index(x, y);
            const int size = sizes[plain.ids[i][0]];
            if (!plain.board.Cells[i].live()) continue;
            if (pixel(x, y) == rgbOf(app::kOtherFounders)) {
                EXPECT_LE(size, bySize[colours]) << x << "," << y;  // none of the largest is grey
                continue;
            }
            EXPECT_GE(size, bySize[colours - 1]) << x << "," << y;
            EXPECT_EQ(shown.try_emplace(plain.ids[i][0], pixel(x, y)).first->second, pixel(x, y));  // one each
            EXPECT_TRUE(palette.count(pixel(x, y)));
        }
    std::set<uint32_t> distinct;
    for (const auto& [id, colour] : shown) distinct.insert(colour);
    EXPECT_EQ(distinct.size(), shown.size());

    // By age, a cell born in the last generation is white, an older one not.
    f.command(menu().age);
    const engine::Board previous = f.board();
    f.command(Menu::ExecStep);
    for (int32_t x = 0; x < 20; ++x)
        for (int32_t y = 0; y < 20; ++y)
            EXPECT_TRUE(!f.board().cell(x, y).live() ||
                        (pixel(x, y) == rgbOf(app::AgeColour(0))) == !previous.cell(x, y).live()) << x << "," << y;

    f.command(menu().normal);
    EXPECT_EQ(f.session().lineage(), nullptr);
    platform::PixelImage own;
    own.resize(f.picBuffer().width, f.picBuffer().height);
    display::RenderBoard(f.board(), own, f.window.bevelColors());
    EXPECT_TRUE(own.pixels == f.picBuffer().pixels);
}

}  // namespace
