// SPDX-License-Identifier: MIT
// The speed ladder: the pacer's deadlines against a made-up clock, and the
// run on the event loop, menu, keys and remembered rung of the controller over the fakes.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "app/generation_pacer.h"
#include "support/controller_fixture.h"

using namespace std::chrono_literals;
using Nanos = std::chrono::nanoseconds;
using platform::Menu;

namespace {

// The run loop as the window runs it until `until`: a generation takes
// `work`; a wait ends on a millisecond timer, up to `jitter` late on top.
struct Loop {
    app::GenerationPacer pacer;
    Nanos now{0};
    std::vector<Nanos> starts;  // each generation's, all before `until`
    void run(Nanos until, Nanos work = 300us, Nanos jitter = 500us) {
        for (std::minstd_rand random(7);; now += work) {
            if (Nanos wait = pacer.waitBeforeNext(now); wait > 0ns)
                now += std::chrono::ceil<std::chrono::milliseconds>(wait) + Nanos(random() % (jitter.count() + 1));
            if (now >= until) return;
            pacer.generationStarted(now);
            starts.push_back(now);
        }
    }
};

TEST(GenerationPacer, EveryRungKeepsItsRateAndLateWakeUpsDoNotAddUp) {
    for (int rate : app::kSpeedRungs) {
        if (rate == app::kUnlimitedRate) continue;  // the controller's test shows it never waits
        Loop loop;
        loop.pacer.setRate(rate, 0ns);
        loop.run(100s);
        EXPECT_NEAR(std::ranges::count_if(loop.starts, [](Nanos t) { return t < 10s; }), 10 * rate, 1) << rate;
        // Generation k starts no earlier than k periods, and at most a wait's lateness after.
        const std::size_t k = std::min<std::size_t>(10000, loop.starts.size() - 1);
        const Nanos late = loop.starts[k] - k * Nanos(1s) / rate;
        EXPECT_TRUE(late >= 0ns && late < 2ms) << rate << ": " << late.count();
    }
}

TEST(GenerationPacer, ARungChangeCountsFromTheLastGenerationWithoutARace) {
    Loop loop;
    loop.pacer.setRate(10, 0ns);
    loop.run(450ms, 1ms, 0ns);  // at 0, 100, ..., 400 ms
    // Slower in the middle of a wait: due one new period after the last one.
    loop.pacer.setRate(2, 450ms);
    EXPECT_EQ(loop.pacer.waitBeforeNext(450ms), 450ms);
    // Much faster long after the last generation: on at once at the new
    // pace, without a burst to make up the time since.
    loop.pacer.setRate(1000, loop.now = 2300ms);
    EXPECT_EQ(loop.pacer.waitBeforeNext(loop.now), 0ns);
    loop.run(2400ms, 100us, 0ns);
    EXPECT_EQ(loop.starts.size(), 5u + 100u);
}

// The one checked rung's rate (the radio items of 速度 are the rungs in order); -1
// unless exactly one is checked.
int checkedRate(const ControllerFixture& f) {
    int rate = -1, checked = 0, rung = 0;
    for (const platform::Command& c : f.window.commands)
        if (c.in != Menu::ExecSpeed) continue;
        else if (c.radio && f.window.menuChecked(c.id)) rate = app::kSpeedRungs[rung++], ++checked;
        else rung += c.radio;
    return checked == 1 ? rate : -1;
}

// A stored rung is taken at start-up, anything off the ladder is 最高速; keys
// move one rung and stop at the ends, an item picks its rung, and each change
// is remembered.
TEST_F(Started, TheRememberedRungKeysAndItems) {
    for (auto [stored, rate] : {std::pair{5, 5}, {1000, 1000}, {7, 0}, {-1, 0}}) {
        ControllerFixture g;
        g.settings.ints[platform::setting::kSpeed] = stored;
        g.start();
        EXPECT_EQ(checkedRate(g), rate) << stored;
    }
    // `f` started with nothing stored: 最高速.
    const std::pair<Menu, int> steps[] = {{Menu::ExecSlower, 1000}, {Menu::ExecSlower, 500}, {Menu::ExecSpeed1, 1},
                                          {Menu::ExecSlower, 1},    {Menu::ExecFaster, 2},   {Menu::ExecSpeedMax, 0},
                                          {Menu::ExecFaster, 0}};
    for (auto [command, rate] : steps) {
        f.window.events->menuTriggered(command);
        EXPECT_EQ(checkedRate(f), rate);
        EXPECT_EQ(f.settings.ints[platform::setting::kSpeed], rate);
    }
    // 立体表示 is remembered the same way, and comes back off.
    f.window.events->menuTriggered(Menu::ViewRaised);
    EXPECT_EQ(f.settings.bools[platform::setting::kRaised], false);
    ControllerFixture g;
    g.settings.bools[platform::setting::kRaised] = false;
    g.start();
    EXPECT_FALSE(g.window.menuChecked(Menu::ViewRaised));
    EXPECT_FALSE(f.window.menuChecked(Menu::ViewRaised));
}

// At 5 a second a run waits out each deadline in the event loop, and a stop
// given during a wait ends it there; only when each generation starts
// depends on the rung, so the boards are those of 最高速.
TEST(Speed, ASlowRunWaitsForEachGenerationStopsInAWaitAndGivesTheSameBoards) {
    std::vector<std::vector<engine::CellRecord>> boards;
    for (Menu rung : {Menu::ExecSpeedMax, Menu::ExecSpeed5}) {
        ControllerFixture f;
        f.start();
        f.window.events->menuTriggered(rung);
        f.window.onProcessEvents = [&] {
            if (f.window.now >= 1900ms || f.window.processEventsCount == (rung == Menu::ExecSpeedMax ? 10 : -1))
                f.window.events->menuTriggered(Menu::ExecStop);
        };
        f.command(Menu::ExecStart);
        EXPECT_EQ(f.window.processEventsCount, 10);  // one per generation (at 0, 200, ..., 1800 ms)
        EXPECT_EQ(f.window.waits, std::vector<Nanos>(rung == Menu::ExecSpeed5 ? 10 : 0, 200ms));
        boards.push_back(f.board().Cells);
    }
    EXPECT_EQ(boards[1], boards[0]);
}

}  // namespace
