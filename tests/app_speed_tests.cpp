// SPDX-License-Identifier: MIT
// The speed ladder: the pacer's deadlines against a made-up clock, and the
// run loop, menu, keys and remembered rung of Form1 over the fakes.

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "app/generation_pacer.h"
#include "support/form_fixture.h"

using namespace std::chrono_literals;
using app::GenerationPacer;
using Nanos = std::chrono::nanoseconds;
using platform::Menu;

namespace {

// The run loop as the window runs it: a generation takes `work`, and a wait
// ends when a millisecond timer fires, up to `jitter` late on top.
struct Loop {
    GenerationPacer pacer;
    Nanos now{0};
    std::vector<Nanos> starts;
    std::mt19937 random{7};

    void run(Nanos until, Nanos work = 300us, Nanos jitter = 500us) {
        std::uniform_int_distribution<int64_t> late(0, jitter.count());
        while (now < until) {
            pacer.generationStarted(now);
            starts.push_back(now);
            now += work;
            const Nanos wait = pacer.waitBeforeNext(now);
            if (wait > 0ns) now += std::chrono::ceil<std::chrono::milliseconds>(wait) + Nanos(late(random));
        }
    }
    std::size_t startedBetween(Nanos from, Nanos to) const {
        return std::count_if(starts.begin(), starts.end(), [&](Nanos t) { return t >= from && t < to; });
    }
};

TEST(GenerationPacer, EveryRungKeepsItsRateOverTenSecondsOfLateWakeUps) {
    for (int rate : app::kSpeedRungs) {
        if (rate == app::kUnlimitedRate) continue;
        Loop loop;
        loop.pacer.setRate(rate, 0ns);
        loop.run(10s + 100ms);
        EXPECT_NEAR(static_cast<double>(loop.startedBetween(0s, 10s)), 10.0 * rate, 1.0) << rate;
    }
    // Without a limit nothing waits.
    GenerationPacer unlimited;
    unlimited.generationStarted(0ns);
    EXPECT_EQ(unlimited.waitBeforeNext(1ns), 0ns);
}

TEST(GenerationPacer, TenThousandGenerationsDoNotDrift) {
    Loop loop;
    loop.pacer.setRate(100, 0ns);
    loop.run(100s + 5ms);
    ASSERT_GT(loop.starts.size(), 10000u);
    // Each wait ended up to 1.5 ms late; the 10,000th generation is no later for it.
    EXPECT_GE(loop.starts[10000], 100s);
    EXPECT_LT(loop.starts[10000], 100s + 2ms);
}

TEST(GenerationPacer, ARungChangeMidRunCountsFromTheLastGeneration) {
    Loop loop;
    loop.pacer.setRate(10, 0ns);
    loop.run(450ms, 1ms, 0ns);  // generations at 0, 100, ..., 400 ms; now 500 ms
    ASSERT_EQ(loop.starts.back(), 400ms);
    // Slower in the middle of a wait: due one new period after the last one.
    loop.pacer.setRate(2, 450ms);
    EXPECT_EQ(loop.pacer.waitBeforeNext(450ms), 450ms);
    loop.now = 900ms;
    loop.run(2s, 1ms, 0ns);
    EXPECT_EQ(loop.starts[5], 900ms);
    EXPECT_EQ(loop.starts[6], 1400ms);

    // Much faster long after the last generation: on at once at the new
    // pace, without a burst to make up the time since.
    loop.pacer.setRate(1000, 2300ms);
    EXPECT_EQ(loop.pacer.waitBeforeNext(2300ms), 0ns);
    loop.now = 2300ms;
    loop.run(2400ms, 100us, 0ns);
    EXPECT_EQ(loop.startedBetween(2300ms, 2400ms), 100u);
}

TEST(GenerationPacer, AStallStartsTheCountAfreshInsteadOfRacing) {
    Loop loop;
    loop.pacer.setRate(50, 0ns);
    loop.run(100ms, 1ms, 0ns);
    loop.now += 1s;  // a modal dialog, a stalled machine
    const std::size_t before = loop.starts.size();
    loop.run(loop.now + 200ms, 1ms, 0ns);
    EXPECT_EQ(loop.starts.size() - before, 10u);
    EXPECT_EQ(loop.starts[before + 1] - loop.starts[before], 20ms);
}

// ---- Form1 -------------------------------------------------------------------

const Menu kItems[] = {Menu::ExecSpeed1,   Menu::ExecSpeed2,   Menu::ExecSpeed5,    Menu::ExecSpeed10,
                       Menu::ExecSpeed20,  Menu::ExecSpeed50,  Menu::ExecSpeed100,  Menu::ExecSpeed200,
                       Menu::ExecSpeed500, Menu::ExecSpeed1000, Menu::ExecSpeedMax};

// The one checked rung's rate; -1 unless exactly one is checked.
int checkedRate(const FormFixture& f) {
    int rate = -1, checked = 0;
    for (std::size_t i = 0; i < std::size(kItems); ++i)
        if (f.window.menuChecked(kItems[i])) rate = app::kSpeedRungs[i], ++checked;
    return checked == 1 ? rate : -1;
}

// A stored rung is taken at start-up; anything off the ladder is 最高速.
TEST(Speed, TheRememberedRungOrNoLimit) {
    const std::pair<const char*, int> cases[] = {
        {nullptr, 0}, {"5", 5}, {"1000", 1000}, {"0", 0}, {"7", 0}, {"-1", 0}, {"99999999999", 0}, {"fast", 0}, {"", 0}};
    for (auto [stored, rate] : cases) {
        FormFixture f;
        if (stored) f.settings.values[platform::setting::kSpeed] = stored;
        f.start();
        EXPECT_EQ(f.form->Speed(), rate) << (stored ? stored : "none");
        EXPECT_EQ(checkedRate(f), rate) << (stored ? stored : "none");
    }
}

// Keys move one rung and stop at the ends; an item picks its rung; each
// change is remembered.
TEST_F(Started, KeysAndItemsMoveAlongTheLadder) {
    auto trigger = [&](Menu m, int times = 1) {
        for (int i = 0; i < times; ++i) f.window.events->menuTriggered(m);
    };
    trigger(Menu::ExecSlower);
    EXPECT_EQ(checkedRate(f), 1000);
    trigger(Menu::ExecSlower, 20);
    EXPECT_EQ(checkedRate(f), 1);
    EXPECT_EQ(f.settings.values[platform::setting::kSpeed], "1");
    trigger(Menu::ExecFaster, 2);
    EXPECT_EQ(checkedRate(f), 5);
    trigger(Menu::ExecSpeed200);
    EXPECT_EQ(checkedRate(f), 200);
    trigger(Menu::ExecFaster, 20);
    EXPECT_EQ(checkedRate(f), 0);
    EXPECT_EQ(f.settings.values[platform::setting::kSpeed], "0");
}

// At 5 a second a run waits out each deadline in the event loop, and a stop
// given during a wait ends it there.
TEST_F(Started, ASlowRunWaitsForEachGenerationAndStopsInAWait) {
    f.window.events->menuTriggered(Menu::ExecSpeed5);
    f.window.onProcessEvents = [&] {
        if (f.window.now >= 2s) f.window.events->menuTriggered(Menu::ExecStop);
    };
    f.form->mnuExecStart_Click();
    EXPECT_EQ(f.run().RunMode, RunMode::Stopped);
    EXPECT_EQ(f.window.processEventsCount, 10);  // one per generation, at 0, 200, ..., 1800 ms
    EXPECT_EQ(f.window.now, 2s);
    for (Nanos wait : f.window.waits) EXPECT_EQ(wait, 200ms);
}

// Only when the next generation starts depends on the rung.
TEST(Speed, ASeededRunGivesTheSameBoardsAtEveryRung) {
    std::vector<std::vector<engine::CellRecord>> boards;
    for (Menu rung : {Menu::ExecSpeedMax, Menu::ExecSpeed1000, Menu::ExecSpeed1}) {
        FormFixture f;
        f.start();
        f.window.events->menuTriggered(rung);
        f.window.onProcessEvents = [&] {
            if (f.window.processEventsCount == 300) f.form->mnuExecStop_Click();
        };
        f.form->mnuExecStart_Click();
        boards.push_back(f.board().Cells);
    }
    EXPECT_EQ(boards[1], boards[0]);
    EXPECT_EQ(boards[2], boards[0]);
}

}  // namespace
