// SPDX-License-Identifier: MIT
// kaleidomat-cli against awkward files: outputs whose name does not fit their
// format or that are an input under another name, FIFOs that would block, "-"
// for standard output, an output that cannot be written, and inputs built to
// exhaust memory. The binary runs under a time limit where a fault would hang.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <webp/demux.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/commands.h"
#include "cli/picture_files.h"

namespace fs = std::filesystem;

namespace {

class CliFiles : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    int run(const std::vector<std::string>& args, std::string* err = nullptr, std::string* out = nullptr) {
        std::ostringstream o, e;
        const int status = cli::Run(args, o, e);
        if (err) *err = e.str();
        if (out) *out = o.str();
        return status;
    }
    // The binary through the shell, cut off after 20 s (status 124), with
    // what it printed on stdout (through `pipe`, a shell command) and stderr.
    struct Shell {
        int status;
        std::string out, err;
    };
    Shell shell(const std::string& arguments, const std::string& pipe = "") const {
        const std::string errFile = path("stderr.txt");
        const std::string command = "cd '" + dir_.string() + "' && timeout 20 " + KALEIDOMAT_CLI_BINARY + " " +
                                    arguments + " 2>'" + errFile + "'" + pipe;
        Shell result{-1, {}, {}};
        FILE* p = ::popen(command.c_str(), "r");
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) result.out.append(buffer, n);
        const int status = ::pclose(p);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.err = read("stderr.txt");
        fs::remove(errFile);
        return result;
    }

    const fs::path dir_ = fs::temp_directory_path() / ("kaleidomat-cli-files-" + std::to_string(::getpid()) + "-" +
                                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

// An output named for another format, or that is an input (the same name, a
// hard link, a symbolic link), is refused as a wrong command line before
// anything is written; only step rewrites its input, keeping its permissions.
TEST_F(CliFiles, OutputsMustBeNamedForTheirFormatAndNotBeAnInput) {
    ASSERT_EQ(run({"random", path("k.hxa"), "--seed", "3"}), 0);
    ASSERT_EQ(run({"convert", path("k.hxa"), path("k.rle")}), 0);
    fs::create_hard_link(path("k.rle"), path("hard.rle"));
    fs::create_symlink("k.hxa", path("alias.png"));
    const std::string board = read("k.hxa"), rle = read("k.rle");
    const std::string k = path("k.hxa");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"render", k, k}, "'" + k + "' is not a PNG file name (.png)"},
        {{"render", k, path("k.jpg")}, "'" + path("k.jpg") + "' is not a PNG file name (.png)"},
        {{"step", k, path("k.txt")}, "'" + path("k.txt") + "' is not a board file name (.hxa)"},
        {{"random", path("noname")}, "'" + path("noname") + "' is not a board file name (.hxa)"},
        {{"animate", k, path("k.png"), "-n", "1"}, "'" + path("k.png") + "' is not a WebP file name (.webp)"},
        {{"stats", k, "-n", "1", "--csv", k}, "'" + k + "' is not a CSV file name (.csv)"},
        {{"stats", k, "-n", "1", "--svg", "-"}, "'-' is not an SVG file name (.svg)"},
        {{"convert", path("k.rle"), path("k.rle")},
         "'" + path("k.rle") + "' is the input file '" + path("k.rle") + "'; write the output to another file"},
        {{"convert", path("k.rle"), path("hard.rle")},
         "'" + path("hard.rle") + "' is the input file '" + path("k.rle") + "'; write the output to another file"},
        {{"render", k, path("alias.png")},
         "'" + path("alias.png") + "' is the input file '" + k + "'; write the output to another file"},
    };
    for (const auto& [args, message] : cases) {
        std::string err;
        EXPECT_EQ(run(args, &err), cli::kExitUsage) << args[2];
        EXPECT_EQ(err.substr(0, err.find('\n')), "kaleidomat-cli: " + message);
    }
    EXPECT_EQ(read("k.hxa"), board);
    EXPECT_EQ(read("k.rle"), rle);

    ASSERT_EQ(::chmod(k.c_str(), 0600), 0);
    EXPECT_EQ(run({"step", k, k, "-n", "3", "--seed", "1"}), 0);
    EXPECT_NE(read("k.hxa"), board);
    struct stat st {};
    ASSERT_EQ(::stat(k.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

// A FIFO is neither read nor written (either would wait for the other end):
// refused at once. "-" sends single-stream outputs to standard output, a pipe
// here; output lost on a full device is a failure, not a success.
TEST_F(CliFiles, FifosAreRefusedAndStandardOutputIsCheckedToTheEnd) {
    ASSERT_EQ(run({"random", path("k.hxa"), "--seed", "3"}), 0);
    ASSERT_EQ(::mkfifo(path("p.hxa").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(path("p.rle").c_str(), 0600), 0);
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"info p.hxa", "p.hxa: is not a regular file"},
        {"step p.hxa out.hxa", "p.hxa: is not a regular file"},
        {"convert k.hxa p.rle", "p.rle: cannot write: not a regular file"},
        {"info k.hxa >/dev/full", "cannot write to standard output: No space left on device"},
        {"--help >/dev/full", "cannot write to standard output: No space left on device"},
    };
    for (const auto& [arguments, message] : refused) {
        const Shell r = shell(arguments);
        EXPECT_EQ(r.status, 1) << arguments;
        EXPECT_EQ(r.err, "kaleidomat-cli: " + message + "\n") << arguments;
    }
    EXPECT_FALSE(fs::exists(path("out.hxa")));

    const Shell png = shell("render k.hxa -", " | cat");
    EXPECT_EQ(png.status, 0) << png.err;
    EXPECT_EQ(png.out.substr(0, 8), "\x89PNG\r\n\x1a\n");
    const Shell rle = shell("convert k.hxa -", " | cat");
    EXPECT_EQ(rle.out.substr(0, 34), "x = 50, y = 50, rule = B3/S23:T50,");
    const Shell csv = shell("stats k.hxa -n 2 --csv -", " | cat");
    EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')), "generation,population,births,deaths,colours,top_colour_share");
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 4);
    const Shell webp = shell("animate k.hxa - -n 2", " | cat");
    EXPECT_EQ(webp.out.substr(8, 4), "WEBP");
    EXPECT_FALSE(fs::exists(path("-")));
}

// A 24 MiB RLE header, of tiny items or of one huge item, is refused at its
// length: the binary's peak memory stays near the file's size (it used to
// take 20 and 4 times that), and the message quotes nothing of it.
TEST_F(CliFiles, OversizedHeadersAreRefusedInBoundedMemory) {
    constexpr std::size_t kSize = 24u << 20;
    std::string items = "x = 1, y = 1";
    items.reserve(kSize + 8);
    while (items.size() < kSize) items += ", a=b";
    std::ofstream(path("items.rle"), std::ios::binary) << items << "\no!\n";
    std::ofstream(path("item.rle"), std::ios::binary) << "x = 1, y = 1, " << std::string(kSize, 'q') << "\no!\n";
    items = std::string();
    for (const char* name : {"items.rle", "item.rle"}) {
        const std::string file = path(name), errFile = path("stderr.txt");
        const pid_t child = ::fork();
        if (child == 0) {
            ::freopen(errFile.c_str(), "w", stderr);
            ::execl(KALEIDOMAT_CLI_BINARY, KALEIDOMAT_CLI_BINARY, "info", file.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        rusage usage{};
        ASSERT_EQ(::wait4(child, &status, 0, &usage), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << name;
        EXPECT_LT(usage.ru_maxrss, static_cast<long>(kSize / 1024 * 3 / 2 + 8192)) << name << ": peak resident kB";
        EXPECT_EQ(read("stderr.txt"), "kaleidomat-cli: " + file + ": line 1: line longer than 65536 characters\n");
    }
}

// An animation longer than an int of milliseconds (36000 frames of a minute,
// 25 days) keeps every frame's time: the frames' durations add up to it.
TEST_F(CliFiles, AnimationsLongerThanAnIntOfMillisecondsKeepTheirTiming) {
    constexpr int kFrames = 36000, kFrameMs = 60000;
    display::PixelImage frame;
    frame.resize(2, 2);
    cli::WebpAnimation animation(2, 2);
    for (int i = 0; i < kFrames; ++i) animation.add(frame, kFrameMs);  // alike: merged into long frames
    std::ostringstream out;
    animation.finish("-", out);
    const std::string webp = out.str();
    const WebPData data{reinterpret_cast<const uint8_t*>(webp.data()), webp.size()};
    WebPDemuxer* demux = WebPDemux(&data);
    ASSERT_NE(demux, nullptr);
    int64_t total = 0;
    WebPIterator it;
    if (WebPDemuxGetFrame(demux, 1, &it)) {
        do total += it.duration;
        while (WebPDemuxNextFrame(&it));
        WebPDemuxReleaseIterator(&it);
    }
    WebPDemuxDelete(demux);
    EXPECT_EQ(total, int64_t{kFrames} * kFrameMs);
}

}  // namespace
