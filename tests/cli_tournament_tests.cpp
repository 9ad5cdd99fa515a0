// SPDX-License-Identifier: MIT
// kaleidomat-cli tournament and summarize: rows that do not depend on threads,
// slices or interruptions; fixation exactly when a tracker written from the
// rule says every channel has one group left; Wilson intervals computed by
// hand; and the refusals.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "analysis/tournament.h"
#include "cli/commands.h"
#include "engine/generation_step.h"
#include "engine/stimulation.h"
#include "support/cli_fixture.h"

namespace fs = std::filesystem;

namespace {

class Tournament : public CliFixture {};

std::string withoutFirstLine(const std::string& text) { return text.substr(text.find('\n') + 1); }

// One table, made with one thread, with two, in three slices, and continued
// after being cut inside a row: the same bytes every time. Once with the pure
// rule and once with the window's, whose stimulated cells the groups must follow too.
TEST_F(Tournament, RowsDoNotDependOnThreadsSlicesOrInterruptions) {
    for (const char* rule : {"--generations", "--as-window"}) {
        SCOPED_TRACE(rule);
        std::vector<std::string> base = {"tournament", "--seeds", "3-8,40,1", "--groups", "3", "--layout", "scatter",
                                         "--size", "16", "--density", "0.35", "--generations", "400"};
        if (std::string(rule) == "--as-window") base.push_back(rule);
        auto with = [&](std::vector<std::string> more) {
            std::vector<std::string> args = base;
            args.insert(args.end(), more.begin(), more.end());
            return args;
        };
        run(with({"--threads", "1", "--csv", path("one.csv")}));
        const std::string table = read("one.csv");
        ASSERT_EQ(std::count(table.begin(), table.end(), '\n'), 9);  // the header and eight rows
        std::string two;
        run(with({"--threads", "2"}), &two);
        EXPECT_EQ(two, table);
        std::string sliced;
        for (const char* chunk : {"1/3", "2/3", "3/3"}) {
            std::string part;
            run(with({"--chunk", chunk, "--no-header", "--threads", "2"}), &part);
            sliced += part;
        }
        EXPECT_EQ(sliced, withoutFirstLine(table));

        // Cut in the middle of the fourth row: that row is made again.
        const std::size_t fourth = table.find('\n', table.find('\n', table.find('\n', table.find('\n') + 1) + 1) + 1);
        write("cut.csv", table.substr(0, fourth + 20));
        run(with({"--csv", path("cut.csv"), "--resume", "--threads", "2"}));
        EXPECT_EQ(read("cut.csv"), table);
        run(with({"--csv", path("cut.csv"), "--resume"}));  // nothing left to do
        EXPECT_EQ(read("cut.csv"), table);
    }
}

// The groups of every live cell's channels, from the rule itself: every live
// cell hands each neighbour its count and, to the first, second and third
// neighbour it reaches in scan order, its red, green or blue group. A cell that
// stimulation brings to life takes the groups of the live cell nearest the
// start of the board among its neighbours.
struct PlainTracker {
    std::vector<std::array<int, 3>> groups;

    void step(const engine::Board& before, const engine::Board& after) {
        const int32_t g = before.GridMax;
        auto wrap = [g](int32_t v) { return v < 0 ? g : v > g ? 0 : v; };
        std::vector<int> count(before.Cells.size(), 0);
        std::vector<std::array<int, 3>> handed(before.Cells.size(), {-1, -1, -1});
        for (int32_t x = 0; x <= g; ++x)
            for (int32_t y = 0; y <= g; ++y) {
                if (!before.cell(x, y).live()) continue;
                for (int32_t dx = -1; dx <= 1; ++dx)
                    for (int32_t dy = -1; dy <= 1; ++dy) {
                        if (dx == 0 && dy == 0) continue;
                        const std::size_t t = before.index(wrap(x + dx), wrap(y + dy));
                        if (++count[t] <= 3) handed[t][count[t] - 1] = groups[before.index(x, y)][count[t] - 1];
                    }
            }
        for (std::size_t i = 0; i < groups.size(); ++i) {
            if (!after.Cells[i].live()) groups[i] = {-1, -1, -1};
            else if (!before.Cells[i].live()) groups[i] = handed[i];
        }
    }

    void stimulated(const engine::Board& before, const engine::Board& after) {
        for (std::size_t i = 0; i < groups.size(); ++i) {
            if (!after.Cells[i].live() || before.Cells[i].live()) continue;
            const int32_t n = after.side(), x = static_cast<int32_t>(i) / n, y = static_cast<int32_t>(i) % n;
            for (std::size_t j = 0; j < groups.size(); ++j) {
                const int32_t jx = static_cast<int32_t>(j) / n, jy = static_cast<int32_t>(j) % n;
                const bool near = std::min((jx - x + n) % n, (x - jx + n) % n) <= 1 &&
                                  std::min((jy - y + n) % n, (y - jy + n) % n) <= 1 && j != i;
                if (near && before.Cells[j].live()) {
                    groups[i] = groups[j];
                    break;
                }
            }
        }
    }
};

// Runs `start` with the plain tracker and compares every count, the holders
// and how the run ended with the tournament's own run of it.
analysis::Ending expectSameAsPlain(const analysis::TournamentSettings& settings, const analysis::TournamentStart& start,
                                   const engine::RandomSequence& from) {
    engine::RandomSequence random = from;
    const analysis::TournamentResult result = analysis::RunTournament(settings, start, random);
    random = from;
    engine::Board board = start.board;
    PlainTracker tracker;
    for (int8_t group : start.groups) tracker.groups.push_back({group, group, group});
    if (settings.asWindow) {
        board.Generation = 0;
        engine::RecordPopulation(board, board.countLive());
    }
    engine::Stepper stepper;
    std::array<int32_t, 3> heldSince{-1, -1, -1};
    int32_t generation = 0;
    for (;; ++generation) {
        std::array<std::set<int>, 3> left;
        for (std::size_t i = 0; i < board.Cells.size(); ++i)
            if (board.Cells[i].live())
                for (int c = 0; c < 3; ++c) left[c].insert(tracker.groups[i][c]);
        for (int c = 0; c < 3; ++c)
            if (left[c].size() == 1 && heldSince[c] < 0) heldSince[c] = generation;
        if (left[0].empty() || (left[0].size() == 1 && left[1].size() == 1 && left[2].size() == 1)) break;
        if (generation == settings.generations) break;
        const engine::Board before = board;
        stepper.ReCalc(board, random);
        tracker.step(before, board);
        if (settings.asWindow) {
            engine::RecordPopulation(board, board.countLive());
            const engine::Board stepped = board;
            if (engine::AutoStimulate(board, random) > 0) tracker.stimulated(stepped, board);
        }
    }
    const bool fixed = board.countLive() > 0 && generation < settings.generations;
    EXPECT_EQ(result.generationsRun, generation);
    EXPECT_EQ(result.ending, board.countLive() == 0 ? analysis::Ending::Extinction
                             : fixed                ? analysis::Ending::Fixation
                                                    : analysis::Ending::Limit);
    EXPECT_EQ(result.heldSince, heldSince);
    for (std::size_t g = 0; g < static_cast<std::size_t>(settings.groups); ++g)
        for (int c = 0; c < 3; ++c) {
            int32_t cells = 0;
            for (const auto& groups : tracker.groups) cells += groups[c] == static_cast<int>(g);
            EXPECT_EQ(result.counts[g][c], cells);
        }
    return result.ending;
}

TEST(TournamentRun, FixationIsReportedExactlyWhenEveryChannelHasOneGroupLeft) {
    int fixations = 0, others = 0;
    for (const bool asWindow : {false, true})
        for (const analysis::Layout layout : {analysis::Layout::Halves, analysis::Layout::Checker, analysis::Layout::Scatter})
            for (uint64_t seed = 1; seed <= 8; ++seed) {
                SCOPED_TRACE(std::to_string(seed) + " " + analysis::LayoutName(layout) + (asWindow ? " window" : ""));
                // Small boards mostly end in fixation within the limit, larger ones mostly not.
                const int groups = layout == analysis::Layout::Scatter ? 6 : 2;
                const analysis::TournamentSettings settings{groups, layout, 3500, seed % 2 ? 14 : 24, 300, asWindow};
                engine::RandomSequence random(seed);
                const analysis::TournamentStart start = analysis::LayOutFounders(settings, random);
                (expectSameAsPlain(settings, start, random) == analysis::Ending::Fixation ? fixations : others) += 1;
            }
    // Both ways of ending were checked.
    EXPECT_GT(fixations, 3);
    EXPECT_GT(others, 3);

    // Three blocks of three groups, standing still: stimulation brings cells
    // to life beside them, often between two groups.
    analysis::TournamentStart still;
    still.board.create(15);
    still.groups.assign(still.board.Cells.size(), -1);
    for (int block = 0; block < 3; ++block)
        for (int32_t x : {3 + 3 * block, 4 + 3 * block})
            for (int32_t y : {6, 7}) {
                still.board.cell(x, y) = engine::CellRecord(1, 100 + block, 50, 50);
                still.groups[still.board.index(x, y)] = static_cast<int8_t>(block);
            }
    for (uint64_t seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE("blocks, seed " + std::to_string(seed));
        expectSameAsPlain({3, analysis::Layout::Halves, 2000, 16, 200, true}, still, engine::RandomSequence(seed));
    }
}

// A table of four runs by hand: group 1 holds red in three, group 2 in one;
// green is held by group 2 once; one run dies out. Wilson's interval for 3
// of 4 at 95 % is 0.3006 to 0.9544, for 1 of 4 0.0456 to 0.6994, for 0 of 4
// 0 to 0.4899.
TEST_F(Tournament, SummarizeCountsWinsWithWilsonIntervals) {
    const std::string prefix = "9.9,2,halves,0.2000,16,100,0,";
    const std::string tail = ",0.5,0.5,0.5,0.5,0.5,0.5\n";
    write("a.csv", analysis::TournamentHeader(analysis::TournamentSettings{2, analysis::Layout::Halves, 2000, 16, 100, false}) +
                       prefix + "1,40,fixation,10,2,0.5,1,30,2,40,1,12" + tail +
                       prefix + "2,100,limit,10,2,0.5,1,50,0,,0," + tail);
    write("b.csv", prefix + "3,70,fixation,10,2,0.5,1,70,1,5,1,60" + tail +
                       prefix + "4,9,extinction,0,0,0.000000,0,,0,,0," + tail + prefix + "5,1");  // cut off
    std::string out, err;
    run({"summarize", path("b.csv"), path("a.csv"), "--svg", path("wins.svg")}, &out, &err);
    EXPECT_NE(out.find("4 runs\n  fixation 2 (50.0 %), died out 1 (25.0 %), limit reached 1 (25.0 %)\n"
                       "  generations to fixation: mean 55.0, median 55.0\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("  1      red           3    0.7500  0.3006 - 0.9544               50.0      50.0\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("  1      green         1    0.2500  0.0456 - 0.6994                5.0       5.0\n"), std::string::npos);
    EXPECT_NE(out.find("  2      red           0    0.0000  0.0000 - 0.4899                  -         -\n"), std::string::npos);
    EXPECT_EQ(err, "kaleidomat-cli: " + path("b.csv") + ": line 3 has no end (a run still writing, or one that was stopped) and is left out\n");
    EXPECT_NE(read("wins.svg").find("group 1 red: 0.7500 (0.3006 - 0.9544)"), std::string::npos);

    // A seed twice with the same settings is refused, naming both places.
    write("again.csv", prefix + "2,70,fixation,10,2,0.5,1,70,1,5,1,60" + tail);
    EXPECT_EQ(run({"summarize", path("a.csv"), path("again.csv")}, &out, &err), 1);
    EXPECT_EQ(err, "kaleidomat-cli: seed 2 with the same settings is in " + path("a.csv") + ": line 3 and in " +
                       path("again.csv") + ": line 1; each seed may be counted once\n");
}

TEST_F(Tournament, WrongRequestsAreRefusedAndTablesOfOtherSettingsKept) {
    const std::vector<std::string> base = {"tournament", "--seeds", "1-3", "--size", "12", "--generations", "5"};
    run({"tournament", "--seeds", "1-3", "--size", "12", "--generations", "5", "--csv", path("t.csv")});
    const std::string table = read("t.csv");
    std::string err;
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{"--resume"}, 2},                      // standard output cannot be continued
        {{"--chunk", "0/3"}, 2},                // slices count from 1
        {{"--seeds", "1-3,2"}, 2},              // a seed listed twice
        {{"--seeds", "5-2"}, 2},                // backwards
        {{"--density", "1.5"}, 2},
        {{"--layout", "rings"}, 2},
        {{"--csv", path("t.txt")}, 2},
        {{"--groups", "13"}, 2},
        {{"--csv", path("t.csv"), "--resume", "--groups", "3"}, 1},  // another table's header
        {{"--csv", path("t.csv"), "--resume", "--no-header", "--density", "0.3"}, 1},
    };
    for (const auto& [more, status] : cases) {
        std::vector<std::string> args = base;
        args.insert(args.end(), more.begin(), more.end());
        EXPECT_EQ(run(args, nullptr, &err), status) << more[0] << " " << err;
    }
    // A table another run is writing (it holds the lock) is neither continued nor replaced.
    const int held = ::open(path("t.csv").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);  // no refused run above left it locked
    for (const char* resume : {"--resume", "--no-header"}) {
        std::vector<std::string> args = base;
        args.insert(args.end(), {"--csv", path("t.csv"), resume});
        EXPECT_EQ(run(args, nullptr, &err), 1);
        EXPECT_EQ(err, "kaleidomat-cli: " + path("t.csv") + ": another run is writing to it\n");
    }
    ::close(held);
    EXPECT_EQ(read("t.csv"), table);
    EXPECT_EQ(run({"summarize", path("t.csv"), "--svg", path("t.csv")}, nullptr, &err), 2);
    write("bad.csv", "not,a,table\n");
    EXPECT_EQ(run({"summarize", path("bad.csv")}, nullptr, &err), 1);
    EXPECT_EQ(err, "kaleidomat-cli: " + path("bad.csv") + ": line 1 is not a tournament row\n");
}

}  // namespace
