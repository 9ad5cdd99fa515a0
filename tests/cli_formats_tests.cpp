// SPDX-License-Identifier: MIT
// Every kaleidomat-cli command that reads a board reads each of the four
// kinds, told by the contents: a pattern runs in the middle of its torus or
// of the smallest board that holds it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "cli/cell_files.h"
#include "cli/commands.h"
#include "io/formats.h"

namespace fs = std::filesystem;

namespace {

using Cells = std::set<std::pair<int, int>>;

Cells liveCells(const engine::Board& board) {
    Cells out;
    for (int x = 0; x <= board.GridMax; ++x)
        for (int y = 0; y <= board.GridMax; ++y)
            if (board.cell(x, y).State) out.insert({x, y});
    return out;
}

// A glider with its top-left cell at (x, y).
Cells gliderAt(int x, int y) { return {{x + 1, y}, {x + 2, y + 1}, {x, y + 2}, {x + 1, y + 2}, {x + 2, y + 2}}; }

std::string text(const std::vector<uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(CliFormats, EveryCommandReadsEveryKindByItsContents) {
    const fs::path dir = fs::temp_directory_path() / ("kaleidomat-cli-formats-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const auto path = [&](const std::string& name) { return (dir / name).string(); };

    engine::Board board;
    board.create(29);
    io::CellBlock block{3, 3, std::vector<io::CellEntry>(9)};
    for (auto [x, y] : gliderAt(0, 0)) {
        board.cell(x + 7, y + 2) = {1, 10 * x + 1, 10 * y + 1, 99};
        block.at(x, y) = {1, static_cast<uint8_t>(10 * x + 1), static_cast<uint8_t>(10 * y + 1), 99};
    }
    // name, contents, the board it runs on, whether the file's colours are kept
    const std::tuple<std::string, std::string, int32_t, Cells, bool> cases[] = {
        {"g.hxa", text(io::EncodeBoardFile(board)), 29, gliderAt(7, 2), true},
        {"g.hxq", text(io::EncodePatternFile(block)), 9, gliderAt(4, 4), true},
        {"g.rle", "#C glider\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n", 9, gliderAt(4, 4), false},
        {"t.rle", "x = 3, y = 3, rule = B3/S23:T20,20\nbo$2bo$3o!\n", 19, gliderAt(9, 9), false},
        {"g.cells", "!Name: glider\n.O.\n..O\nOOO\n", 9, gliderAt(4, 4), false},
        {"rle.txt", "bo$2bo$3o!", 9, gliderAt(4, 4), false},
        {"wide.cells", "!\n" + std::string(24, '.') + "OO\n", 29, {{26, 15}, {27, 15}}, false},
        {"board-named.rle", text(io::EncodeBoardFile(board)), 29, gliderAt(7, 2), true},
    };
    for (const auto& [name, contents, gridMax, live, ownColours] : cases) {
        SCOPED_TRACE(name);
        std::ofstream(path(name), std::ios::binary) << contents;
        const std::string in = path(name);
        const std::vector<std::vector<std::string>> commands = {
            {"step", in, path("s.hxa"), "-n", "0", "--seed", "3"},
            {"convert", in, path("c.hxa"), "--seed", "3"},
            {"info", in},
            {"render", in, path("r.png"), "--seed", "3"},
            {"animate", in, path("a.webp"), "-n", "2"},
            {"stats", in, "-n", "2"},
        };
        for (const auto& args : commands) {
            std::ostringstream out, err;
            EXPECT_EQ(cli::Run(args, out, err), 0) << args[0] << ": " << err.str();
        }
        for (const char* result : {"s.hxa", "c.hxa"}) {
            const engine::Board loaded = cli::LoadBoard(path(result));
            EXPECT_EQ(loaded.GridMax, gridMax) << result;
            EXPECT_EQ(liveCells(loaded), live) << result;
            if (ownColours) {  // the glider's cell (0, 2), coloured (1, 21, 99)
                const auto [x, y] = *live.begin();
                EXPECT_EQ(loaded.cell(x, y), engine::CellRecord(1, 1, 21, 99)) << result;
            }
        }
        // A text pattern's cells take colours of their own.
        std::set<int32_t> reds;
        for (auto [x, y] : live) reds.insert(cli::LoadBoard(path("s.hxa")).cell(x, y).Red);
        EXPECT_TRUE(ownColours || reds.size() > 1);
    }
    fs::remove_all(dir);
}

}  // namespace
