// SPDX-License-Identifier: MIT
// kaleidomat-bench: the window program's drawing and its continuous run,
// measured on the real Form1 and Qt window under the offscreen platform.
// Prints one line per case: "CASE: NUMBER UNIT".
//
//   build/bin/kaleidomat-bench [seconds per run] [soak generations]

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <unistd.h>

#include "analysis/statistics.h"
#include "app/form1.h"
#include "engine/rules.h"
#include "platform/qt/graph_window.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_file_system.h"
#include "platform/qt/qt_main_window.h"
#include "support/form_access.h"

namespace {

using Clock = std::chrono::steady_clock;
using Access = app::Form1::TestAccess;

// Dialogs that answer at once, so a measured run never waits for a person.
class SilentDialogs : public platform::Dialogs {
public:
    platform::MessageAnswer message(const std::string&, const std::string&, platform::MessageIcon,
                                    platform::MessageButtons, platform::MessageAnswer d) override {
        return d;
    }
    std::string openFile(const platform::FileDialogRequest&) override { return ""; }
    std::string saveFile(const platform::FileDialogRequest&) override { return ""; }
    std::optional<platform::ColorValue> chooseColor(platform::ColorValue, std::array<platform::ColorValue, 16>&) override {
        return std::nullopt;
    }
};

// The real window, counting the run loop's yields: one per generation.
class CountingWindow : public platform::qt::QtMainWindow {
public:
    long long yields = 0;
    std::function<void()> onYield;
    void processEvents() override {
        ++yields;
        if (onYield) onYield();
        QtMainWindow::processEvents();
    }
};

struct Program {
    CountingWindow window;
    SilentDialogs dialogs;
    platform::qt::QtClipboard clipboard;
    platform::qt::QtFileSystem files;
    platform::qt::QtGraphWindow graph;
    app::Form1 form{app::Form1::Services{window, dialogs, clipboard, files, &graph}, app::Form1::Options{"", 2024}};

    Program() {
        window.setEvents(&form);
        form.Form_Load();
        window.show();
        QCoreApplication::processEvents();
    }
    ~Program() { window.setEvents(nullptr); }

    // A fresh board of the given side seeded at 20 %.
    void seed(int side) {
        engine::Board& board = Access::board(form);
        board.create(side - 1);
        engine::Init(board, Access::random(form));
        form.ScalePictures();
        form.ApplySizeRule();
        form.ReDraw();
    }
};

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A full drawing, every cell painted (a drawing of an unchanged board
// would paint nothing).
void redraw(Program& p, int side) {
    p.seed(side);
    const int rounds = 2000;
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) {
        p.form.ForgetDrawing();
        p.form.ReDraw();
    }
    std::printf("redraw %dx%d: %.3f ms\n", side, side, seconds(Clock::now() - start) * 1000.0 / rounds);
}

// Resident memory of this process in KiB.
long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The continuous run for `generations` generations offscreen: the growth of
// resident memory from the first 10,000 generations to the end.
void soak(Program& p, int side, long long generations) {
    p.seed(side);
    long before = 0;
    p.window.yields = 0;
    p.window.onYield = [&] {
        if (p.window.yields == 10000) before = residentKiB();
        if (p.window.yields >= generations) p.form.mnuExecStop_Click();
    };
    const auto start = Clock::now();
    p.form.mnuExecStart_Click();
    const double elapsed = seconds(Clock::now() - start);
    p.window.onYield = nullptr;
    std::printf("soak %dx%d rate: %.0f generations/s\n", side, side, p.window.yields / elapsed);
    std::printf("soak %dx%d resident growth: %ld KiB\n", side, side, residentKiB() - before);
}

// The continuous run (compute, draw, yield) from a seeded board, stimulation
// on, for about `duration` seconds.
double run(Program& p, int side, double duration, const char* label = "") {
    p.seed(side);
    QTimer::singleShot(static_cast<int>(duration * 1000), [&] { p.form.mnuExecStop_Click(); });
    // Stimulation restarts the generation counter, so count the yields.
    p.window.yields = 0;
    const auto start = Clock::now();
    p.form.mnuExecStart_Click();
    const double elapsed = seconds(Clock::now() - start);
    const double generations = static_cast<double>(p.window.yields);
    std::printf("run %dx%d%s: %.0f generations/s\n", side, side, label, generations / elapsed);
    return generations / elapsed;
}

// The same run with the graph window open: the rate it keeps, and one
// measurement of a generation for the graph.
double runWithGraph(Program& p, int side, double duration, bool details) {
    p.form.mnuViewGraph_Click();
    const double rate = run(p, side, duration, " with the graph open");
    p.form.mnuViewGraph_Click();
    if (!details) return rate;
    analysis::Meter meter;
    const engine::Board& board = Access::board(p.form);
    const int rounds = 500;
    const auto begin = Clock::now();
    for (int i = 0; i < rounds; ++i) meter.measure(board, true);
    std::printf("graph measure %dx%d (population %d): %.1f us\n", side, side, board.countLive(),
                seconds(Clock::now() - begin) * 1e6 / rounds);
    // One drawing of the graph as the window shows it, whatever the run's length.
    QImage image(740, 460, QImage::Format_RGB32);
    const analysis::GraphSeries& series = *Access::graphSeries(p.form);
    const auto painted = Clock::now();
    for (int i = 0; i < 20; ++i) {
        QPainter painter(&image);
        platform::qt::PaintGraph(painter, image.rect(), &series, 300);
    }
    std::printf("graph drawing of %lld generations: %.2f ms\n", static_cast<long long>(series.size()),
                seconds(Clock::now() - painted) * 1e3 / 20);
    return rate;
}

void step(Program& p, int side) {
    p.seed(side);
    const int rounds = 2000;
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) Access::stepper(p.form).ReCalc(Access::board(p.form), Access::random(p.form));
    std::printf("recalc %dx%d: %.1f us\n", side, side, seconds(Clock::now() - start) * 1e6 / rounds);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    const double duration = argc > 1 ? std::atof(argv[1]) : 3.0;
    const long long soakGenerations = argc > 2 ? std::atoll(argv[2]) : 1000000;
    Program program;
    step(program, 50);
    step(program, 200);
    redraw(program, 50);
    redraw(program, 200);
    run(program, 50, duration);
    // The graph open against closed, in turns, so that a machine busy with
    // other work weighs on both alike.
    double closed = 0, open = 0;
    for (int round = 0; round < 3; ++round) {
        closed += run(program, 200, duration);
        open += runWithGraph(program, 200, duration, round == 2);
    }
    std::printf("run 200x200 with the graph open: %.0f %% of the rate with it closed\n", 100 * open / closed);
    if (soakGenerations > 0) soak(program, 200, soakGenerations);
    return 0;
}
