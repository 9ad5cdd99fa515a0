// SPDX-License-Identifier: MIT
// Life text patterns (RLE, plaintext) in the window: opened as a new board
// from the open dialog, the command line or a drop, and pasted from the
// clipboard's text.

#include <gtest/gtest.h>

#include <set>

#include "support/controller_fixture.h"
#include "support/gzip_bytes.h"

namespace {

using Cells = std::set<std::pair<int, int>>;

// The live cells; each must have a colour of the random colour rule, and
// they must not all share one.
Cells liveCells(const engine::Board& board) {
    Cells out;
    std::set<std::tuple<int, int, int>> colours;
    for (int x = 0; x <= board.GridMax; ++x)
        for (int y = 0; y <= board.GridMax; ++y)
            if (const engine::CellRecord& c = board.cell(x, y); c.State) {
                EXPECT_TRUE(c.Red >= 1 && c.Green >= 1 && c.Blue >= (c.Red > 128 || c.Green > 128 ? 1 : 128));
                out.insert({x, y}), colours.insert({c.Red, c.Green, c.Blue});
            }
    EXPECT_TRUE(out.size() < 2 || colours.size() > 1);
    return out;
}

std::vector<uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

enum class Way { Dialog, CommandLine, Drop };

// A torus of its own sets the size; otherwise the board keeps its size when
// the pattern fits and grows in steps of ten when it does not. The pattern
// sits in the middle as Golly puts it: its top-left cell at side/2 - extent/2.
// The board has no file name afterwards, so Save asks for one.
TEST(LifePatternFiles, OpenAsANewCentredBoardWithoutAFileName) {
    const std::tuple<Way, std::string, std::string, int32_t, Cells> cases[] = {
        {Way::Dialog, "/p/torus.rle", "x = 3, y = 3, rule = B3/S23:T20,20\nbo$2bo$3o!", 19,
         {{10, 9}, {11, 10}, {9, 11}, {10, 11}, {11, 11}}},
        {Way::CommandLine, "/p/glider.RLE", "#N Glider\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n", 49,
         {{25, 24}, {26, 25}, {24, 26}, {25, 26}, {26, 26}}},
        {Way::Drop, "/p/wide.rle", "x = 61, y = 2, rule = b3s23\n58b3o$o!", 69, {{63, 34}, {64, 34}, {65, 34}, {5, 35}}},
        {Way::Dialog, "/p/beehive.cells", "!Name: Beehive\n.OO.\nO..O\n.OO.\n", 49,
         {{24, 24}, {25, 24}, {23, 25}, {26, 25}, {24, 26}, {25, 26}}},
        {Way::Drop, "/p/notes.txt", "!\n.O\nO.", 49, {{25, 24}, {24, 25}}},  // told by its contents
        // Golly's formats; over 200 cells a board of 256, 512, 1024 or 2048.
        {Way::Drop, "/p/glider.mc", "[M2] (golly 3.3)\n$$..*$...*$.***$$$$\n4 0 0 0 1\n", 49,
         {{25, 24}, {26, 25}, {24, 26}, {25, 26}, {26, 26}}},
        {Way::Dialog, "/p/acorn.lif", "#Life 1.05\n#P -3 -1\n.*\n...*\n**..***\n", 49,
         {{23, 24}, {25, 25}, {22, 26}, {23, 26}, {26, 26}, {27, 26}, {28, 26}}},
        {Way::Drop, "/p/wide.rle.gz", "gzip:x = 300, y = 2, rule = LifeHistory\nA298.C$E!", 511,
         {{106, 255}, {405, 255}, {106, 256}}},
        {Way::Drop, "/p/packed", "gzip:x = 201, y = 1\no!", 255, {{28, 128}}},  // gzip under any name
    };
    for (const auto& [way, path, text, gridMax, live] : cases) {
        SCOPED_TRACE(path);
        ControllerFixture f;
        f.files.files[path] = text.starts_with("gzip:") ? GzipBytes(text.substr(5)) : bytes(text);
        f.start(way == Way::CommandLine ? path : "");
        if (way != Way::CommandLine) f.board().Modified = false;
        if (way == Way::Dialog) f.dialogs.filePaths.push_back(path), f.press(Button::Open);
        if (way == Way::Drop) f.window.events->filesDropped({path});
        EXPECT_TRUE(way != Way::Dialog || f.dialogs.fileDialogs.at(0).request.filters.at(2) ==
                                              (platform::FileFilter{"Life パターン (*.rle *.cells)", {"*.rle", "*.cells"}}));
        EXPECT_TRUE(f.dialogs.messages.empty());
        EXPECT_EQ(std::tuple(f.board().GridMax, f.window.boardScale(), f.board().Population()),
                  std::tuple(gridMax, gridMax + 1, static_cast<int32_t>(live.size())));
        EXPECT_EQ(liveCells(f.board()), live);
        EXPECT_EQ(f.window.caption(), "Chromatessellator  - " + path + " (インポート) -");
        EXPECT_TRUE(f.fileName().empty() && f.board().Modified);  // the board is stored nowhere yet
        f.press(Button::Save);
        EXPECT_FALSE(f.dialogs.fileDialogs.at(way == Way::Dialog ? 1 : 0).open);
        // The import is one step of undo, as any open is: the board before it comes back.
        f.window.events->menuTriggered(platform::Menu::EditUndo);
        EXPECT_EQ(f.board().GridMax, 49);
        EXPECT_EQ(f.window.caption().find("(インポート)"), std::string::npos);
    }
}

// Other rules, other worlds and patterns over 2048 cells are refused with the
// reader's reason; the board, its name and caption stay as they were.
TEST(LifePatternFiles, RefusedPatternLeavesTheBoard) {
    const std::pair<std::string, std::string> cases[] = {
        {"x = 3, y = 3, rule = B36/S23\nbo$2bo$3o!", "rule"}, {"x = 3, y = 3, rule = B3/S23:P20,20\nbo!", "P20,20"},
        {"x = 2049, y = 1\n2049o!", "2048"}, {"bo$2bz!", "'z'"},
    };
    for (const auto& [text, reason] : cases) {
        ControllerFixture f;
        f.files.files["/d/a.hxa"] = boardFile(29, {{1, 1}});
        f.files.files["/p/bad.rle"] = bytes(text);
        f.start("/d/a.hxa");
        const auto before = f.board().Cells;
        f.window.events->filesDropped({"/p/bad.rle"});
        const std::string m = f.dialogs.messages.empty() ? "" : f.dialogs.messages[0].text;
        EXPECT_EQ(m.rfind("Life パターンを読み込めませんでした。\n/p/bad.rle\n", 0), 0u) << m;
        EXPECT_NE(m.find(reason), std::string::npos) << m;
        EXPECT_TRUE(f.board().Cells == before && f.window.caption() == "Chromatessellator  - /d/a.hxa -");
    }
}

// The reader's reasons are told in Japanese, with the line they were found on.
TEST(LifePatternFiles, RefusalReasonsAreJapanese) {
    const std::pair<std::string, std::string> cases[] = {
        {"x = 3, y = 3, rule = B36/S23\nbo!", "1 行目: ルール (rule)「B36/S23」はコンウェイのライフゲーム (B3/S23) ではありません"},
        {"#C a\nx = 3\nbo!", "2 行目: ヘッダー (x = 幅, y = 高さ) が正しくありません"},
        {"x = 3, y = 1\n\n0o!", "3 行目: セルの繰り返し数が正しくありません"},
        {"x = 12, y = 1, rule = B3/S23:T10,10\n12o!", "パターンが 10 × 10 のトーラスに収まりません"},
    };
    for (const auto& [text, reason] : cases) {
        ControllerFixture f;
        f.files.files["/p/bad.rle"] = bytes(text);
        f.start("/p/bad.rle");
        ASSERT_EQ(f.dialogs.messages.size(), 1u) << text;
        EXPECT_EQ(f.dialogs.messages[0].text, std::string(texts::kImportFailed) + "\n/p/bad.rle\n" + reason);
    }
}

// Without a cell block, RLE or plaintext text is laid at the selection as a
// block is (dead cells too, cut to the selection and the board); a cell
// block wins over text; other text leaves 貼り付け disabled.
TEST_F(Started, PasteLaysALifePatternFromTheClipboardText) {
    const std::tuple<std::string, SelectionBox, SelectionBox, Cells> cases[] = {
        {"x = 3, y = 3, rule = B3/S23\nbo$2bo$3o!", {10, 10, 19, 19}, {10, 10, 12, 12},
         {{11, 10}, {12, 11}, {10, 12}, {11, 12}, {12, 12}}},
        {"!Name: glider\n.O.\n..O\nOOO\n", {10, 10, 11, 19}, {10, 10, 11, 12}, {{11, 10}, {10, 12}, {11, 12}}},
        {"bo$2bo$3o!", {48, 48, 48, 48}, {48, 48, 49, 49}, {{49, 48}}},
    };
    for (const auto& [text, box, laid, live] : cases) {
        f.clearBoard();
        f.setLive(box[0], box[1]);  // dead in every pattern: the paste clears it
        f.drag(box[0], box[1], box[2], box[3]);
        f.clipboard.text = text;
        f.window.events->menuAboutToShow(Menu::Edit);
        EXPECT_TRUE(f.window.menuEnabled(platform::Menu::EditPaste) && f.window.buttonEnabled(Button::Paste));
        f.press(Button::Paste);
        EXPECT_EQ(f.box(), laid);
        EXPECT_EQ(liveCells(f.board()), live);
    }
    for (const char* text : {"hello", "!", "...\n..."}) {
        f.clipboard.text = text;
        f.window.events->menuAboutToShow(Menu::Edit);
        EXPECT_FALSE(f.window.menuEnabled(platform::Menu::EditPaste)) << text;
    }
    f.clipboard.cells = bytes({1, 0, 1, 0, 1, 7, 8, 9});
    f.clipboard.text = "3o$3o$3o!";
    f.drag(5, 5, 9, 9);
    f.press(Button::Paste);
    EXPECT_EQ(f.box(), (SelectionBox{5, 5, 5, 5}));
    EXPECT_EQ(f.board().cell(5, 5), engine::CellRecord(1, 7, 8, 9));
}

}  // namespace
