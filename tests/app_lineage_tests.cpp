// SPDX-License-Identifier: MIT
// The lineage view and the ancestry tracer through the fakes, against the
// plain tracker: a traced cell's kin are exactly the cells that share its
// founders, step by step and during a run; colouring by founder gives the
// largest founders the distinct colours; 通常の色 brings back the board's own
// picture and gives the lineage back.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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

    // A 20 x 20 board, its left half red and its right half blue.
    void SetUp() override {
        f.start("", 5);
        f.board().create(19);
        f.command(Menu::PatternRandom);
        for (int32_t x = 0; x < 20; ++x)
            for (int32_t y = 0; y < 20; ++y)
                if (engine::CellRecord& c = f.board().cell(x, y); c.live()) c = x < 10 ? engine::CellRecord{1, 255, 0, 0} : engine::CellRecord{1, 0, 0, 255};
        f.controller->ReDraw();
    }
    const app::WindowController::LineageMenu& menu() { return f.controller->lineageMenu(); }
    // The plain tracker starts where the view started the lineage.
    void startPlain() {
        plain.board = f.board();
        plain.random = f.random();
        plain.ids.assign(plain.board.Cells.size(), {});
        for (std::size_t i = 0; i < plain.ids.size(); ++i)
            if (plain.board.Cells[i].live()) plain.found(i, engine::FounderKind::Start);
    }
    // One generation as the window makes it: step, drawing, stimulation.
    void stepPlain() {
        plain.step();
        engine::RecordPopulation(plain.board, plain.board.countLive());
        const std::vector<engine::CellRecord> before = plain.board.Cells;
        engine::AutoStimulate(plain.board, plain.random);
        plain.foundChanged(before, engine::FounderKind::Stimulation);
    }
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
                uint32_t want = 0;
                if (plain.board.Cells[i].live()) {
                    const std::array<bool, 3> kin{plain.ids[i][0] == traced[0], plain.ids[i][1] == traced[1],
                                                  plain.ids[i][2] == traced[2]};
                    want = kin[0] || kin[1] || kin[2] ? display::rgb(kin[0] ? 255 : 0, kin[1] ? 255 : 0, kin[2] ? 255 : 0)
                                                      : rgbOf(app::kNoKin);
                }
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
    startPlain();
    for (int i = 0; i < 12; ++i) f.command(Menu::ExecStep), stepPlain();

    // A cell with red from the left half and blue from the right.
    int32_t hx = -1, hy = -1;
    for (int32_t x = 0; x < 20 && hx < 0; ++x)
        for (int32_t y = 0; y < 20 && hx < 0; ++y)
            if (const support::Ids& ids = plain.ids[plain.board.index(x, y)];
                plain.board.cell(x, y).live() && ids[0] != ids[2] && plain.founders[ids[0]].x < 10 && plain.founders[ids[2]].x >= 10)
                hx = x, hy = y;
    ASSERT_GE(hx, 0);
    const engine::Board before = f.board();
    const std::size_t undoSteps = f.session().history().steps();
    f.click(hx, hy);
    EXPECT_TRUE(f.board().Cells == before.Cells);
    EXPECT_EQ(f.box()[0], -1);
    EXPECT_EQ(f.session().history().steps(), undoSteps);
    const support::Ids traced = plain.ids[plain.board.index(hx, hy)];
    EXPECT_TRUE(kinShown(traced));
    const std::string panel = f.window.panelText(platform::Panel::Pointer);
    for (int c = 0; c < 3; ++c)
        EXPECT_NE(panel.find(std::string(texts::kTraceChannels[c]) + "#" + std::to_string(traced[c]) + "(第" +
                             std::to_string(plain.founders[traced[c]].generation) + "世代・開始)"),
                  std::string::npos)
            << panel;
    // The blue founder's origin is outlined on its cell's edge.
    const engine::Founder& blue = plain.founders[traced[2]];
    const platform::PixelImage& p = f.picBuffer();
    const display::PixelRect r = display::CellPixelRect(blue.x, blue.y, 20, p.width, p.height);
    EXPECT_EQ(p.at(r.left, (r.top + r.bottom) / 2), app::kOriginOutlines[2]);

    // The marks follow the founders through a run.
    int checked = 0;
    f.window.onProcessEvents = [&] {
        while (plain.clock < f.session().lineage()->clock()) stepPlain();
        EXPECT_TRUE(kinShown(traced)) << "generation " << plain.clock;
        if (++checked == 30) f.press(Button::Stop);
    };
    f.command(Menu::ExecStart);
    f.window.onProcessEvents = nullptr;
    EXPECT_EQ(checked, 30);
}

// The founders with the most live cells in the chosen channel get the
// distinct colours, one each; the others are grey. 通常の色 gives back the
// board's own picture and the lineage.
TEST_F(LineageView, ColouringByFounderPicksTheLargestAndNormalColoursComeBack) {
    f.command(menu().green);
    EXPECT_TRUE(f.window.menuChecked(menu().green));
    f.command(menu().red);
    startPlain();
    for (int i = 0; i < 8; ++i) f.command(Menu::ExecStep), stepPlain();
    ASSERT_TRUE(plain.board.Cells == f.board().Cells);

    std::map<engine::FounderId, int> sizes;
    for (std::size_t i = 0; i < plain.ids.size(); ++i)
        if (plain.board.Cells[i].live()) ++sizes[plain.ids[i][0]];
    std::vector<int> bySize;
    for (const auto& [id, size] : sizes) bySize.push_back(size);
    std::sort(bySize.rbegin(), bySize.rend());
    ASSERT_GT(bySize.size(), app::kFounderColours.size());
    const int eighth = bySize[app::kFounderColours.size() - 1], ninth = bySize[app::kFounderColours.size()];
    std::map<engine::FounderId, uint32_t> colours;
    for (int32_t x = 0; x < 20; ++x)
        for (int32_t y = 0; y < 20; ++y) {
            const std::size_t i = plain.board.index(x, y);
            if (!plain.board.Cells[i].live()) continue;
            const int size = sizes[plain.ids[i][0]];
            if (size < eighth) {
                EXPECT_EQ(pixel(x, y), rgbOf(app::kOtherFounders));
            }
            if (size > ninth) {
                const auto [it, first] = colours.try_emplace(plain.ids[i][0], pixel(x, y));
                EXPECT_EQ(it->second, pixel(x, y));  // one colour a founder
            }
        }
    std::vector<uint32_t> distinct;
    for (const auto& [id, colour] : colours) distinct.push_back(colour);
    std::sort(distinct.begin(), distinct.end());
    EXPECT_EQ(std::unique(distinct.begin(), distinct.end()), distinct.end());
    for (uint32_t colour : distinct)
        EXPECT_TRUE(std::any_of(app::kFounderColours.begin(), app::kFounderColours.end(),
                                [&](const engine::CellRecord& c) { return rgbOf(c) == colour; }));

    // By age, a cell born in the last generation is white, an older one not.
    f.command(menu().age);
    const engine::Board previous = f.board();
    f.command(Menu::ExecStep);
    int newborns = 0;
    for (int32_t x = 0; x < 20; ++x)
        for (int32_t y = 0; y < 20; ++y)
            if (f.board().cell(x, y).live()) {
                const bool newborn = !previous.cell(x, y).live();
                newborns += newborn;
                EXPECT_EQ(pixel(x, y) == rgbOf(app::AgeColour(0)), newborn) << x << "," << y;
            }
    EXPECT_GT(newborns, 0);

    f.command(menu().normal);
    EXPECT_EQ(f.session().lineage(), nullptr);
    platform::PixelImage own;
    own.resize(f.picBuffer().width, f.picBuffer().height);
    display::RenderBoard(f.board(), own, f.window.bevelColors());
    EXPECT_TRUE(own.pixels == f.picBuffer().pixels);
}

}  // namespace
