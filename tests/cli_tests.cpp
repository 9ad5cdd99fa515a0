// kaleidomat-cli: conversions through every format, stepping and its exit
// statuses (pictures and statistics: cli_media_tests.cpp). Most tests run the
// commands in-process; one runs the real binary to check what a shell sees.

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



std::string str(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

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

TEST_F(Cli, StepRunsTheEngineFromGenerationOneWithTheSeed) {
    ok({"random", path("a.hxa"), "--size", "60", "--seed", "1"});
    const std::string out = ok({"step", path("a.hxa"), path("b.hxa"), "-n", "25", "--seed", "9"});
    engine::Board expected = board("a.hxa");
    engine::RandomSequence random(9);
    for (int i = 0; i < 25; ++i) engine::ReCalc(expected, random);
    EXPECT_EQ(read("b.hxa"), str(io::EncodeBoardFile(expected)));
    EXPECT_EQ(out, "generation 26, population " + std::to_string(expected.countLive()) + "\n");
}

// Bad files exit with status 1 and one line naming the file; nothing is left
// behind, neither an output of a refused input nor a temporary file.
TEST_F(Cli, BadFilesExitOneWithOneLineNamingTheFile) {
    ok({"random", path("good.hxa"), "--seed", "1"});
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
    };
    for (const auto& [args, message] : cases) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 1) << args[1];
        EXPECT_EQ(r.err, "kaleidomat-cli: " + message + "\n");
    }
    EXPECT_FALSE(fs::exists(path("out.hxa")));
    for (const auto& entry : fs::directory_iterator(dir_))
        EXPECT_EQ(entry.path().string().find(".kaleidomat-tmp"), std::string::npos) << entry.path();
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

}  // namespace
