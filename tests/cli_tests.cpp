// kaleidomat-cli: conversions through every format, stepping, and its exit
// statuses. Most tests run the commands in-process; a few run the real
// binary to check what a shell sees.

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

namespace {

using Bytes = std::vector<uint8_t>;

struct Result {
    int status;
    std::string out;
    std::string err;
};

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("kaleidomat-cli-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    Result run(std::vector<std::string> args) {
        std::ostringstream out, err;
        const int status = cli::Run(args, out, err);
        return {status, out.str(), err.str()};
    }

    // Runs a command that must succeed.
    std::string ok(std::vector<std::string> args) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        return r.out;
    }

    Bytes read(const std::string& name) {
        std::ifstream in(path(name), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    std::string readText(const std::string& name) {
        const Bytes b = read(name);
        return std::string(b.begin(), b.end());
    }
    void write(const std::string& name, const std::string& text) { std::ofstream(path(name), std::ios::binary) << text; }
    void write(const std::string& name, const Bytes& bytes) {
        std::ofstream(path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }

    engine::Board board(const std::string& name) { return cli::LoadBoard(path(name)); }

    fs::path dir_;
};

std::set<std::pair<int, int>> liveCells(const engine::Board& b) {
    std::set<std::pair<int, int>> cells;
    for (int x = 0; x <= b.GridMax; ++x)
        for (int y = 0; y <= b.GridMax; ++y)
            if (b.cell(x, y).live()) cells.insert({x, y});
    return cells;
}

const char* kGliderRle = "#N Glider\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n";

// ---- conversions ------------------------------------------------------------------

TEST_F(Cli, BoardAndPatternFilesConvertBackAndForthWithoutLoss) {
    ok({"random", path("a.hxa"), "--size", "70", "--seed", "4"});
    ok({"convert", path("a.hxa"), path("a.hxq")});
    ok({"convert", path("a.hxq"), path("b.hxa")});
    EXPECT_EQ(read("a.hxa"), read("b.hxa"));  // same size by default, same cells, same colours
    EXPECT_EQ(ok({"info", path("a.hxq")}).rfind("pattern 70 x 70, ", 0), 0u);
}

TEST_F(Cli, LiveCellsSurviveEveryTextFormat) {
    ok({"random", path("a.hxa"), "--size", "100", "--seed", "8"});
    const auto original = liveCells(board("a.hxa"));
    // Through RLE, plaintext and back, with one colour on the way in.
    ok({"convert", path("a.hxa"), path("a.rle")});
    ok({"convert", path("a.rle"), path("a.cells")});
    ok({"convert", path("a.cells"), path("b.hxq"), "--color", "102030"});
    ok({"convert", path("b.hxq"), path("b.hxa")});
    const engine::Board b = board("b.hxa");
    EXPECT_EQ(b.GridMax, 99);
    EXPECT_EQ(liveCells(b), original);
    for (const auto& [x, y] : original) EXPECT_EQ(b.cell(x, y), (engine::CellRecord{1, 0x10, 0x20, 0x30}));
    // And the text written is the same text read back.
    ok({"convert", path("b.hxa"), path("b.rle")});
    EXPECT_EQ(readText("a.rle"), readText("b.rle"));
}

TEST_F(Cli, APatternIsPlacedAtTheOriginOfTheSmallestBoardThatHoldsIt) {
    write("g.rle", std::string("x = 13, y = 23\n2bo$3bo$b3o20$12bo!\n"));
    ok({"convert", path("g.rle"), path("g.hxa"), "--color", "#FF8001"});
    const engine::Board g = board("g.hxa");
    EXPECT_EQ(g.GridMax, 29);  // 23 rows need 30 x 30
    EXPECT_EQ(liveCells(g), (std::set<std::pair<int, int>>{{2, 0}, {3, 1}, {1, 2}, {2, 2}, {3, 2}, {12, 22}}));
    EXPECT_EQ(g.cell(2, 0), (engine::CellRecord{1, 255, 128, 1}));

    ok({"convert", path("g.rle"), path("big.hxa"), "--size", "200", "--color", "ffffff"});
    EXPECT_EQ(board("big.hxa").GridMax, 199);

    write("e.rle", std::string("x = 0, y = 0\n!\n"));
    ok({"convert", path("e.rle"), path("e.hxa")});
    EXPECT_EQ(board("e.hxa").GridMax, 9);
    ok({"convert", path("e.rle"), path("e.hxq")});
    EXPECT_EQ(ok({"info", path("e.hxq")}), "pattern 1 x 1, 0 live cells\n");
}

TEST_F(Cli, ABoardTooSmallForTheLiveCellsIsRefused) {
    write("g.rle", std::string("x = 20, y = 3\n12bo!\n"));
    const Result r = run({"convert", path("g.rle"), path("g.hxa"), "--size", "12"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kaleidomat-cli: " + path("g.rle") + ": live cell (12, 0) lies outside a 12 x 12 board\n");
    EXPECT_FALSE(fs::exists(path("g.hxa")));
    ok({"convert", path("g.rle"), path("g.hxa"), "--size", "13"});  // dead cells may fall off
}

TEST_F(Cli, ImportedCellsTakeOneRandomColourDrawnFromTheSeed) {
    write("g.rle", std::string(kGliderRle));
    ok({"convert", path("g.rle"), path("a.hxa"), "--seed", "77"});
    ok({"convert", path("g.rle"), path("b.hxa"), "--seed", "77"});
    EXPECT_EQ(read("a.hxa"), read("b.hxa"));

    engine::RandomSequence random(77);
    engine::CellRecord expected{1, 0, 0, 0};
    engine::RandomColor(random, expected);
    const engine::Board a = board("a.hxa");
    for (const auto& [x, y] : liveCells(a)) EXPECT_EQ(a.cell(x, y), expected);
}

TEST_F(Cli, PlaintextIsWrittenWithItsName) {
    write("g.rle", std::string(kGliderRle));
    ok({"convert", path("g.rle"), path("glider.cells")});
    EXPECT_EQ(readText("glider.cells"), "!Name: glider\n.O.\n..O\nOOO\n");
    ok({"convert", path("glider.cells"), path("G.RLE")});  // extensions in any case
    EXPECT_EQ(readText("G.RLE"), "x = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n");
}

TEST_F(Cli, InfoNamesKindSizeAndLiveCells) {
    write("g.rle", std::string(kGliderRle));
    ok({"convert", path("g.rle"), path("g.hxa"), "--color", "010203"});
    ok({"convert", path("g.rle"), path("g.hxq"), "--color", "010203"});
    ok({"convert", path("g.rle"), path("g.cells")});
    EXPECT_EQ(ok({"info", path("g.hxa")}), "board 10 x 10, 5 live cells\n");
    EXPECT_EQ(ok({"info", path("g.hxq")}), "pattern 3 x 3, 5 live cells\n");
    EXPECT_EQ(ok({"info", path("g.rle")}), "RLE pattern 3 x 3, 5 live cells\n");
    EXPECT_EQ(ok({"info", path("g.cells")}), "plaintext pattern 3 x 3, 5 live cells\n");
    // Board and pattern files are known by their contents, whatever their name.
    fs::copy_file(path("g.hxq"), path("pattern.dat"));
    EXPECT_EQ(ok({"info", path("pattern.dat")}), "pattern 3 x 3, 5 live cells\n");
}

// ---- step ---------------------------------------------------------------------------

TEST_F(Cli, StepRunsTheEngineFromGenerationOneWithTheSeed) {
    ok({"random", path("a.hxa"), "--size", "60", "--seed", "1"});
    const std::string out = ok({"step", path("a.hxa"), path("b.hxa"), "-n", "25", "--seed", "9"});

    engine::Board expected = board("a.hxa");
    engine::RandomSequence random(9);
    for (int i = 0; i < 25; ++i) engine::ReCalc(expected, random);
    EXPECT_EQ(read("b.hxa"), io::EncodeBoardFile(expected));
    EXPECT_EQ(out, "generation 26, population " + std::to_string(expected.countLive()) + "\n");

    ok({"step", path("a.hxa"), path("c.hxa"), "-n", "25", "--seed", "9"});
    EXPECT_EQ(read("b.hxa"), read("c.hxa"));
}

TEST_F(Cli, StepDefaultsToOneGenerationAndZeroOnlyRewrites) {
    write("blinker.rle", std::string("x = 3, y = 1\n3o!\n"));
    ok({"convert", path("blinker.rle"), path("b.hxa"), "--color", "0a0b0c"});
    EXPECT_EQ(ok({"step", path("b.hxa"), path("same.hxa"), "-n", "0"}), "generation 1, population 3\n");
    EXPECT_EQ(read("b.hxa"), read("same.hxa"));
    EXPECT_EQ(ok({"step", path("b.hxa"), path("b.hxa"), "--seed=3"}), "generation 2, population 3\n");  // in place
    EXPECT_EQ(liveCells(board("b.hxa")), (std::set<std::pair<int, int>>{{1, 9}, {1, 0}, {1, 1}}));  // wrapped around
}

// ---- failures and usage ---------------------------------------------------------------

TEST_F(Cli, BadFilesExitOneWithOneLineNamingTheFile) {
    ok({"random", path("good.hxa"), "--seed", "1"});
    ok({"convert", path("good.hxa"), path("good.hxq")});
    Bytes truncated = read("good.hxa");
    truncated.resize(truncated.size() - 3);
    write("truncated.hxa", truncated);
    write("huge.hxq", std::string("Chromatessellator PatternData\xFF\xFF\xFF\xFF", 33));
    write("text.hxa", std::string("hello"));
    write("rule.rle", std::string("x = 1, y = 1, rule = B36/S23\no!"));
    write("bad.cells", std::string("..X\n"));
    write("huge.rle", std::string("x = 500, y = 500\no!"));
    fs::create_directory(path("folder.hxa"));

    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"info", path("missing.hxa")}, path("missing.hxa") + ": cannot open: No such file or directory"},
        {{"step", path("truncated.hxa"), path("out.hxa")}, path("truncated.hxa") + ": the file ends inside a cell record"},
        {{"step", path("good.hxq"), path("out.hxa")}, path("good.hxq") + ": is a pattern file, not a board file"},
        {{"convert", path("good.hxa"), path("out.hxa")}, ""},  // a control: this one works
        {{"convert", path("huge.hxq"), path("out.hxa")}, path("huge.hxq") + ": width or height outside 1 .. 200"},
        {{"convert", path("text.hxa"), path("out.hxq")}, path("text.hxa") + ": not Kaleidomat data (wrong signature)"},
        {{"convert", path("rule.rle"), path("out.hxa")},
         path("rule.rle") + ": line 1: rule 'B36/S23' is not Conway's Life (B3/S23)"},
        {{"convert", path("bad.cells"), path("out.hxa")}, path("bad.cells") + ": line 1: unexpected 'X'"},
        {{"convert", path("huge.rle"), path("out.hxa")}, path("huge.rle") + ": line 1: pattern larger than 200 x 200 cells"},
        {{"info", path("folder.hxa")}, path("folder.hxa") + ": is a directory"},
        {{"info", path("text.hxa")}, path("text.hxa") + ": not Kaleidomat data (wrong signature)"},
        {{"convert", path("good.hxa"), path("nowhere/out.hxq")},
         path("nowhere/out.hxq") + ": cannot write: No such file or directory"},
        {{"convert", path("good.hxa"), path("folder.hxa")}, path("folder.hxa") + ": cannot write: Is a directory"},
    };
    for (const auto& [args, message] : cases) {
        const Result r = run(args);
        if (message.empty()) {
            EXPECT_EQ(r.status, 0) << r.err;
            continue;
        }
        EXPECT_EQ(r.status, 1) << args[1];
        EXPECT_EQ(r.err, "kaleidomat-cli: " + message + "\n");
        EXPECT_EQ(r.out, "");
    }
    // A refused input or failed write leaves nothing behind.
    for (const auto& entry : fs::directory_iterator(dir_))
        EXPECT_EQ(entry.path().string().find(".kaleidomat-tmp"), std::string::npos) << entry.path();
}

TEST_F(Cli, UsageErrorsExitTwoWithTheUsage) {
    ok({"random", path("a.hxa"), "--seed", "1"});
    write("g.rle", std::string(kGliderRle));
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"step", path("a.hxa")},
        {"step", path("a.hxa"), path("b.hxa"), path("c.hxa")},
        {"step", path("a.hxa"), path("b.hxa"), "-n"},
        {"step", path("a.hxa"), path("b.hxa"), "-n", "-1"},
        {"step", path("a.hxa"), path("b.hxa"), "-n", "2147483647"},
        {"step", path("a.hxa"), path("b.hxa"), "-n", "12x"},
        {"step", path("a.hxa"), path("b.hxa"), "--seed", "-5"},
        {"step", path("a.hxa"), path("b.hxa"), "--speed", "5"},
        {"step", path("a.hxa"), path("b.rle")},
        {"info"},
        {"convert", path("a.hxa"), path("b.txt")},
        {"convert", path("a.txt"), path("b.hxa")},
        {"convert", path("g.rle"), path("b.hxa"), "--size", "9"},
        {"convert", path("g.rle"), path("b.hxa"), "--size", "201"},
        {"convert", path("g.rle"), path("b.hxq"), "--size", "20"},
        {"convert", path("g.rle"), path("b.hxa"), "--color", "12345"},
        {"convert", path("g.rle"), path("b.hxa"), "--color", "gg0000"},
        {"convert", path("a.hxa"), path("b.hxq"), "--color", "ff0000"},
        {"random", path("r.hxa"), "--size", "0"},
    };
    for (const auto& args : cases) {
        const Result r = run(args);
        std::string shown;
        for (const auto& a : args) shown += a + " ";
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.err.rfind("kaleidomat-cli: ", 0), 0u) << shown;
        EXPECT_NE(r.err.find("Usage:\n  kaleidomat-cli step"), std::string::npos) << shown;
        EXPECT_FALSE(fs::exists(path("b.hxa")) || fs::exists(path("r.hxa"))) << shown;
    }
}

TEST_F(Cli, HelpDocumentsEveryCommandAndTheLossOfColour) {
    for (const auto& args : {std::vector<std::string>{"--help"}, {"help"}, {"convert", "--help"}}) {
        const std::string help = ok(args);
        for (const char* word : {"step IN.hxa OUT.hxa", "info FILE", "convert IN OUT", "random OUT.hxa", "--seed", "--size",
                                 "--color", "COLOURS ARE", "B3/S23", "Exit status"})
            EXPECT_NE(help.find(word), std::string::npos) << word;
    }
}

// ---- the real binary -------------------------------------------------------------------

int shell(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(Cli, TheBinaryExitsWithTheseStatuses) {
    const std::string bin = KALEIDOMAT_CLI_BINARY;
    EXPECT_EQ(shell(bin + " --help"), 0);
    EXPECT_EQ(shell(bin + " random '" + path("r.hxa") + "' --seed 2"), 0);
    EXPECT_EQ(shell(bin + " step '" + path("r.hxa") + "' '" + path("s.hxa") + "' -n 3 --seed 2"), 0);
    EXPECT_EQ(shell(bin + " info '" + path("missing.hxa") + "'"), 1);
    EXPECT_EQ(shell(bin + " step"), 2);
    EXPECT_EQ(shell(bin), 2);
}

}  // namespace

// ---- render ---------------------------------------------------------------------

namespace {

uint32_t big32(const Bytes& b, std::size_t at) {
    return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}

// Reads back a PNG of stored deflate blocks as written by the renderer:
// checks every chunk's CRC and returns the RGB bytes with the filter bytes.
Bytes storedPngPixels(const Bytes& png, uint32_t& width, uint32_t& height) {
    const Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
    Bytes zlib;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = big32(png, at);
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        uint32_t crc = 0xFFFFFFFFu;
        for (std::size_t i = at + 4; i < at + 8 + length; ++i) {
            crc ^= png[i];
            for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        }
        EXPECT_EQ(~crc, big32(png, at + 8 + length)) << type;
        if (type == "IHDR") width = big32(png, at + 8), height = big32(png, at + 12);
        if (type == "IDAT") zlib.insert(zlib.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        at += 12 + length;
    }
    Bytes raw;
    std::size_t at = 2;
    for (;;) {
        const bool last = zlib[at] & 1;
        const std::size_t n = zlib[at + 1] | (zlib[at + 2] << 8);
        raw.insert(raw.end(), zlib.begin() + at + 5, zlib.begin() + at + 5 + n);
        at += 5 + n;
        if (last) break;
    }
    return raw;
}

}  // namespace

TEST_F(Cli, RenderDrawsTheBoardAsTheWindowDoesIntoAPng) {
    engine::Board b;
    b.create(9);
    b.cell(0, 0) = {1, 255, 0, 0};
    b.cell(9, 9) = {1, 10, 200, 3};
    write("b.hxa", io::EncodeBoardFile(b));
    ok({"render", path("b.hxa"), path("b.png")});
    uint32_t width = 0, height = 0;
    const Bytes raw = storedPngPixels(read("b.png"), width, height);
    ASSERT_EQ(width, 480u);
    ASSERT_EQ(height, 480u);
    ASSERT_EQ(raw.size(), 480u * (1 + 3 * 480));
    auto pixel = [&](int x, int y) {
        const std::size_t at = static_cast<std::size_t>(y) * (1 + 3 * 480) + 1 + 3 * x;
        return std::array<int, 3>{raw[at], raw[at + 1], raw[at + 2]};
    };
    EXPECT_EQ(pixel(24, 24), (std::array<int, 3>{255, 0, 0}));      // inside cell (0, 0)
    EXPECT_EQ(pixel(456, 456), (std::array<int, 3>{10, 200, 3}));    // inside cell (9, 9)
    EXPECT_EQ(pixel(100, 24), (std::array<int, 3>{0, 0, 0}));        // a dead cell
    EXPECT_NE(pixel(0, 24), pixel(24, 24));                          // the rim

    EXPECT_EQ(run({"render", path("missing.hxa"), path("x.png")}).status, 1);
    EXPECT_EQ(run({"render", path("b.hxa")}).status, 2);
}
