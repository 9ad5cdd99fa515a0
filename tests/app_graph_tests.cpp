// SPDX-License-Identifier: MIT
// Repeatable runs: a seeded window against kaleidomat-cli run in-process; the
// statistics of hand-made boards; what the graph window records and exports.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "analysis/lineage_tables.h"
#include "analysis/statistics.h"
#include "app/run_recorder.h"
#include "app/command_line.h"
#include "engine/rules.h"
#include "cli/commands.h"
#include "cli/cell_files.h"
#include "engine/lineage.h"
#include "engine/stimulation.h"
#include "support/controller_fixture.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Seeded : ::testing::Test {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("kaleidomat-graph-" + std::to_string(::getpid()) + "-" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string path(const std::string& name) { return (dir / name).string(); }
    Bytes read(const std::string& name) {
        std::ifstream in(path(name), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void write(const std::string& name, const Bytes& bytes) {
        std::ofstream(path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    void cli(std::vector<std::string> args) {
        std::ostringstream out, err;
        ASSERT_EQ(cli::Run(args, out, err), 0) << err.str();
    }
};

TEST_F(Seeded, TheStartUpBoardIsTheCommandLinesRandomBoard) {
    for (const uint64_t seed : {0ull, 77ull, 18446744073709551615ull}) {
        ControllerFixture f;
        f.start("", seed);
        cli({"random", path("r.hxa"), "--size", "50", "--seed", std::to_string(seed)});
        EXPECT_EQ(io::EncodeBoardFile(f.board()), read("r.hxa")) << seed;
    }
}

// Single steps, then 保存 over the opened file, against step --as-window: a
// soup, and a block beside a blinker, whose population stands still so that
// auto-stimulation fires on the way.
TEST_F(Seeded, SingleStepsThenSaveWriteWhatTheCommandLineWrites) {
    cli({"random", path("soup.hxa"), "--size", "40", "--seed", "5"});
    write("still.hxa", boardFile(19, {{3, 3}, {3, 4}, {4, 3}, {4, 4}, {10, 9}, {10, 10}, {10, 11}}));
    for (const std::string name : {"soup.hxa", "still.hxa"}) {
        for (const int steps : {1, 30}) {
            ControllerFixture f;
            const std::string file = "/boards/" + name;
            f.files.files[file] = read(name);
            f.start(file, 4242);
            for (int i = 0; i < steps; ++i) f.press(Button::Step);
            f.dialogs.answers.push_back(platform::MessageAnswer::Yes);  // overwrite
            f.press(Button::Save);
            cli({"step", path(name), path("cli.hxa"), "-n", std::to_string(steps), "--seed", "4242", "--as-window"});
            EXPECT_EQ(f.files.files[file], read("cli.hxa")) << name << " " << steps;
            if (name == "still.hxa" && steps == 30) {  // the case needs the stimulation
                cli({"step", path(name), path("plain.hxa"), "-n", "30", "--seed", "4242"});
                EXPECT_NE(read("plain.hxa"), read("cli.hxa"));
            }
        }
    }
}

TEST(StartArguments, SeedComesBeforeTheFileAndMustBeAWholeNumber) {
    const auto parsed = [](std::vector<std::string> a) { return app::ParseStartArguments(a); };
    EXPECT_EQ(parsed({"--seed", "12", "a", "b.hxa"}).seed, 12u);
    EXPECT_EQ(parsed({"--seed", "12", "a", "b.hxa"}).rest, (std::vector<std::string>{"a", "b.hxa"}));
    EXPECT_EQ(parsed({"--seed=18446744073709551615"}).seed, 18446744073709551615ull);
    EXPECT_FALSE(parsed({"b.hxa", "--seed", "3"}).seed);  // after the path it is part of the path
    EXPECT_EQ(parsed({"b.hxa", "--seed", "3"}).rest.size(), 3u);
    for (const auto& wrong : std::vector<std::vector<std::string>>{
             {"--seed"}, {"--seed", "x"}, {"--seed", "-1"}, {"--seed=18446744073709551616"}, {"--seed", ""}})
        EXPECT_FALSE(parsed(wrong).error.empty()) << wrong.back();
}

// The fields of every line of a CSV text (none quoted), header included.
std::vector<std::vector<std::string>> csvLines(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line + ',');
        lines.emplace_back();
        for (std::string field; std::getline(fields, field, ',');) lines.back().push_back(field);
    }
    return lines;
}

// The graph window as the logic sees it.
struct FakeGraphWindow : platform::GraphWindow {
    platform::GraphEvents* events = nullptr;
    bool shown = false;
    const analysis::GraphSeries* series = nullptr;
    void setEvents(platform::GraphEvents* e) override { events = e; }
    void setVisible(bool v) override { shown = v; }
    bool visible() const override { return shown; }
    void showSeries(const analysis::GraphSeries* s) override { series = s; }
    void seriesChanged() override {}
    std::vector<uint8_t> picturePng() override { return {'P', 'N', 'G'}; }
    int channel = 0;
    int founderChannel() const override { return channel; }
    std::array<int, 4> geometry() const override { return {}; }
    void setGeometry(const std::array<int, 4>&) override {}
};

// Steps and a run of the window with the graph open, exported as CSV, against
// stats --as-window --families for the same board, seed and number of steps;
// replacing the board starts the record anew.
TEST_F(Seeded, TheGraphsCsvIsTheCommandLinesForTheSameRun) {
    write("still.hxa", boardFile(19, {{3, 3}, {3, 4}, {4, 3}, {4, 4}, {10, 9}, {10, 10}, {10, 11}}));
    ControllerFixture f;
    FakeGraphWindow graph;
    f.files.files["/b/still.hxa"] = read("still.hxa");
    f.graph = &graph;
    f.start("/b/still.hxa", 31);
    f.window.events->menuTriggered(platform::Menu::ViewGraph);
    ASSERT_TRUE(graph.shown);
    for (int i = 0; i < 25; ++i) f.press(Button::Step);
    f.dialogs.filePaths.push_back("/out/g.csv");
    graph.events->graphExportRequested(platform::GraphExport::Csv);
    cli({"stats", path("still.hxa"), "-n", "25", "--seed", "31", "--as-window", "--families", "--csv",
         path("c.csv")});
    const Bytes window = f.files.files["/out/g.csv"], command = read("c.csv");
    // The command's columns first; the window's own after them: a count of
    // generations that goes on where the board's counter restarts.
    const auto lines = csvLines(std::string(window.begin(), window.end()));
    std::string firstColumns;
    bool restarted = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lines[i].size(), 6 + 13 + 6u);
        for (std::size_t k = 0; k < 19; ++k) firstColumns += lines[i][k] + (k == 18 ? "\n" : ",");
        if (i == 0) continue;
        EXPECT_EQ(lines[i][19], std::to_string(i - 1));
        restarted |= i > 1 && std::stoi(lines[i][0]) < std::stoi(lines[i - 1][0]);
        EXPECT_NE(lines[i][22], "");  // survivors_red: the graph follows the lineage
    }
    EXPECT_TRUE(restarted);
    EXPECT_EQ(firstColumns, std::string(command.begin(), command.end()));
    ASSERT_NE(graph.series, nullptr);
    EXPECT_EQ(graph.series->size(), 26);

    f.press(Button::Random);
    EXPECT_EQ(graph.series->size(), 1);  // a new record from the new board
    f.window.events->menuTriggered(platform::Menu::ViewGraph);
    EXPECT_FALSE(graph.shown);
    f.press(Button::Step);
    EXPECT_EQ(graph.series->size(), 1);  // a closed graph records nothing
}

// An export clicked during a run is answered at once and writes nothing; a
// run ended by extinction is exported up to the empty board shown. A reset
// generation count and a graph reopened later start the axis afresh.
TEST(GraphWindow, ExportDuringARunExtinctionResetAndReopening) {
    ControllerFixture f;
    FakeGraphWindow graph;
    f.graph = &graph;
    f.start();
    f.clearBoard();
    f.setLive(5, 5);
    f.setLive(20, 20);
    f.command(platform::Menu::ViewGraph);
    f.window.onProcessEvents = [&] {
        if (f.window.processEventsCount == 1) graph.events->graphExportRequested(platform::GraphExport::Csv);
    };
    f.press(Button::Start);
    ASSERT_EQ(f.dialogs.messages.size(), 2u);
    expectMessage(f.dialogs.messages[0], texts::kGraphExportWhileRunning, platform::MessageIcon::Information);
    EXPECT_EQ(f.dialogs.messages[1].text, texts::kExtinct);
    EXPECT_TRUE(f.dialogs.fileDialogs.empty());
    f.dialogs.filePaths = {"/out/g.csv"};
    graph.events->graphExportRequested(platform::GraphExport::Csv);
    const std::string csv(f.files.files["/out/g.csv"].begin(), f.files.files["/out/g.csv"].end());
    std::string lastRowStart(1, '\n');
    lastRowStart += std::to_string(f.board().Generation) + ",0,";
    EXPECT_NE(csv.rfind(lastRowStart), std::string::npos);
    EXPECT_EQ(csv.find('\n', csv.rfind(lastRowStart) + 1), csv.size() - 1);

    f.press(Button::Random);
    for (int i = 0; i < 3; ++i) f.press(Button::Step);
    f.command(platform::Menu::Popup1Reset);
    EXPECT_EQ(graph.series->firstGeneration(), 0);
    EXPECT_EQ(graph.series->size(), 1);
    graph.events->graphClosed();
    for (int i = 0; i < 4; ++i) f.press(Button::Step);
    f.command(platform::Menu::ViewGraph);
    EXPECT_TRUE(graph.shown);
    EXPECT_EQ(graph.series->firstGeneration(), 4);
    EXPECT_EQ(graph.series->size(), 1);
}

// Births, deaths, colours and families of boards made by hand.
TEST(Statistics, BirthsDeathsColoursAndFamiliesOfHandMadeBoards) {
    struct Case {
        uint8_t r, g, b;
        int family;
    };
    const Case cases[] = {
        {255, 0, 0, 0},     {250, 140, 10, 1},  {230, 230, 0, 2},    {0, 200, 0, 4},      {0, 200, 200, 6},
        {0, 0, 255, 8},     {200, 0, 200, 10},  {255, 0, 120, 11},   {128, 128, 128, analysis::kGreyFamily},
        {255, 255, 255, analysis::kGreyFamily}, {20, 0, 0, analysis::kGreyFamily},
        {220, 200, 200, analysis::kGreyFamily}, {100, 0, 255, 9},
    };
    for (const Case& c : cases) EXPECT_EQ(analysis::HueFamily(c.r, c.g, c.b), c.family) << int(c.r) << "," << int(c.g) << "," << int(c.b);

    engine::Board board;
    board.create(9);
    board.cell(1, 1) = {1, 255, 0, 0};
    board.cell(2, 1) = {1, 255, 0, 0};
    board.cell(3, 1) = {1, 128, 128, 128};
    board.cell(5, 5) = {1, 0, 0, 255};
    analysis::Meter meter;
    analysis::GenerationStats first = meter.measure(board, false);
    EXPECT_EQ((std::array{first.population, first.births, first.deaths, first.colours}), (std::array{4, 0, 0, 3}));
    EXPECT_DOUBLE_EQ(first.topShare, 0.5);
    EXPECT_EQ(first.families[0], 2);
    EXPECT_EQ(first.families[8], 1);
    EXPECT_EQ(first.families[analysis::kGreyFamily], 1);
    board.cell(1, 1) = {};               // a death
    board.cell(2, 1) = {0, 255, 0, 0};   // a death that keeps its colour fields
    board.cell(7, 7) = {1, 0, 0, 255};   // a birth
    board.cell(8, 7) = {9, 0, 0, 255};   // a birth with another live State
    const analysis::GenerationStats next = meter.measure(board, true);
    EXPECT_EQ((std::array{next.population, next.births, next.deaths, next.colours}), (std::array{4, 2, 2, 2}));
    EXPECT_DOUBLE_EQ(next.topShare, 0.75);
    EXPECT_DOUBLE_EQ(next.familyShare(8), 0.75);
    EXPECT_EQ(meter.measure(board, false).births, 0);  // not the generation after: nothing counted
    // Diversity over colour values: a half, a quarter and a quarter.
    EXPECT_NEAR(first.shannon, -(0.5 * std::log(0.5) + 0.5 * std::log(0.25)), 1e-12);
    EXPECT_DOUBLE_EQ(first.simpson, 1 - (0.25 + 2 * 0.0625));
    board.cell(3, 1) = {};
    board.cell(8, 7) = {};
    const analysis::GenerationStats one = meter.measure(board, false);  // one colour left
    EXPECT_EQ(std::signbit(one.shannon), false);
    EXPECT_EQ(one.shannon + one.simpson, 0.0);
}

// Ten million generations in a bounded series: every pixel column still has
// the extremes of its generations, so a spike of one generation shows.
TEST(GraphSeries, DecimationKeepsEveryExtremeInBoundedMemory) {
    analysis::GraphSeries series;
    constexpr int64_t kLength = 10'000'000, kSpike = 7'654'321, kDip = 1'234'567;
    analysis::Sample s;
    for (int64_t g = 0; g < kLength; ++g) {
        s.values[analysis::Population] = g == kSpike ? 5000 : g == kDip ? 3 : 100 + g % 7;
        series.add(s);
    }
    EXPECT_EQ(series.size(), kLength);
    EXPECT_LE(series.buckets().size(), analysis::GraphSeries::kMaxBuckets);
    for (const int64_t width : {300, 1000, 1919}) {
        int spikes = 0, dips = 0;
        for (int64_t c = 0; c < width; ++c) {
            const analysis::Extent e =
                series.span(c * kLength / width, (c + 1) * kLength / width).lines[analysis::Population];
            spikes += e.high == 5000;
            dips += e.low == 3;
            EXPECT_LE(e.low, 100);
        }
        // In its own column, and in the next one when a bucket straddles both.
        EXPECT_TRUE(spikes == 1 || spikes == 2) << width;
        EXPECT_TRUE(dips == 1 || dips == 2) << width;
    }
    // The colours' logarithmic axis: decades, and 2 and 5 between while there are few.
    EXPECT_EQ(analysis::LogAxisTicks(6500), (std::vector<double>{1, 10, 100, 1000, 10000}));
    EXPECT_EQ(analysis::LogAxisTicks(40), (std::vector<double>{1, 2, 5, 10, 20, 50, 100}));
    EXPECT_EQ(analysis::LogAxisTicks(0), (std::vector<double>{1, 2, 5, 10}));
    // Generations left out (a run too fast to measure each) are gaps, not values.
    analysis::GraphSeries gaps;
    gaps.add(s, 0);
    gaps.add(s, 10);
    EXPECT_EQ(gaps.size(), 11);
    EXPECT_EQ(gaps.span(3, 7).count, 0);
}

// A run paced at a thousand generations a second or slower is recorded in
// full; one at full speed only as far as a twentieth of its time allows,
// its gaps still counted on the generation axis, also when each of its
// generations takes milliseconds (a large board).
TEST(RunRecorder, RecordsEveryPacedGenerationAndSamplesAFullSpeedRun) {
    engine::Board board;
    board.create(49);
    engine::RandomSequence random(3);
    engine::Init(board, random);
    struct Pace {
        int tickUs;
        bool fullSpeed, all;
    };
    for (const auto& [tickUs, fullSpeed, all] : {Pace{600, false, true}, Pace{10, false, false}, Pace{3000, true, false}}) {
        auto t = std::chrono::steady_clock::time_point{};
        app::RunRecorder recorder([&, tick = tickUs] { return t += std::chrono::microseconds(tick); });
        recorder.restart(board);
        engine::Stepper stepper;
        for (int g = 0; g < 2000; ++g) {
            stepper.ReCalc(board, random);
            recorder.generation(board, false, fullSpeed);
        }
        EXPECT_GT(recorder.series().size(), 1950);  // up to the last generation measured
        if (all) {
            EXPECT_EQ(recorder.rows().size(), 2001u);
        } else {
            EXPECT_LT(recorder.rows().size(), 400u);
            EXPECT_GT(recorder.rows().size(), 20u);
        }
        // A stop records the board it stopped on, once.
        for (int twice = 0; twice < 2; ++twice) recorder.stopped(board);
        EXPECT_EQ(recorder.rows().back().generation, board.Generation);
        EXPECT_NE(recorder.rows().rbegin()[1].generation, board.Generation);
        EXPECT_EQ(recorder.series().size(), 2001);
    }
}

// Measurements that each take ten times a generation (a large board) keep
// to the twentieth of the time as well: one interrupted measurement is let
// off its cost, a run of slow ones is not.
TEST(RunRecorder, SlowMeasurementsKeepToTheirShare) {
    engine::Board board;
    board.create(49);
    engine::RandomSequence random(3);
    engine::Init(board, random);
    auto t = std::chrono::steady_clock::time_point{};
    std::size_t rowsSeen = 0;
    const app::RunRecorder* watched = nullptr;
    app::RunRecorder recorder([&] {
        // The call that follows a measurement finds one row more.
        const std::size_t rows = watched ? watched->rows().size() : 0;
        t += rows != rowsSeen ? std::chrono::milliseconds(100) : std::chrono::milliseconds(10);
        rowsSeen = rows;
        return t;
    });
    watched = &recorder;
    recorder.restart(board);
    rowsSeen = recorder.rows().size();
    engine::Stepper stepper;
    for (int g = 0; g < 2000; ++g) {
        stepper.ReCalc(board, random);
        recorder.generation(board, false, true);
    }
    // About one generation in two hundred: 2,000 generations of 10 ms, a
    // twentieth of it for measurements of 100 ms.
    EXPECT_LT(recorder.rows().size(), 30u);
    EXPECT_GT(recorder.rows().size(), 5u);
}

// The recorder following a lineage that runs as kaleidomat-cli lineage
// --as-window runs it: per generation its survivors and largest founders'
// shares are those of the command's Muller table of each channel.
TEST_F(Seeded, FounderSharesAndTablesAreTheCommandLinesMullerTable) {
    cli({"random", path("r.hxa"), "--size", "24", "--seed", "8"});
    constexpr int kSteps = 150;
    engine::RandomSequence random(5);
    engine::Board board = cli::LoadBoard(path("r.hxa"));
    board.Generation = 0;
    engine::RecordPopulation(board, board.countLive());
    engine::Lineage lineage;
    lineage.start(board);
    auto t = std::chrono::steady_clock::time_point{};
    app::RunRecorder recorder([&] { return t += std::chrono::milliseconds(2); });  // paced: all measured
    recorder.follow(&lineage);
    recorder.restart(board);
    engine::Stepper stepper;
    for (int g = 0; g < kSteps; ++g) {
        lineage.stepAndStimulate(stepper, board, random);
        recorder.generation(board);
    }
    for (int c = 0; c < engine::kChannels; ++c) {
        cli({"lineage", path("r.hxa"), "-n", std::to_string(kSteps), "--seed", "5", "--as-window", "--channel",
             engine::ChannelName(c), "-o", path("run")});
        const Bytes muller = read("run.muller.csv");
        // (population, founder) of every living taxon, and the live cells, per generation.
        std::vector<std::vector<std::pair<int64_t, uint64_t>>> taxa(kSteps + 1);
        std::vector<int64_t> live(kSteps + 1);
        const auto rows = csvLines(std::string(muller.begin(), muller.end()));
        for (std::size_t i = 1; i < rows.size(); ++i) {
            const std::size_t g = std::stoul(rows[i][2]);
            const int64_t population = std::stoll(rows[i][3]);
            live[g] += population;
            if (rows[i][0] != "0" && population > 0) taxa[g].emplace_back(population, std::stoull(rows[i][0]) / 3);
        }
        int withFounders = 0;
        for (int g = 0; g <= kSteps; ++g) {
            std::sort(taxa[g].begin(), taxa[g].end(), [](const auto& a, const auto& b) {
                return a.first != b.first ? a.first > b.first : a.second < b.second;
            });
            analysis::TopFounders expected{};
            for (std::size_t k = 0; k < taxa[g].size() && k < expected.size(); ++k)
                expected[k] = {taxa[g][k].second, static_cast<float>(static_cast<double>(taxa[g][k].first) / live[g])};
            const analysis::Sample& sample = recorder.series().span(g, g + 1).last;
            EXPECT_EQ(sample.values[analysis::SurvivorsRed + c], static_cast<double>(taxa[g].size())) << g;
            EXPECT_EQ(sample.founders[c], expected) << "generation " << g << " channel " << c;
            withFounders += taxa[g].size() > 1;
        }
        EXPECT_GT(withFounders, kSteps / 2);
    }
}

// The window's lineage export after steps with the graph open is what
// kaleidomat-cli lineage --as-window writes for the same seeded run, for the
// channel the graph shows. Of the two files, the one not chosen in the
// dialog is asked about before it is replaced; a No writes neither.
TEST_F(Seeded, TheWindowsLineageExportIsTheCommandLines) {
    cli({"random", path("r.hxa"), "--size", "30", "--seed", "9"});
    ControllerFixture f;
    FakeGraphWindow graph;
    graph.channel = 1;
    f.files.files["/b/r.hxa"] = read("r.hxa");
    f.graph = &graph;
    f.start("/b/r.hxa", 17);
    f.command(platform::Menu::ViewGraph);
    for (int i = 0; i < 60; ++i) f.press(Button::Step);
    f.files.files["/out/run.phylogeny.csv"] = {'o', 'l', 'd'};
    for (const auto answer : {platform::MessageAnswer::No, platform::MessageAnswer::Yes}) {
        f.dialogs.filePaths.push_back("/out/run.muller.csv");
        f.dialogs.answers.push_back(answer);
        graph.events->graphExportRequested(platform::GraphExport::Lineage);
        EXPECT_EQ(f.files.files.count("/out/run.muller.csv"), answer == platform::MessageAnswer::Yes);
    }
    cli({"lineage", path("r.hxa"), "-n", "60", "--seed", "17", "--as-window", "--channel", "green", "-o",
         path("run")});
    EXPECT_EQ(f.files.files["/out/run.phylogeny.csv"], read("run.phylogeny.csv"));
    EXPECT_EQ(f.files.files["/out/run.muller.csv"], read("run.muller.csv"));
    EXPECT_GT(graph.series->extent(analysis::SurvivorsBlue).high, 1);
    // Closed, the graph gives the lineage back.
    f.command(platform::Menu::ViewGraph);
    EXPECT_FALSE(f.session().lineageOn());
}

// Past its bound of folded taxa the recorder's tables end where they were,
// and the lineage keeps nothing more for them, while the graph still gets
// its founder figures. A lineage no longer followed (the lineage view may
// keep it on) keeps nothing for the tables either.
TEST(RunRecorder, LineageTablesEndAtTheirBoundAndReleaseTheLineage) {
    engine::Board board;
    board.create(29);
    engine::RandomSequence random(12);
    engine::Init(board, random);
    engine::Lineage lineage;
    lineage.start(board);
    auto t = std::chrono::steady_clock::time_point{};
    const auto paced = [&] { return t += std::chrono::milliseconds(2); };
    app::RunRecorder recorder(paced), unbounded(paced);
    recorder.limitTaxa(20);
    recorder.follow(&lineage);
    recorder.restart(board);
    engine::Stepper stepper;
    std::string ended;
    for (int g = 1; g <= 300; ++g) {
        lineage.stepAndStimulate(stepper, board, random);
        recorder.generation(board);
        if (recorder.tablesEnded() && ended.empty()) ended = recorder.phylogenyCsv() + recorder.mullerCsv(1);
    }
    ASSERT_TRUE(recorder.tablesEnded());
    EXPECT_EQ(recorder.phylogenyCsv() + recorder.mullerCsv(1), ended);
    EXPECT_TRUE(lineage.takeFolded().empty());
    EXPECT_GT(recorder.series().span(300, 301).last.values[analysis::SurvivorsRed], 0);

    unbounded.follow(&lineage);
    unbounded.restart(board);
    unbounded.follow(nullptr);
    for (int g = 0; g < 300; ++g) lineage.stepAndStimulate(stepper, board, random);
    lineage.tally();
    EXPECT_TRUE(lineage.takeFolded().empty());
}

// A recorder holding its Muller rows within a bound samples more sparsely as
// the run goes on; its tables are those of a recorder that sampled so
// sparsely from the start.
TEST(LineageTables, BoundedMullerRowsAreThoseOfASparserRecorder) {
    const auto tables = [](uint64_t every, std::size_t bound, uint64_t* reached) {
        engine::Board board;
        board.create(29);
        engine::RandomSequence random(12);
        engine::Init(board, random);
        engine::Lineage lineage;
        lineage.start(board);
        analysis::LineageRecorder recorder(-1, every);
        recorder.limitRows(bound);
        recorder.record(lineage);
        engine::Stepper stepper;
        for (int g = 0; g < 333; ++g) {
            lineage.step(stepper, board, random);
            recorder.record(lineage);
        }
        if (reached) *reached = recorder.every();
        return recorder.mullerCsv(lineage, 0) + recorder.mullerCsv(lineage, 2) + recorder.phylogenyCsv(lineage);
    };
    uint64_t every = 0;
    const std::string bounded = tables(1, 40'000, &every);
    EXPECT_GE(every, 4u);
    EXPECT_EQ(bounded, tables(every, SIZE_MAX, nullptr));
    EXPECT_NE(bounded, tables(1, SIZE_MAX, nullptr));
}

}  // namespace
