// SPDX-License-Identifier: MIT
// Every kaleidomat-cli command that reads a board reads each of the kinds,
// told by the contents: a pattern runs in the middle of its torus or of the
// smallest board that holds it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "cli/cell_files.h"
#include "cli/commands.h"
#include "io/formats.h"
#include "support/gzip_bytes.h"

namespace fs = std::filesystem;

namespace {

using Cells = std::set<std::pair<int, int>>;

std::string gzipped(const std::string& text) {
    const std::vector<uint8_t> bytes = GzipBytes(text);
    return {bytes.begin(), bytes.end()};
}

// A glider with its top-left cell at (x, y).
Cells gliderAt(int x, int y) { return {{x + 1, y}, {x + 2, y + 1}, {x, y + 2}, {x + 1, y + 2}, {x + 2, y + 2}}; }

// The GridMax and live cells of the board file at `path`.
std::pair<int32_t, Cells> gridMaxAndLive(const std::string& path) {
    const engine::Board loaded = cli::LoadBoard(path);
    Cells cells;
    for (int x = 0; x <= loaded.GridMax; ++x)
        for (int y = 0; y <= loaded.GridMax; ++y)
            if (loaded.cell(x, y).State) cells.insert({x, y});
    return {loaded.GridMax, cells};
}

TEST(CliFormats, EveryCommandReadsEveryKindByItsContents) {
    const fs::path dir = fs::temp_directory_path() / ("kaleidomat-cli-formats-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const auto path = [&](const std::string& name) { return (dir / name).string(); };
    engine::Board board;  // a board file, and a pattern file of the same glider
    board.create(29);
    io::CellBlock block{3, 3, std::vector<io::CellEntry>(9)};
    for (auto [x, y] : gliderAt(0, 0)) board.cell(x + 7, y + 2) = {1, 5, 5, 5}, block.at(x, y) = {1, 5, 5, 5};
    const auto boardFile = io::EncodeBoardFile(board), patternFile = io::EncodePatternFile(block);
    // name, contents, the board it runs on and its live cells
    const std::tuple<std::string, std::string, int32_t, Cells> cases[] = {
        {"board-named.rle", std::string(boardFile.begin(), boardFile.end()), 29, gliderAt(7, 2)},
        {"g.hxq", std::string(patternFile.begin(), patternFile.end()), 9, gliderAt(4, 4)}, {"g.rle", "#C glider\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n", 9, gliderAt(4, 4)},
        {"t.rle", "x = 3, y = 3, rule = B3/S23:T20,20\nbo$2bo$3o!\n", 19, gliderAt(9, 9)},
        {"g.cells", "!Name: glider\n.O.\n..O\nOOO\n", 9, gliderAt(4, 4)},
        {"rle.txt", "bo$2bo$3o!", 9, gliderAt(4, 4)}, {"wide.cells", "!\n" + std::string(24, '.') + "O", 29, {{27, 15}}},
        {"g.mc", "[M2]\n$$..*$...*$.***$$$$\n4 0 0 0 1\n", 9, gliderAt(4, 4)},
        {"g.lif", "#Life 1.06\n1 -1\n2 0\n0 1\n1 1\n2 1\n", 9, gliderAt(4, 4)},  // a .lif may hold 1.06
        {"packed", gzipped("#Life 1.05\n.*\n..*\n***\n"), 9, gliderAt(4, 4)},
        {"wide.life", "#Life 1.06\n0 0\n200 0\n", 255, {{28, 128}, {228, 128}}},
    };
    for (const auto& [name, contents, gridMax, live] : cases) {
        SCOPED_TRACE(name);
        const std::string in = path(name);
        std::ofstream(in, std::ios::binary) << contents;
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"step", in, path("s.hxa"), "-n", "0", "--seed", "3"},
              {"convert", in, path("c.hxa"), "--seed", "3"}, {"info", in}, {"render", in, path("r.png"), "--seed", "3"},
              {"animate", in, path("a.webp"), "-n", "2"}, {"stats", in, "-n", "2"}}) {
            std::ostringstream out, err;
            EXPECT_EQ(cli::Run(args, out, err), 0) << args[0] << ": " << err.str();
        }
        for (const char* result : {"s.hxa", "c.hxa"}) {
            EXPECT_EQ(gridMaxAndLive(path(result)), std::pair(gridMax, live)) << result;
        }
    }
    fs::remove_all(dir);
}

// A board over 200 a side is read whole: info tells its side and cells, RLE
// and board files carry every cell, and a pattern file, which the program
// reads only up to 200 a side, is refused rather than written.
TEST(CliFormats, BoardsOverTwoHundredConvertWhole) {
    const fs::path dir = fs::temp_directory_path() / ("kaleidomat-cli-large-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const auto path = [&](const std::string& name) { return (dir / name).string(); };
    engine::Board board;
    board.create(299);
    Cells live = gliderAt(250, 280);
    live.insert({299, 299});
    for (auto [x, y] : live) board.cell(x, y) = {1, 9, 8, 7};
    const std::vector<uint8_t> bytes = io::EncodeBoardFile(board);
    std::ofstream(path("big.hxa"), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                           static_cast<std::streamsize>(bytes.size()));
    const auto run = [](const std::vector<std::string>& args, std::string* said = nullptr) {
        std::ostringstream out, err;
        const int status = cli::Run(args, out, err);
        if (said) *said = out.str() + err.str();
        return status;
    };
    std::string said;
    ASSERT_EQ(run({"info", path("big.hxa")}, &said), 0);
    EXPECT_EQ(said, "board 300 x 300, 6 live cells\n");
    ASSERT_EQ(run({"convert", path("big.hxa"), path("big.rle")}), 0);
    ASSERT_EQ(run({"convert", path("big.rle"), path("back.hxa")}), 0);
    ASSERT_EQ(run({"convert", path("big.hxa"), path("copy.hxa")}), 0);
    for (const char* name : {"back.hxa", "copy.hxa"}) {
        EXPECT_EQ(gridMaxAndLive(path(name)), std::pair(299, live)) << name;
    }
    EXPECT_EQ(io::EncodeBoardFile(cli::LoadBoard(path("copy.hxa"))), bytes);
    std::ofstream(path("wide.rle")) << "x = 201, y = 1, rule = B3/S23\no199bo!\n";
    for (const char* in : {"big.hxa", "wide.rle"}) {
        EXPECT_EQ(run({"convert", path(in), path("p.hxq")}, &said), 1) << in;
        EXPECT_NE(said.find("at most 200 x 200"), std::string::npos) << said;
        EXPECT_FALSE(fs::exists(path("p.hxq"))) << in;
    }
    fs::remove_all(dir);
}

}  // namespace
