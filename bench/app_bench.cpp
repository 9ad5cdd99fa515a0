// SPDX-License-Identifier: MIT
// kaleidomat-bench: the window program's drawing and its continuous run,
// measured on the real window controller and Qt window under the offscreen platform.
// Prints one line per case: "CASE: NUMBER UNIT".
//
//   build/bin/kaleidomat-bench [seconds per run] [soak generations]

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

#include "analysis/statistics.h"
#include "app/window_controller.h"
#include "engine/rules.h"
#include "platform/qt/graph_window.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_file_system.h"
#include "platform/qt/qt_main_window.h"
#include "support/controller_access.h"

namespace {

using Clock = std::chrono::steady_clock;
using Access = app::WindowController::TestAccess;
using platform::Menu;

// Dialogs that answer at once, so a measured run never waits for a person.
class SilentDialogs : public platform::Dialogs {
public:
    platform::MessageAnswer message(const std::string&, const std::string&, platform::MessageIcon,
                                    platform::MessageButtons, platform::MessageAnswer d) override {
        return d;
    }
    std::string openFile(const platform::FileDialogRequest&) override { return ""; }
    std::string saveFile(const platform::FileDialogRequest&) override { return ""; }
    std::optional<platform::RgbColour> chooseColor(platform::RgbColour, std::vector<platform::RgbColour>&) override {
        return std::nullopt;
    }
    std::optional<int> askNumber(const std::string&, const std::string&, int, int, int) override { return std::nullopt; }
};

// The real window, counting the generations of a run by the generation
// panel each one sets (a view with more cells than pixels is not handed
// over every generation), and the waits a paced run schedules.
class CountingWindow : public platform::qt::QtMainWindow {
public:
    long long shown = 0;
    std::function<void()> onShown;
    void setPanelText(platform::Panel panel, const std::string& text) override {
        QtMainWindow::setPanelText(panel, text);
        if (panel != platform::Panel::Generation) return;
        ++shown;
        if (onShown) onShown();
    }
    long long pictures = 0;  // whole pictures handed over
    void showBoard(const platform::PixelImage& image) override {
        ++pictures;
        QtMainWindow::showBoard(image);
    }
    long long waits = 0;  // the run's sleeps between generations
    void callAfter(std::chrono::nanoseconds delay, std::function<void()> call) override {
        if (delay.count() > 0) ++waits;
        QtMainWindow::callAfter(delay, std::move(call));
    }
};

struct Program {
    CountingWindow window;
    SilentDialogs dialogs;
    platform::qt::QtClipboard clipboard;
    platform::qt::QtFileSystem files;
    platform::qt::QtGraphWindow graph;
    app::WindowController form{app::WindowController::Services{window, dialogs, clipboard, files, nullptr, nullptr, &graph}, app::WindowController::Options{"", 2024}};

    Program() {
        window.setEvents(&form);
        form.start();
        window.show();
        QCoreApplication::processEvents();
    }
    ~Program() { window.setEvents(nullptr); }

    // A continuous run from start to stop, on the event loop.
    void runToStop() {
        form.dispatch(Menu::ExecStart);
        while (Access::run(form).RunMode == app::RunMode::Continuous)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

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
    p.window.shown = 0;
    p.window.onShown = [&] {
        if (p.window.shown == 10000) before = residentKiB();
        if (p.window.shown == generations) p.form.dispatch(Menu::ExecStop);
    };
    const auto start = Clock::now();
    p.runToStop();
    const double elapsed = seconds(Clock::now() - start);
    p.window.onShown = nullptr;
    std::printf("soak %dx%d rate: %.0f generations/s\n", side, side, p.window.shown / elapsed);
    std::printf("soak %dx%d resident growth: %ld KiB\n", side, side, residentKiB() - before);
}

// The continuous run (compute, draw, yield) from a seeded board, stimulation
// on, for about `duration` seconds.
double run(Program& p, int side, double duration, const char* label = "", bool seed = true) {
    if (seed) p.seed(side);
    QTimer::singleShot(static_cast<int>(duration * 1000), [&] { p.form.dispatch(Menu::ExecStop); });
    // The second half alone, once whatever the run starts with (the graph's
    // lineage) is behind it.
    long long halfway = 0;
    auto halfTime = Clock::now();
    QTimer::singleShot(static_cast<int>(duration * 500), [&] {
        halfway = p.window.shown;
        halfTime = Clock::now();
    });
    // Stimulation restarts the generation counter, so count the panel's updates.
    p.window.shown = 0;
    const auto start = Clock::now();
    p.runToStop();
    const auto end = Clock::now();
    const double elapsed = seconds(end - start);
    const double generations = static_cast<double>(p.window.shown);
    std::printf("run %dx%d%s: %.0f generations/s (second half %.0f)\n", side, side, label, generations / elapsed,
                static_cast<double>(p.window.shown - halfway) / seconds(end - halfTime));
    return generations / elapsed;
}

// The same run with the graph window open: the time the opening takes (its
// lineage starting on the board), the rate it keeps, and one measurement of
// a generation for the graph.
double runWithGraph(Program& p, int side, double duration, bool details) {
    p.seed(side);
    const auto opening = Clock::now();
    p.form.dispatch(Menu::ViewGraph);
    std::printf("graph opening %dx%d: %.1f ms\n", side, side, seconds(Clock::now() - opening) * 1000.0);
    const double rate = run(p, side, duration, " with the graph open", false);
    p.form.dispatch(Menu::ViewGraph);
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

// Processor time of this process (user and system) so far.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto secondsOf = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
}

// The continuous run at one rung of the speed ladder for about `duration`
// seconds: the rate it reached and the share of one core it took.
void paced(Program& p, int side, int rate, double duration) {
    p.seed(side);
    p.form.SetSpeed(rate);
    QTimer::singleShot(static_cast<int>(duration * 1000), [&] { p.form.dispatch(Menu::ExecStop); });
    p.window.shown = 0;
    p.window.waits = 0;
    const double cpuBefore = cpuSeconds();
    const auto start = Clock::now();
    p.runToStop();
    const double elapsed = seconds(Clock::now() - start);
    const double cpu = cpuSeconds() - cpuBefore;
    p.form.SetSpeed(0);
    std::printf("run %dx%d at %d/s: %.1f generations/s\n", side, side, rate, p.window.shown / elapsed);
    std::printf("run %dx%d at %d/s cpu: %.1f %%\n", side, side, rate, 100.0 * cpu / elapsed);
    std::printf("run %dx%d at %d/s sleeps: %.2f per generation\n", side, side, rate,
                static_cast<double>(p.window.waits) / static_cast<double>(std::max(1LL, p.window.shown)));
}

void step(Program& p, int side) {
    p.seed(side);
    const int rounds = side > 200 ? 50 : 2000;
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) Access::stepper(p.form).ReCalc(Access::board(p.form), Access::random(p.form));
    std::printf("recalc %dx%d: %.1f us\n", side, side, seconds(Clock::now() - start) * 1e6 / rounds);
}

// 100 random fills of a 200 x 200 board, each an undo step, then 100 undos:
// the growth of resident memory over them, and the time of one undo.
void undo(Program& p) {
    p.seed(200);
    const long before = residentKiB();
    for (int i = 0; i < 100; ++i) p.form.menuTriggered(platform::Menu::PatternRandom);
    const auto start = Clock::now();
    for (int i = 0; i < 100; ++i) p.form.menuTriggered(platform::Menu::EditUndo);
    const double elapsed = seconds(Clock::now() - start);
    std::printf("undo 200x200 100 fills and undos resident growth: %ld KiB\n", residentKiB() - before);
    std::printf("undo 200x200: %.3f ms\n", elapsed * 1000.0 / 100);
}

// After a long run: the first generation back (computed from the nearest
// checkpoint), and the mean of the next 1000.
void back(Program& p, int side, long long generations) {
    const auto first = Clock::now();
    p.form.menuTriggered(platform::Menu::ExecBack);
    const double firstElapsed = seconds(Clock::now() - first);
    const auto start = Clock::now();
    for (int i = 0; i < 1000; ++i) p.form.menuTriggered(platform::Menu::ExecBack);
    const double elapsed = seconds(Clock::now() - start);
    std::printf("back %dx%d after %lld generations, first: %.1f ms\n", side, side, generations, firstElapsed * 1000.0);
    std::printf("back %dx%d after %lld generations, next 1000: %.3f ms each\n", side, side, generations,
                elapsed * 1000.0 / 1000);
}

// The continuous run at 最高速 zoomed in five steps (eight pixels a cell on
// the window's first picture), the view moved by an arrow key every 20 ms:
// the pictures shown a second and the generations.
void zoomedRun(Program& p, int side, double duration) {
    p.seed(side);
    const app::WindowController::ViewMenu& view = p.form.viewMenu();
    for (int i = 0; i < 5; ++i) p.form.dispatch(view.zoomIn);
    QTimer panning;
    int moves = 0;
    QObject::connect(&panning, &QTimer::timeout, [&] { p.form.dispatch(++moves % 16 < 8 ? view.right : view.down); });
    panning.start(20);
    QTimer::singleShot(static_cast<int>(duration * 1000), [&] { p.form.dispatch(Menu::ExecStop); });
    p.window.shown = 0;
    p.window.pictures = 0;
    const auto start = Clock::now();
    p.runToStop();
    const double elapsed = seconds(Clock::now() - start);
    panning.stop();
    std::printf("run %dx%d zoomed in and moving: %.0f pictures/s, %.0f generations/s, %d moves\n", side, side,
                p.window.pictures / elapsed, p.window.shown / elapsed, moves);
    p.form.dispatch(view.whole);
}

// Runs of a large board with the graph closed and open, in turns.
void largeGraph(Program& p, int side, double duration) {
    double closed = 0, open = 0;
    for (int round = 0; round < 2; ++round) {
        closed += run(p, side, duration);
        open += runWithGraph(p, side, duration, false);
    }
    std::printf("run %dx%d with the graph open: %.0f %% of the rate with it closed\n", side, side, 100 * open / closed);
}

// The largest board, 2048 x 2048: 20 random fills (each an undo step) and a
// run of `generations` generations followed by a generation back, with the
// resident memory of the whole process after each; then the continuous run
// at 最高速 with the graph closed and open.
void largeBoard(Program& p, double duration, long long generations) {
    constexpr int side = 2048;
    p.seed(side);
    std::printf("resident at %dx%d: %ld KiB\n", side, side, residentKiB());
    for (int i = 0; i < 20; ++i) p.form.menuTriggered(platform::Menu::PatternRandom);
    std::printf("resident after 20 fills of %dx%d: %ld KiB (undo list %zu KiB)\n", side, side, residentKiB(),
                Access::session(p.form).history().bytes() / 1024);
    p.window.shown = 0;
    long most = 0;
    p.window.onShown = [&] {
        if (p.window.shown % 100 == 0) most = std::max(most, residentKiB());
        if (p.window.shown == generations) p.form.dispatch(Menu::ExecStop);
    };
    const auto start = Clock::now();
    p.runToStop();
    p.window.onShown = nullptr;
    std::printf("run %dx%d of %lld generations: %.1f generations/s, resident at most %ld KiB (line %zu KiB)\n", side,
                side, generations, p.window.shown / seconds(Clock::now() - start), most,
                Access::session(p.form).generations().bytes() / 1024);
    const auto first = Clock::now();
    p.form.menuTriggered(platform::Menu::ExecBack);
    std::printf("back %dx%d after %lld generations, first: %.1f ms, resident %ld KiB\n", side, side, generations,
                seconds(Clock::now() - first) * 1000.0, residentKiB());
    for (int i = 0; i < 20; ++i) p.form.menuTriggered(platform::Menu::EditUndo);
    std::printf("resident after 20 undos: %ld KiB\n", residentKiB());
    step(p, side);
    largeGraph(p, side, duration);
    zoomedRun(p, side, duration);
}

}  // namespace

// The lineage view at 200 x 200: a full drawing and the continuous run with
// live cells coloured by their red founder, then by age, then tracing a cell
// (its kin and its founders' origins marked), against the same without it.
void lineageView(Program& p, double duration) {
    const app::WindowController::LineageMenu& menu = p.form.lineageMenu();
    for (platform::Menu view : {menu.red, menu.age, menu.trace}) {
        const char* label = view == menu.red ? " lineage by red founder" : view == menu.age ? " lineage by age" : " tracing";
        p.seed(200);
        p.form.dispatch(view);
        if (view == menu.trace) {
            const engine::Board& board = Access::board(p.form);
            for (int32_t i = 0; i < board.side() * board.side(); ++i)
                if (board.Cells[static_cast<std::size_t>(i)].live()) {
                    const platform::BoardMouse click{platform::MouseButton::Left, {}, {i / board.side(), i % board.side(), true}};
                    p.form.boardMouseDown(click);
                    p.form.boardMouseUp(click);
                    break;
                }
        }
        const int rounds = 200;
        const auto start = Clock::now();
        for (int i = 0; i < rounds; ++i) {
            p.form.ForgetDrawing();
            p.form.ReDraw();
        }
        std::printf("redraw 200x200%s: %.3f ms\n", label, seconds(Clock::now() - start) * 1000.0 / rounds);
        QTimer::singleShot(static_cast<int>(duration * 1000), [&] { p.form.dispatch(Menu::ExecStop); });
        p.window.shown = 0;
        const auto runStart = Clock::now();
        p.runToStop();
        std::printf("run 200x200%s: %.0f generations/s\n", label, p.window.shown / seconds(Clock::now() - runStart));
        p.form.dispatch(menu.normal);
    }
}

int main(int argc, char* argv[]) {
    // [SECONDS of each continuous run, 0 to 3600] [GENERATIONS of the soak, 0 for none]:
    // a negative time, or anything that is not a number, would never end.
    double duration = 3.0;
    long long soakGenerations = 1000000;
    char* end = nullptr;
    if (argc > 1) duration = std::strtod(argv[1], &end);
    const bool durationOk = argc < 2 || (*end == '\0' && end != argv[1] && duration >= 0 && duration <= 3600);
    // A count too large for the type comes back clamped, with ERANGE: refused.
    errno = 0;
    if (argc > 2) soakGenerations = std::strtoll(argv[2], &end, 10);
    const bool soakOk = argc < 3 || (*end == '\0' && end != argv[2] && soakGenerations >= 0 && errno != ERANGE);
    if (!durationOk || !soakOk || argc > 3) {
        std::fprintf(stderr, "usage: kaleidomat-bench [SECONDS 0..3600] [SOAK_GENERATIONS >= 0]\n");
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    Program program;
    // KALEIDOMAT_LARGE_GENERATIONS=N measures the largest board alone (N the
    // generations of its long run).
    // KALEIDOMAT_LARGE_GRAPH=1 measures only its runs with the graph closed and open.
    if (std::getenv("KALEIDOMAT_LARGE_GRAPH")) {
        largeGraph(program, 2048, duration);
        return 0;
    }
    if (const char* large = std::getenv("KALEIDOMAT_LARGE_GENERATIONS")) {
        largeBoard(program, duration, std::max(1LL, std::atoll(large)));
        return 0;
    }
    step(program, 50);
    step(program, 200);
    redraw(program, 50);
    redraw(program, 200);
    run(program, 50, duration);
    run(program, 200, duration);
    undo(program);
    for (int rate : {50, 1000}) {
        paced(program, 50, rate, duration);
        paced(program, 200, rate, duration);
    }
    // The graph open against closed, in turns, so that a machine busy with
    // other work weighs on both alike.
    double closed = 0, open = 0;
    for (int round = 0; round < 3; ++round) {
        closed += run(program, 200, duration);
        open += runWithGraph(program, 200, duration, round == 2);
    }
    std::printf("run 200x200 with the graph open: %.0f %% of the rate with it closed\n", 100 * open / closed);
    lineageView(program, duration);
    if (soakGenerations > 0) {
        soak(program, 200, soakGenerations);
        back(program, 200, soakGenerations);
    }
    return 0;
}
