// SPDX-License-Identifier: MIT
// kaleidomat-cli: stepping, bad files and exit statuses, boards as a torus in
// RLE (checked against Golly's bgolly where it is installed), the PNG of
// render, the animated WebP of animate, and stats. The commands run
// in-process; one test runs the real binary to check what a shell sees.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <png.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <webp/demux.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "analysis/statistics.h"
#include "cli/cell_files.h"
#include "cli/commands.h"
#include "cli/picture_files.h"
#include "display/board_renderer.h"
#include "engine/rules.h"
#include "io/formats.h"
#include "io/life_text.h"
#include "support/cli_fixture.h"

namespace fs = std::filesystem;

namespace {

class Cli : public CliFixture {
protected:
    void save(const std::string& name, const engine::Board& board) const { cli::SaveBoard(path(name), board); }

    std::string err_;
};

TEST_F(Cli, StepRunsTheEngineFromGenerationOneWithTheSeed) {
    std::string out;
    run({"random", path("a.hxa"), "--size", "60", "--seed", "1"});
    run({"step", path("a.hxa"), path("b.hxa"), "-n", "25", "--seed", "9"}, &out);
    engine::Board expected = cli::LoadBoard(path("a.hxa"));
    engine::RandomSequence random(9);
    for (int i = 0; i < 25; ++i) engine::ReCalc(expected, random);
    const auto bytes = io::EncodeBoardFile(expected);
    EXPECT_EQ(read("b.hxa"), std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(out, "generation 26, population " + std::to_string(expected.countLive()) + "\n");
}

// Bad files exit with status 1 and one line naming the file; nothing is left
// behind, neither an output of a refused input nor a temporary file.
TEST_F(Cli, BadFilesExitOneWithOneLineNamingTheFile) {
    run({"random", path("good.hxa"), "--seed", "1"});
    write("truncated.hxa", read("good.hxa").substr(0, read("good.hxa").size() - 3));
    write("wide.rle", "x = 20, y = 3\n12bo!\n");
    fs::create_directory(path("folder.hxa"));
    auto p = [&](const char* name) { return path(name); };
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"info", p("missing.hxa")}, p("missing.hxa") + ": cannot open: No such file or directory"},
        {{"step", p("truncated.hxa"), p("out.hxa")}, p("truncated.hxa") + ": the file ends inside a cell record"},
        {{"convert", p("wide.rle"), p("out.hxa"), "--size", "12"},
         p("wide.rle") + ": live cell (12, 0) lies outside a 12 x 12 board"},
        {{"convert", p("good.hxa"), p("folder.hxa")}, p("folder.hxa") + ": cannot write: Is a directory"},
        {{"info", "--", "-missing.hxa"}, "-missing.hxa: cannot open: No such file or directory"},  // "--" ends the options
    };
    for (const auto& [args, message] : cases) {
        std::string err;
        EXPECT_EQ(run(args, nullptr, &err), 1) << args[1];
        EXPECT_EQ(err, "kaleidomat-cli: " + message + "\n");
    }
    EXPECT_FALSE(fs::exists(path("out.hxa")));
    for (const auto& entry : fs::directory_iterator(dir_))
        EXPECT_NE(entry.path().filename().string().rfind(".kaleidomat-", 0), 0u) << entry.path();  // a temporary
}

TEST_F(Cli, TheBinaryExitsWithTheseStatuses) {
    auto shell = [](const std::string& arguments) {
        const int status = std::system((std::string(KALEIDOMAT_CLI_BINARY) + arguments + " >/dev/null 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(shell(" random '" + path("r.hxa") + "' --seed 2"), 0);
    EXPECT_EQ(shell(" info '" + path("missing.hxa") + "'"), 1);
    EXPECT_EQ(shell(" step"), 2);
}

// A write that meets a file-size limit (prlimit) fails like one to a full
// disk; TERM, INT or HUP during a write end the program by that signal. Either
// way the old file stays and no temporary is left. Each signal comes while
// the temporary is there: the first fsync waits on a FIFO that is opened only
// afterwards (support/slow_fsync.cpp).
TEST_F(Cli, SizeLimitsAndSignalsLeaveTheOldFileAndNoTemporary) {
    const std::string k = path("k.hxa");
    run({"random", k, "--size", "200", "--seed", "3"});
    const std::string old = read("k.hxa");
    auto temporaries = [&] {
        return std::count_if(fs::directory_iterator(dir_), {}, [](const auto& entry) {
            return entry.path().filename().string().rfind(".kaleidomat-", 0) == 0;
        });
    };
    FILE* p = ::popen(("prlimit --fsize=2048 " KALEIDOMAT_CLI_BINARY " random " + k + " --seed 4 2>&1").c_str(), "r");
    std::string said(200, '\0');
    said.resize(std::fread(said.data(), 1, said.size(), p));
    const int status = ::pclose(p);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(said, "kaleidomat-cli: " + k + ": cannot write: File too large\n");
    EXPECT_EQ(read("k.hxa"), old);
    EXPECT_EQ(temporaries(), 0);

    const std::string gate = path("gate");
    ASSERT_EQ(::mkfifo(gate.c_str(), 0600), 0);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const pid_t child = ::fork();
        if (child == 0) {
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            for (const int s : {SIGTERM, SIGINT, SIGHUP}) ::signal(s, SIG_DFL);
            ::setenv("LD_PRELOAD", SLOW_FSYNC_LIBRARY, 1);
            ::setenv("KALEIDOMAT_TEST_FSYNC_GATE", gate.c_str(), 1);
            ::setenv("ASAN_OPTIONS", "verify_asan_link_order=0", 1);
            ::execl(KALEIDOMAT_CLI_BINARY, "kaleidomat-cli", "random", k.c_str(), "--seed", "5", nullptr);
            ::_exit(127);
        }
        bool writing = false;
        for (int wait = 0; wait < 3000 && !(writing = temporaries() > 0); ++wait) ::usleep(10000);
        if (writing)
            ::kill(child, signal);
        else
            ::close(::open(gate.c_str(), O_WRONLY | O_NONBLOCK));  // lets it go, so that the test ends
        int ended = 0;
        ASSERT_EQ(::waitpid(child, &ended, 0), child);
        EXPECT_TRUE(writing) << "no temporary within 30 s";
        EXPECT_TRUE(WIFSIGNALED(ended) && WTERMSIG(ended) == signal) << signal << ": " << ended;
        EXPECT_EQ(temporaries(), 0) << signal;
        EXPECT_EQ(read("k.hxa"), old) << signal;
    }
}

// Outputs named for another format, or that are an input under another name,
// are wrong command lines. step rewrites its input, through a symbolic link
// too, which stays; a link planted at the temporary name writers once used is
// not followed. FIFOs are refused at once (the binary runs under a time
// limit); "-" is standard output, and output lost there is a failure.
TEST_F(Cli, OutputsGoOnlyWhereTheyBelong) {
    run({"random", path("k.hxa"), "--seed", "3"});
    fs::create_symlink("k.hxa", path("link.hxa"));
    fs::create_symlink("victim", path("link.hxa.kaleidomat-tmp"));
    ASSERT_EQ(::mkfifo(path("p.hxa").c_str(), 0600) | ::mkfifo(path("p.rle").c_str(), 0600), 0);
    const std::string k = path("k.hxa");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"render", k, k}, {"render", k, path("k.jpg")}, {"step", k, path("k")}, {"stats", k, "-n", "1", "--svg", "-"},
             {"convert", k, k}, {"convert", k, path("link.hxa")}})
        EXPECT_EQ(run(args, nullptr, &err_), 2) << args[2];
    EXPECT_EQ(run({"step", k, path("link.hxa")}), 0);
    EXPECT_TRUE(fs::is_symlink(path("link.hxa")) && !fs::exists(path("victim")));
    auto shell = [&](const std::string& arguments) {
        FILE* p = ::popen(("cd " + dir_.string() + " && timeout 20 " KALEIDOMAT_CLI_BINARY + arguments).c_str(), "r");
        std::string out(64, '\0');
        out.resize(std::fread(out.data(), 1, out.size(), p));
        return std::pair(WEXITSTATUS(::pclose(p)), out);
    };
    EXPECT_EQ(shell(" info p.hxa 2>&1"), std::pair(1, std::string("kaleidomat-cli: p.hxa: is not a regular file\n")));
    EXPECT_EQ(shell(" convert k.hxa p.rle 2>&1").first, 1);
    EXPECT_EQ(shell(" --help 2>&1 >/dev/full").second.substr(0, 47), "kaleidomat-cli: cannot write to standard output");
    EXPECT_EQ(shell(" render k.hxa - | head -c 4").second, "\x89PNG");
}

// A 24 MiB RLE header of tiny items, or one huge item, is refused at its
// length, in memory near the file's size (it took 20 and 4 times that). A
// child starts with its parent's memory: a small header gives the baseline.
TEST_F(Cli, OversizedHeadersAreRefusedInBoundedMemory) {
    constexpr std::size_t kSize = 24u << 20;
    long baseline = 0;
    for (const char* item : {"", ", a=b", "q"}) {
        std::string chunk;
        while (*item && chunk.size() < 65536) chunk += item;
        std::ofstream big(path("big.rle"), std::ios::binary);
        big << "x = 1, y = 1";
        for (std::size_t n = 0; n < kSize; n += 65536) big << chunk;
        big.close();
        const pid_t child = ::fork();
        if (child == 0) ::_exit(::execl(KALEIDOMAT_CLI_BINARY, "cli", "info", path("big.rle").c_str(), nullptr));
        int status = 0;
        rusage usage{};
        ASSERT_EQ(::wait4(child, &status, 0, &usage), child);
        EXPECT_EQ(WEXITSTATUS(status), *item ? 1 : 0) << item;
        if (!*item) baseline = usage.ru_maxrss;
        EXPECT_LT(usage.ru_maxrss, baseline + long{kSize / 1024 * 3 / 2}) << item << ": peak kB";
    }
}

// Wrong command lines exit with status 2, a line that says what is wrong and
// the usage; every value is checked against its range before any file is
// touched. The help names every command and option.
TEST_F(Cli, WrongCommandLinesExitTwoAndTheHelpTellsEveryOption) {
    const std::string a = path("a.hxa"), b = path("b.hxa");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "no command given"},
        {{"bogus", a}, "unknown command 'bogus'"},
        {{"step", a}, "OUT.hxa is required"},
        {{"step", a, b, "c.hxa"}, "step takes 2 files, got 3"},
        {{"step", a, b, "--size", "20"}, "unknown option --size for step"},
        {{"step", a, b, "-n", "-1"}, "-n: needs a whole number from 0 to 2147483646, not '-1'"},
        {{"step", a, b, "--seed=18446744073709551616"},
         "--seed: needs a whole number from 0 to 18446744073709551615, not '18446744073709551616'"},
        {{"random", path("a.rle")}, "'" + path("a.rle") + "' is not a board file name (.hxa)"},
        {{"animate", a, b, "-n", "1", "--picture", "15"}, "--picture: needs a whole number from 16 to 4096, not '15'"},
        {{"stats", a}, "-n is required"},
        {{"convert", path("a.rle"), b, "--color", "12345g"}, "--color: needs six hexadecimal digits RRGGBB, not '12345g'"},
        {{"convert", a, b, "--color", "ff8001"}, "--color applies only to .rle and .cells input; board and pattern files keep their colours"},
        {{"convert", a, path("a.rle"), "--size", "20"}, "--size applies only to a board file (.hxa) as output"},
        {{"convert", a, path("a.txt")}, "cannot tell the format of '" + path("a.txt") + "': use .hxa, .hxq, .rle or .cells"},
    };
    for (const auto& [args, message] : cases) {
        std::string err;
        EXPECT_EQ(run(args, nullptr, &err), 2) << message;
        EXPECT_EQ(err.substr(0, err.find('\n')), "kaleidomat-cli: " + message);
        EXPECT_NE(err.find("\n  kaleidomat-cli stats IN.hxa -n N [--seed S] [--csv OUT.csv] [--svg OUT.svg] [--families] [--as-window]\n"),
                  std::string::npos);
    }
    EXPECT_TRUE(fs::is_empty(dir_));

    std::string help, stepHelp;
    EXPECT_EQ(run({"--help"}, &help), 0);
    EXPECT_EQ(run({"step", "--help"}, &stepHelp), 0);
    for (const char* text : {"step IN.hxa OUT.hxa [-n N] [--seed S]", "--frame-ms MS", "--csv OUT.csv", "COLOURS ARE LOST",
                             "Exit status: 0 done"})
        EXPECT_NE(help.find(text), std::string::npos) << text;
    EXPECT_NE(stepHelp.find("--seed S"), std::string::npos);
    EXPECT_EQ(stepHelp.find("--frame-ms"), std::string::npos);
}

io::LifeGrid gridOf(const engine::Board& b) {
    return io::GridFromBlock(io::BlockFromBoard(b, 0, 0, b.GridMax, b.GridMax));
}

// The live cells of a board, cut to their bounding box, as bgolly writes them.
io::LifeGrid liveBox(const engine::Board& b) {
    int left = b.GridMax, top = b.GridMax, right = 0, bottom = 0;
    for (int x = 0; x <= b.GridMax; ++x)
        for (int y = 0; y <= b.GridMax; ++y)
            if (b.cell(x, y).live()) left = std::min(left, x), top = std::min(top, y), right = std::max(right, x),
                                     bottom = std::max(bottom, y);
    return io::GridFromBlock(io::BlockFromBoard(b, left, top, right, bottom));
}

TEST_F(Cli, BoardsTravelAsTheirTorusPatternsWithout) {
    run({"random", path("a.hxa"), "--size", "30", "--seed", "5"});
    run({"convert", path("a.hxa"), path("a.rle")});
    EXPECT_EQ(read("a.rle").rfind("x = 30, y = 30, rule = B3/S23:T30,30\n", 0), 0u);
    run({"convert", path("a.rle"), path("b.hxa")});
    EXPECT_EQ(gridOf(cli::LoadBoard(path("a.hxa"))), gridOf(cli::LoadBoard(path("b.hxa"))));  // the same size too
    run({"convert", path("a.hxa"), path("a.hxq")});
    run({"convert", path("a.hxq"), path("p.rle")});
    EXPECT_EQ(read("p.rle").rfind("x = 30, y = 30, rule = B3/S23\n", 0), 0u);

    write("t.rle", "#N small torus\nx = 3, y = 3, rule = B3/S23:T48,48\nbo$2bo$3o!\n");
    std::string out, err;
    run({"info", path("t.rle")}, &out);
    EXPECT_EQ(out, "RLE pattern 3 x 3, 5 live cells, on a 48 x 48 torus\n");
    run({"convert", path("t.rle"), path("t.hxa"), "--size", "48"});
    EXPECT_EQ(cli::LoadBoard(path("t.hxa")).GridMax, 47);
    EXPECT_EQ(run({"convert", path("t.rle"), path("u.hxa"), "--size", "50"}, &out, &err), 1);
    EXPECT_EQ(err, "kaleidomat-cli: " + path("t.rle") + ": its rule asks for a 48 x 48 torus, not --size 50\n");
    EXPECT_FALSE(fs::exists(path("u.hxa")));

    // RLE to RLE (also on standard output) keeps the name, author and comment lines.
    write("n.rle", "#N Glider\r\n#O Richard K. Guy\n#C A comment\n#r B3/S23\nx = 3, y = 3\nbo$2bo$3o!\n#N after\n");
    run({"convert", path("n.rle"), "-"}, &out);
    EXPECT_EQ(out, "#N Glider\n#O Richard K. Guy\n#C A comment\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n");
}

// Golly, given the exported RLE, runs the same world as our step.
TEST_F(Cli, GollyRunsTheExportedBoardAsWeDo) {
    if (std::system("command -v bgolly >/dev/null 2>&1") != 0) GTEST_SKIP() << "bgolly (Debian package golly) missing";
    for (const auto& [size, seed] : {std::pair{"20", "1"}, {"37", "2"}, {"64", "3"}}) {
        run({"random", path("a.hxa"), "--size", size, "--seed", seed});
        run({"convert", path("a.hxa"), path("a.rle")});
        run({"step", path("a.hxa"), path("b.hxa"), "-n", "300", "--seed", seed});
        const std::string bgolly = "bgolly -q -q -m 300 -i 1 -o '" + path("g.rle") + "' '" + path("a.rle") + "' >/dev/null";
        ASSERT_EQ(std::system(bgolly.c_str()), 0);
        const auto theirs = io::ParseRle(read("g.rle"));
        ASSERT_EQ(theirs.index(), 0u) << read("g.rle");
        io::LifeGrid expected = liveBox(cli::LoadBoard(path("b.hxa")));
        expected.torusSide = std::stoi(size);
        EXPECT_EQ(std::get<io::LifeGrid>(theirs), expected) << size;
    }
}

// Live cells on an empty board as it is loaded, each of a colour of its own.
engine::Board boardWith(int32_t gridMax, const std::vector<std::pair<int, int>>& cells) {
    engine::Board b;
    b.create(gridMax);
    for (auto [x, y] : cells) b.cell(x, y) = {1, 40 * x + 10, 30 * y + 5, 200};
    b.Generation = 1;
    return b;
}

engine::Board glider(int32_t gridMax) { return boardWith(gridMax, {{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}); }

display::PixelImage rendered(const engine::Board& b, int size = 480, display::CellLook look = {}) {
    display::PixelImage image;
    image.resize(size, size);
    display::RenderBoard(b, image, display::BevelColors{}, look);
    return image;
}

// RGB or RGBA bytes against 0xFFRRGGBB pixels.
bool samePixels(const uint8_t* bytes, int channels, const display::PixelImage& image) {
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const uint32_t p = image.pixels[i];
        const uint8_t* q = bytes + i * channels;
        if (q[0] != uint8_t(p >> 16) || q[1] != uint8_t(p >> 8) || q[2] != uint8_t(p)) return false;
    }
    return true;
}

TEST_F(Cli, RenderWritesACompressedPngOfTheRenderersPixels) {
    const engine::Board b = glider(19);
    save("g.hxa", b);
    run({"render", path("g.hxa"), path("g.png")});
    const std::string png = read("g.png");
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size())) << image.message;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) << image.message;
    ASSERT_EQ(std::pair(image.width, image.height), std::pair(480u, 480u));
    EXPECT_TRUE(samePixels(rgb.data(), 3, rendered(b)));
    EXPECT_LT(png.size(), rgb.size() / 20);  // compressed, not stored
    // Another size, flat cells: the same encoder's file of that picture.
    run({"render", path("g.hxa"), path("f.png"), "--flat", "--picture", "333"});
    const std::vector<uint8_t> flat = cli::EncodePng(rendered(b, 333, display::CellLook::Flat));
    EXPECT_EQ(read("f.png"), std::string(flat.begin(), flat.end()));
}

TEST_F(Cli, AnimateWritesEveryKthGenerationAndTheLastAsExactFrames) {
    engine::Board b = glider(24);
    save("g.hxa", b);
    run({"animate", path("g.hxa"), path("g.webp"), "-n", "7", "--every", "3", "--frame-ms", "40", "--seed", "9"});
    const std::string webp = read("g.webp");
    WebPAnimDecoderOptions options;
    ASSERT_TRUE(WebPAnimDecoderOptionsInit(&options));
    options.color_mode = MODE_RGBA;
    const WebPData data{reinterpret_cast<const uint8_t*>(webp.data()), webp.size()};
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    ASSERT_NE(decoder, nullptr);
    WebPAnimInfo info;
    ASSERT_TRUE(WebPAnimDecoderGetInfo(decoder, &info));
    EXPECT_EQ(info.frame_count, 4u);  // generations 0, 3, 6 and 7
    EXPECT_EQ(std::pair(info.canvas_width, info.canvas_height), std::pair(480u, 480u));
    engine::RandomSequence random(9);
    const int wanted[] = {0, 3, 6, 7};
    int made = 0;
    for (int frame = 0; WebPAnimDecoderHasMoreFrames(decoder); ++frame) {
        uint8_t* rgba = nullptr;
        int timestamp = 0;
        ASSERT_TRUE(WebPAnimDecoderGetNext(decoder, &rgba, &timestamp));
        EXPECT_EQ(timestamp, 40 * (frame + 1));
        for (; made < wanted[frame]; ++made) engine::ReCalc(b, random);
        EXPECT_TRUE(samePixels(rgba, 4, rendered(b))) << "frame " << frame;
    }
    WebPAnimDecoderDelete(decoder);
}

TEST_F(Cli, StatsOfABlinkerAndAGlider) {
    save("blinker.hxa", boardWith(19, {{1, 6}, {2, 6}, {3, 6}}));
    save("glider.hxa", glider(19));
    std::string out;
    run({"stats", path("blinker.hxa"), "-n", "4", "--seed", "1", "--csv", path("b.csv"), "--svg", path("b.svg")}, &out);
    EXPECT_EQ(out, "");
    // The two newborn ends share one mixed colour beside the centre's own.
    EXPECT_EQ(read("b.csv"),
              "generation,population,births,deaths,colours,top_colour_share\n"
              "1,3,0,0,3,0.3333\n2,3,2,2,2,0.6667\n3,3,2,2,2,0.6667\n4,3,2,2,2,0.6667\n5,3,2,2,2,0.6667\n");
    // The generation axis starts at a tick at 0; every label ends inside the
    // 640 units' width (at 7 units a character); the families have a legend.
    const std::string svg = read("b.svg");
    EXPECT_NE(svg.find("<polyline"), std::string::npos);
    EXPECT_NE(svg.find("text-anchor=\"middle\">0</text>"), std::string::npos);
    for (std::size_t at = svg.find("<text x=\""); at != std::string::npos; at = svg.find("<text x=\"", at + 1)) {
        const std::size_t open = svg.find('>', at), close = svg.find("</text>", at);
        const std::string tag = svg.substr(at, open - at), label = svg.substr(open + 1, close - open - 1);
        const double right = std::stod(svg.substr(at + 9)) +
                             (tag.find("\"end\"") != std::string::npos ? 0 : tag.find("\"middle\"") != std::string::npos ? 3.5 : 7) *
                                 static_cast<double>(label.size());
        EXPECT_LE(right, 640) << label;
    }
    EXPECT_NE(svg.find(">chartreuse</text>"), std::string::npos);
    run({"stats", path("glider.hxa"), "-n", "100", "--seed", "1"}, &out);
    EXPECT_EQ(out, "generations 1 to 101: population 5 to 5 (least 5, most 5), 200 births, 200 deaths, colours 5 to 1, "
                   "most common colour 100.0 % at the end\n");
}

// The lineage tables of a seeded run with stimulation: their headers, every
// ancestor and parent present, the Muller table's populations adding up to
// the board's population in every generation, its last generation holding
// every taxon; the same seed gives the same bytes.
TEST_F(Cli, LineageTablesDescribeOneTreePerChannel) {
    run({"random", path("r.hxa"), "--size", "20", "--seed", "4"});
    const std::vector<std::string> args = {"lineage", path("r.hxa"), "-n", "1000", "--seed", "2", "--as-window",
                                           "--channel", "green", "-o", path("run")};
    run(args);
    const std::string phylogeny = read("run.phylogeny.csv"), muller = read("run.muller.csv");
    auto rows = [](const std::string& text) {  // the fields of every line after the header
        std::vector<std::vector<std::string>> rows;
        std::istringstream in(text.substr(text.find('\n') + 1));
        for (std::string line; std::getline(in, line);) {
            std::istringstream fields(line + ',');
            rows.emplace_back();
            for (std::string field; std::getline(fields, field, ',');) rows.back().push_back(field);
        }
        return rows;
    };
    EXPECT_EQ(phylogeny.rfind("id,ancestor_list,origin_time,destruction_time,channel,value,kind,founder,generation,x,y\n", 0), 0u);
    EXPECT_EQ(muller.rfind("Identity,Parent,Generation,Population\n", 0), 0u);
    for (const char* kind : {",start,", ",stimulation,", ",mutation,"}) EXPECT_NE(phylogeny.find(kind), std::string::npos);
    std::map<std::string, std::string> parent{{"0", ""}};  // of every green taxon, and the root
    for (const auto& taxon : rows(phylogeny))
        if (taxon.at(4) == "green") parent[taxon[0]] = taxon[1] == "[NONE]" ? "0" : taxon[1].substr(1, taxon[1].size() - 2);
    EXPECT_EQ(parent.size() * 3, rows(phylogeny).size() + 3);  // three channels alike, ids unique
    for (const auto& [id, up] : parent) EXPECT_TRUE(up.empty() || parent.count(up)) << id;

    engine::RandomSequence random(2);  // the run again, for the population of every generation
    engine::Board board = cli::LoadBoard(path("r.hxa"));
    board.Generation = 0;
    const auto stats = analysis::RunStatistics(board, 1000, random, true);
    std::vector<int64_t> population(1001);
    std::set<std::string> last;
    for (const auto& row : rows(muller)) {
        EXPECT_EQ(row.at(1), parent.at(row[0])) << row[0];
        population.at(std::stoul(row[2])) += std::stoll(row[3]);
        if (row[2] == "1000") last.insert(row[0]);
    }
    for (std::size_t g = 0; g < population.size(); ++g) EXPECT_EQ(population[g], stats[g].population) << g;
    EXPECT_EQ(last.size(), parent.size());
    run(args);
    EXPECT_EQ(read("run.phylogeny.csv") + read("run.muller.csv"), phylogeny + muller);
}

}  // namespace
