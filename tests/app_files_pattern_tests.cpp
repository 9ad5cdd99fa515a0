// Pattern files through Form1: registering the selection as a file and a menu
// item, and stamping a pattern file's cells onto the board.

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/texts.h"
#include "io/formats.h"
#include "support/form_fixture.h"

using platform::MessageIcon;
using Bytes = std::vector<uint8_t>;

namespace {

const Bytes kOneCell = io::EncodePatternFile(io::CellBlock{1, 1, {{1, 1, 1, 1}}});

struct PatternFiles : ::testing::Test {
    FormFixture f;
    std::vector<std::string>& items() { return f.window.patternItems; }

    int indexOf(const std::string& caption) {
        auto it = std::find(items().begin(), items().end(), caption);
        return it == items().end() ? -1 : static_cast<int>(it - items().begin());
    }
    void registerAs(const std::string& path) {
        f.dialogs.filePaths.push_back(path);
        f.form->CreatePatternFile();
    }
    void choose(const std::string& caption) {
        const int index = indexOf(caption);
        ASSERT_GE(index, 0) << caption;
        f.form->ReadPatternFile(std::to_string(index));
    }
};

TEST_F(PatternFiles, RegistrationWritesTheSelectionAndAddsAnItemBeforeTheLast) {
    f.start();
    f.clearBoard();
    f.setLive(4, 7, 1, 2, 3);
    f.setLive(6, 8, 4, 5, 6);
    f.board().cell(5, 7) = {0, 7, 8, 9};  // dead cells are stored with their colour
    f.drag(4, 7, 6, 8);
    const std::size_t before = items().size();
    registerAs("/data/blink.hxq");

    ASSERT_EQ(f.dialogs.fileDialogs.size(), 1u);
    const auto& request = f.dialogs.fileDialogs[0].request;
    EXPECT_FALSE(f.dialogs.fileDialogs[0].open);
    EXPECT_EQ(request.title, "ファイルを保存");
    EXPECT_EQ(request.filter, "ライフパターンファイル (*.hxq)|*.hxq|すべてのファイル (*.*)|*.*");
    EXPECT_EQ(request.defaultExtension, "hxq");

    const std::string signature = "Chromatessellator PatternData";
    Bytes expected(signature.begin(), signature.end());
    expected.insert(expected.end(), {3, 0, 2, 0});
    // (4,7) (4,8) (5,7) (5,8) (6,7) (6,8)
    expected.insert(expected.end(), {1, 1, 2, 3, 0, 0, 0, 0, 0, 7, 8, 9, 0, 0, 0, 0, 0, 0, 0, 0, 1, 4, 5, 6});
    ASSERT_EQ(expected.size(), 57u);
    EXPECT_EQ(f.files.files["/data/blink.hxq"], expected);
    ASSERT_EQ(items().size(), before + 1);
    EXPECT_EQ(items()[before - 1], "blink");
    EXPECT_EQ(items().back(), "パターン登録");
    EXPECT_TRUE(f.dialogs.messages.empty());

    registerAs("/data/パターン.hxq");  // multibyte titles stay whole
    EXPECT_EQ(items()[items().size() - 2], "パターン");
    registerAs("/data/あいうえお");  // without extension it still loses four characters, not bytes
    EXPECT_EQ(items()[items().size() - 2], "あ");
}

// The file is written all the same; a cancelled or failed registration adds
// no item either.
TEST_F(PatternFiles, RegistrationAddsNoItemForATitleAlreadyListedOrWithoutAName) {
    f.files.addProgramFile("glider2.hxq", kOneCell);
    f.start();
    f.drag(0, 0, 1, 1);
    const std::vector<std::string> menu = items();
    for (const char* path : {"/data/glider2.hxq", "/elsewhere/glider2.hxq", "/data/Glider.hxq", "/data/-.hxq",
                             "/data/パターン登録.hxq", "/data/.hxq", "/data/ab"}) {
        SCOPED_TRACE(path);
        registerAs(path);
        EXPECT_TRUE(f.files.files.count(path));
        EXPECT_EQ(items(), menu);
    }
    const std::size_t written = f.files.files.size();
    registerAs("");
    EXPECT_EQ(f.files.files.size(), written);
    EXPECT_TRUE(f.dialogs.messages.empty());
    f.files.failWrites.insert("/full/p.hxq");
    registerAs("/full/p.hxq");
    EXPECT_EQ(items(), menu);
    expectOnlyMessage(f.dialogs.messages, std::string(texts::kSaveFailed) + "\n/full/p.hxq\nNo space left on device",
                      MessageIcon::Exclamation);
}

TEST_F(PatternFiles, StampingWritesEveryEntryInsideTheBoardAndReshapesTheSelection) {
    // Entry (dx, dy): live with a colour telling its place, except (1, 1),
    // which is dead with a colour of its own.
    const auto entry = [](int dx, int dy) {
        return dx == 1 && dy == 1 ? engine::CellRecord{0, 11, 22, 33} : engine::CellRecord{1, 100 + dx, 100 + dy, 7};
    };
    io::CellBlock block{3, 3, std::vector<io::CellEntry>(9)};
    for (int dx = 0; dx < 3; ++dx)
        for (int dy = 0; dy < 3; ++dy) {
            const engine::CellRecord e = entry(dx, dy);
            block.at(dx, dy) = {uint8_t(e.State), uint8_t(e.Red), uint8_t(e.Green), uint8_t(e.Blue)};
        }
    f.files.addProgramFile("block3.hxq", io::EncodePatternFile(block));
    f.start();
    struct Case {
        SelectionBox before, after;
    };
    for (const Case c : {Case{{48, 48, 48, 48}, {48, 48, 49, 49}}, Case{{10, 10, 30, 20}, {10, 10, 12, 12}}}) {
        SCOPED_TRACE(testing::Message() << c.before[0] << "," << c.before[1]);
        for (auto& cell : f.board().Cells) cell = {1, 5, 5, 5};  // every cell live
        f.drag(c.before[0], c.before[1], c.before[2], c.before[3]);
        choose("block3");
        EXPECT_EQ(f.box(), c.after);
        for (int x = 0; x <= 49; ++x)
            for (int y = 0; y <= 49; ++y) {
                const int dx = x - c.before[0], dy = y - c.before[1];
                const bool inside = dx >= 0 && dx < 3 && dy >= 0 && dy < 3;
                const engine::CellRecord expected = inside ? entry(dx, dy) : engine::CellRecord{1, 5, 5, 5};
                ASSERT_EQ(f.board().cell(x, y), expected) << x << "," << y;
            }
    }
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST_F(PatternFiles, MissingFileRemovesItsItemSilently) {
    f.files.addProgramFile("a.hxq", kOneCell);
    f.files.addProgramFile("b.hxq", kOneCell);
    f.start();
    f.drag(5, 5, 5, 5);
    const int a = indexOf("a");
    f.files.files.erase("/app/a.hxq");
    const auto cells = f.board().Cells;
    choose("a");
    EXPECT_EQ(indexOf("a"), -1);
    EXPECT_EQ(indexOf("b"), a);  // the next item takes its index
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_TRUE(f.board().Cells == cells);

    registerAs("/app/c.hxq");  // registration still puts its item before the last one
    EXPECT_EQ(items()[items().size() - 2], "c");
    EXPECT_EQ(items().back(), "パターン登録");
}

TEST_F(PatternFiles, BoardOrDamagedFileIsRefusedAndItsItemRemoved) {
    engine::Board board;
    board.create(49);
    board.cell(1, 1) = {1, 9, 9, 9};
    Bytes shortEntries = io::EncodePatternFile(io::CellBlock{3, 3, std::vector<io::CellEntry>(9, {1, 1, 1, 1})});
    shortEntries.pop_back();
    f.files.addProgramFile("board.hxq", io::EncodeBoardFile(board));
    f.files.addProgramFile("short.hxq", shortEntries);
    f.start();
    for (const char* name : {"board", "short"}) {
        SCOPED_TRACE(name);
        f.drag(10, 10, 12, 12);
        const auto cells = f.board().Cells;
        const std::size_t count = items().size();
        f.dialogs.messages.clear();
        choose(name);
        expectOnlyMessage(f.dialogs.messages, "このプログラムのデータではありません！", MessageIcon::None);
        EXPECT_EQ(indexOf(name), -1);
        EXPECT_EQ(items().size(), count - 1);
        EXPECT_TRUE(f.board().Cells == cells);
        EXPECT_EQ(f.box(), (SelectionBox{10, 10, 12, 12}));
    }
    EXPECT_EQ(items().back(), "パターン登録");

    const auto menu = items();
    for (const char* index : {"", "x", "-1", "999", "3a"}) f.form->ReadPatternFile(index);  // names no item
    EXPECT_EQ(items(), menu);
    EXPECT_EQ(f.dialogs.messages.size(), 1u);
}

// The whole road from the menu and the toolbar: "New registration" reaches
// the registration item however many files the menu lists (its click still
// draws a colour, and nothing is drawn afterwards); a file's item stamps and
// the board is drawn and counted.
TEST_F(PatternFiles, MenuAndToolbarReachRegistrationAndStamping) {
    f.files.addProgramFile("a.hxq", kOneCell);
    f.start();
    f.clearBoard();
    f.setLive(1, 1);
    f.setLive(2, 2);
    f.drag(1, 1, 2, 2);
    const uint64_t drawn = f.form->random.drawn();
    const int shown = f.window.showCount;
    f.dialogs.filePaths.push_back("/app/diag.hxq");
    f.press("New registration");
    EXPECT_EQ(f.form->random.drawn() - drawn, 3u);
    EXPECT_EQ(f.window.showCount, shown);
    ASSERT_EQ(indexOf("diag"), 7);
    f.dialogs.filePaths.push_back("/app/diag2.hxq");
    f.window.events->patternItemTriggered(f.window.patternItemCount() - 1);
    ASSERT_EQ(indexOf("diag2"), 8);
    f.press("New registration");
    EXPECT_EQ(f.dialogs.fileDialogs.size(), 3u);

    f.drag(48, 10, 48, 10);
    f.window.events->patternItemTriggered(indexOf("diag"));
    EXPECT_EQ(f.board().cell(48, 10).State, 1);
    EXPECT_EQ(f.board().cell(49, 11).State, 1);
    EXPECT_EQ(f.box(), (SelectionBox{48, 10, 49, 11}));
    EXPECT_EQ(f.window.showCount, shown + 1);
    EXPECT_EQ(f.window.panels[2], "セル数 = 4");
}

}  // namespace
