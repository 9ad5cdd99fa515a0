// kaleidomat-cli: conversions through every format, stepping and
// its exit statuses. Most tests run the commands in-process; one runs the
// real binary to check what a shell sees.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cell_files.h"
#include "cli/commands.h"
#include "engine/rules.h"
#include "io/formats.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

using Cells = std::set<std::pair<int, int>>;

const char* kGliderRle = "#N Glider\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n";

std::string str(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

Cells liveCells(const engine::Board& b) {
    Cells cells;
    for (int x = 0; x <= b.GridMax; ++x)
        for (int y = 0; y <= b.GridMax; ++y)
            if (b.cell(x, y).live()) cells.insert({x, y});
    return cells;
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string read(const std::string& name) {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void write(const std::string& name, const std::string& bytes) { std::ofstream(path(name), std::ios::binary) << bytes; }
    engine::Board board(const std::string& name) { return cli::LoadBoard(path(name)); }

    struct Result {
        int status;
        std::string out, err;
    };
    Result run(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        const int status = cli::Run(args, out, err);
        return {status, out.str(), err.str()};
    }
    // Runs a command that must succeed; returns its output.
    std::string ok(const std::vector<std::string>& args) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        return r.out;
    }

    const fs::path dir_ = fs::temp_directory_path() / ("kaleidomat-cli-" + std::to_string(::getpid()) + "-" +
                                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(Cli, RoundTripsThroughEveryFormat) {
    ok({"random", path("a.hxa"), "--size", "70", "--seed", "4"});
    // Board and pattern files keep everything, colours included.
    ok({"convert", path("a.hxa"), path("a.hxq")});
    ok({"convert", path("a.hxq"), path("b.hxa")});
    EXPECT_EQ(read("a.hxa"), read("b.hxa"));
    EXPECT_EQ(ok({"info", path("a.hxq")}).rfind("pattern 70 x 70, ", 0), 0u);
    // The text formats keep the live cells, which take one colour on the way back.
    ok({"convert", path("a.hxa"), path("a.rle")});
    ok({"convert", path("a.rle"), path("a.cells")});
    ok({"convert", path("a.cells"), path("c.hxq"), "--color", "102030"});
    ok({"convert", path("c.hxq"), path("c.hxa")});
    const engine::Board back = board("c.hxa");
    EXPECT_EQ(back.GridMax, 69);
    EXPECT_EQ(liveCells(back), liveCells(board("a.hxa")));
    for (const auto& [x, y] : liveCells(back)) EXPECT_EQ(back.cell(x, y), (engine::CellRecord{1, 0x10, 0x20, 0x30}));
    ok({"convert", path("c.hxa"), path("c.rle")});
    EXPECT_EQ(read("a.rle"), read("c.rle"));
}

// A text pattern lands at the origin of the smallest board that holds it,
// unless a size is given; its live cells take the colour given or one drawn
// from the seed.
TEST_F(Cli, TextPatternsBecomeBoards) {
    write("g.rle", "x = 13, y = 23\n2bo$3bo$b3o20$12bo!\n");
    ok({"convert", path("g.rle"), path("g.hxa"), "--color", "#FF8001"});
    const engine::Board g = board("g.hxa");
    EXPECT_EQ(g.GridMax, 29);
    EXPECT_EQ(liveCells(g), (Cells{{2, 0}, {3, 1}, {1, 2}, {2, 2}, {3, 2}, {12, 22}}));
    EXPECT_EQ(g.cell(2, 0), (engine::CellRecord{1, 255, 128, 1}));
    write("e.rle", "x = 0, y = 0\n!\n");
    ok({"convert", path("e.rle"), path("e.hxa")});
    EXPECT_EQ(board("e.hxa").GridMax, 9);

    write("glider.rle", kGliderRle);
    ok({"convert", path("glider.rle"), path("a.hxa"), "--seed", "77"});
    engine::RandomSequence random(77);
    engine::CellRecord expected{1, 0, 0, 0};
    engine::RandomColor(random, expected);
    const engine::Board a = board("a.hxa");
    for (const auto& [x, y] : liveCells(a)) EXPECT_EQ(a.cell(x, y), expected);
}

// Text written as other programs write it, plaintext named after the file;
// info names the kind (board and pattern files known by their contents), the
// size and the live cells.
TEST_F(Cli, TextOutputAndInfo) {
    write("g.rle", kGliderRle);
    write("e.rle", "x = 0, y = 0\n!\n");
    ok({"convert", path("g.rle"), path("glider.cells")});
    EXPECT_EQ(read("glider.cells"), "!Name: glider\n.O.\n..O\nOOO\n");
    ok({"convert", path("glider.cells"), path("G.RLE")});  // extensions in any case
    EXPECT_EQ(read("G.RLE"), "x = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n");
    for (const char* out : {"g.hxa", "g.hxq"}) ok({"convert", path("g.rle"), path(out), "--color", "010203"});
    ok({"convert", path("e.rle"), path("e.hxq")});
    fs::copy_file(path("g.hxq"), path("pattern.dat"));
    const std::pair<const char*, const char*> infos[] = {
        {"g.hxa", "board 10 x 10, 5 live cells\n"},      {"g.hxq", "pattern 3 x 3, 5 live cells\n"},
        {"g.rle", "RLE pattern 3 x 3, 5 live cells\n"},  {"glider.cells", "plaintext pattern 3 x 3, 5 live cells\n"},
        {"pattern.dat", "pattern 3 x 3, 5 live cells\n"}, {"e.hxq", "pattern 1 x 1, 0 live cells\n"},
    };
    for (const auto& [name, info] : infos) EXPECT_EQ(ok({"info", path(name)}), info);
}

TEST_F(Cli, StepRunsTheEngineFromGenerationOneWithTheSeed) {
    ok({"random", path("a.hxa"), "--size", "60", "--seed", "1"});
    const std::string out = ok({"step", path("a.hxa"), path("b.hxa"), "-n", "25", "--seed", "9"});
    engine::Board expected = board("a.hxa");
    engine::RandomSequence random(9);
    for (int i = 0; i < 25; ++i) engine::ReCalc(expected, random);
    EXPECT_EQ(read("b.hxa"), str(io::EncodeBoardFile(expected)));
    EXPECT_EQ(out, "generation 26, population " + std::to_string(expected.countLive()) + "\n");

    // -n 0 only rewrites; one generation by default, also in place and across the edge.
    write("blinker.rle", "x = 3, y = 1\n3o!\n");
    ok({"convert", path("blinker.rle"), path("b.hxa"), "--color", "0a0b0c"});
    EXPECT_EQ(ok({"step", path("b.hxa"), path("same.hxa"), "-n", "0"}), "generation 1, population 3\n");
    EXPECT_EQ(read("b.hxa"), read("same.hxa"));
    EXPECT_EQ(ok({"step", path("b.hxa"), path("b.hxa"), "--seed=3"}), "generation 2, population 3\n");
    EXPECT_EQ(liveCells(board("b.hxa")), (Cells{{1, 9}, {1, 0}, {1, 1}}));
}

TEST_F(Cli, BadFilesExitOneWithOneLineNamingTheFile) {
    ok({"random", path("good.hxa"), "--seed", "1"});
    ok({"convert", path("good.hxa"), path("good.hxq")});
    write("truncated.hxa", read("good.hxa").substr(0, read("good.hxa").size() - 3));
    write("huge.hxq", std::string("Chromatessellator PatternData\xFF\xFF\xFF\xFF", 33));
    write("text.hxa", "hello");
    write("rule.rle", "x = 1, y = 1, rule = B36/S23\no!");
    write("bad.cells", "..X\n");
    write("huge.rle", "x = 500, y = 500\no!");
    write("wide.rle", "x = 20, y = 3\n12bo!\n");
    fs::create_directory(path("folder.hxa"));
    auto p = [&](const char* name) { return path(name); };
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"info", p("missing.hxa")}, p("missing.hxa") + ": cannot open: No such file or directory"},
        {{"step", p("truncated.hxa"), p("out.hxa")}, p("truncated.hxa") + ": the file ends inside a cell record"},
        {{"step", p("good.hxq"), p("out.hxa")}, p("good.hxq") + ": is a pattern file, not a board file"},
        {{"convert", p("huge.hxq"), p("out.hxa")}, p("huge.hxq") + ": width or height outside 1 .. 200"},
        {{"convert", p("text.hxa"), p("out.hxq")}, p("text.hxa") + ": not Kaleidomat data (wrong signature)"},
        {{"convert", p("rule.rle"), p("out.hxa")}, p("rule.rle") + ": line 1: rule 'B36/S23' is not Conway's Life (B3/S23)"},
        {{"convert", p("bad.cells"), p("out.hxa")}, p("bad.cells") + ": line 1: unexpected 'X'"},
        {{"convert", p("huge.rle"), p("out.hxa")}, p("huge.rle") + ": line 1: pattern larger than 200 x 200 cells"},
        {{"convert", p("wide.rle"), p("out.hxa"), "--size", "12"},
         p("wide.rle") + ": live cell (12, 0) lies outside a 12 x 12 board"},
        {{"info", p("folder.hxa")}, p("folder.hxa") + ": is a directory"},
        {{"convert", p("good.hxa"), p("nowhere/out.hxq")},
         p("nowhere/out.hxq") + ": cannot write: No such file or directory"},
        {{"convert", p("good.hxa"), p("folder.hxa")}, p("folder.hxa") + ": cannot write: Is a directory"},
    };
    for (const auto& [args, message] : cases) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 1) << args[1];
        EXPECT_EQ(r.err, "kaleidomat-cli: " + message + "\n");
        EXPECT_EQ(r.out, "");
    }
    // Nothing is left behind: no output of a refused input, no temporary file of a failed write.
    EXPECT_FALSE(fs::exists(path("out.hxa")) || fs::exists(path("out.hxq")));
    for (const auto& entry : fs::directory_iterator(dir_))
        EXPECT_EQ(entry.path().string().find(".kaleidomat-tmp"), std::string::npos) << entry.path();
    ok({"convert", path("wide.rle"), path("out.hxa"), "--size", "13"});  // dead cells may fall off
}

TEST_F(Cli, UsageErrorsExitTwoWithTheUsage) {
    ok({"random", path("a.hxa"), "--seed", "1"});
    write("g.rle", kGliderRle);
    const std::string a = path("a.hxa"), b = path("b.hxa"), g = path("g.rle"), q = path("b.hxq");
    const std::vector<std::vector<std::string>> cases = {
        {}, {"frobnicate"}, {"info"}, {"step", a}, {"step", a, b, path("c.hxa")}, {"step", a, b, "-n"},
        {"step", a, b, "-n", "-1"}, {"step", a, b, "-n", "2147483647"}, {"step", a, b, "-n", "12x"},
        {"step", a, b, "--seed", "-5"}, {"step", a, b, "--speed", "5"}, {"step", a, path("b.rle")},
        {"convert", a, path("b.txt")}, {"convert", path("a.txt"), b}, {"convert", g, b, "--size", "9"},
        {"convert", g, b, "--size", "201"}, {"convert", g, q, "--size", "20"}, {"convert", g, b, "--color", "12345"},
        {"convert", g, b, "--color", "gg0000"}, {"convert", a, q, "--color", "ff0000"}, {"random", b, "--size", "0"},
    };
    for (const auto& args : cases) {
        const Result r = run(args);
        const std::string shown = ::testing::PrintToString(args);
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.err.rfind("kaleidomat-cli: ", 0), 0u) << shown;
        EXPECT_NE(r.err.find("Usage:\n  kaleidomat-cli step"), std::string::npos) << shown;
        EXPECT_FALSE(fs::exists(b) || fs::exists(q)) << shown;
    }
}

TEST_F(Cli, TheBinaryExitsWithTheseStatuses) {
    auto shell = [](const std::string& arguments) {
        const int status = std::system((std::string(KALEIDOMAT_CLI_BINARY) + arguments + " >/dev/null 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(shell(" --help"), 0);
    EXPECT_EQ(shell(" random '" + path("r.hxa") + "' --seed 2"), 0);
    EXPECT_EQ(shell(" step '" + path("r.hxa") + "' '" + path("s.hxa") + "' -n 3 --seed 2"), 0);
    EXPECT_EQ(shell(" info '" + path("missing.hxa") + "'"), 1);
    EXPECT_EQ(shell(" step"), 2);
    EXPECT_EQ(shell(""), 2);
}

}  // namespace
