// SPDX-License-Identifier: MIT
// Pattern files through the controller: registering the selection as a file and a menu
// item, and stamping a pattern file's cells onto the board.

#include <gtest/gtest.h>

#include <algorithm>

#include "io/formats.h"
#include "support/controller_fixture.h"
#include "ui/texts.h"

using platform::MessageIcon;
using Bytes = std::vector<uint8_t>;

namespace {

struct PatternFiles : ::testing::Test {
    ControllerFixture f;
    std::vector<std::string>& items() { return f.window.patternItems; }

    int indexOf(const std::string& caption) {
        auto it = std::find(items().begin(), items().end(), caption);
        return it == items().end() ? -1 : static_cast<int>(it - items().begin());
    }
    void registerAs(const std::string& path) {
        f.dialogs.filePaths.push_back(path);
        f.press(Button::NewRegistration);
    }
};

// The file holds the selection; its item goes before the registration item,
// named without the extension (four characters, not bytes), and not twice.
TEST_F(PatternFiles, RegistrationWritesTheSelectionAndAddsAnItem) {
    f.files.addProgramFile("glider2.hxq", {1});
    f.start();
    f.drag(4, 7, 6, 8);
    registerAs("/data/パターン.hxq");
    const auto& request = f.dialogs.fileDialogs.at(0).request;
    EXPECT_EQ(request.filters, (std::vector<platform::FileFilter>{{"ライフパターンファイル (*.hxq)", {"*.hxq"}},
                                                                  {"すべてのファイル (*.*)", {"*"}}}));
    EXPECT_EQ(request.defaultExtension, "hxq");
    EXPECT_EQ(f.files.files["/data/パターン.hxq"], io::EncodePatternFile(io::BlockFromBoard(f.board(), 4, 7, 6, 8)));
    EXPECT_EQ(std::vector<std::string>(items().end() - 3, items().end()),
              (std::vector<std::string>{"glider2", "パターン", "パターン登録"}));
    const std::vector<std::string> menu = items();
    for (const char* path : {"/elsewhere/glider2.hxq", "/data/Glider.hxq", "/data/パターン登録.hxq", "/data/ab"}) {
        registerAs(path);
        EXPECT_TRUE(f.files.files.count(path)) << path;
    }
    EXPECT_EQ(items(), menu);
    f.files.failWrites.insert("/full/p.hxq");
    registerAs("/full/p.hxq");
    EXPECT_EQ(items(), menu);
    expectOnlyMessage(f.dialogs.messages, std::string(texts::kSaveFailed) + "\n/full/p.hxq\nNo space left on device",
                      MessageIcon::Exclamation);
    // Blanks belong to the name: the item stands for that very file.
    registerAs("/data/ two words .hxq");
    EXPECT_EQ(std::vector<std::string>(items().end() - 2, items().end()),
              (std::vector<std::string>{" two words ", "パターン登録"}));
}

// Every entry that lies on the board is written as it is, dead ones with
// their colour; the selection becomes the written part.
TEST_F(PatternFiles, StampingWritesEveryEntryOnTheBoard) {
    io::CellBlock block{3, 3, std::vector<io::CellEntry>(9)};
    for (int i = 0; i < 9; ++i) block.entries[i] = {uint8_t(i != 4), uint8_t(100 + i), 7, 7};
    f.files.addProgramFile("block3.hxq", io::EncodePatternFile(block));
    f.start();
    for (auto& cell : f.board().Cells) cell = {1, 5, 5, 5};
    f.drag(48, 48, 48, 48);
    f.window.events->patternItemTriggered(indexOf("block3"));
    EXPECT_EQ(f.box(), (SelectionBox{48, 48, 49, 49}));
    EXPECT_EQ(f.board().cell(49, 49), (engine::CellRecord{0, 104, 7, 7}));
    EXPECT_EQ(f.board().cell(49, 48), (engine::CellRecord{1, 103, 7, 7}));
    EXPECT_EQ(f.board().cell(47, 48), (engine::CellRecord{1, 5, 5, 5}));
    EXPECT_EQ(f.window.panels[2], "セル数 = 2,499");
    EXPECT_TRUE(f.dialogs.messages.empty());
}

// A vanished file loses its item silently; a board file or a damaged one is
// refused and loses its item. The next item takes the index.
TEST_F(PatternFiles, MissingOrDamagedFileRemovesItsItem) {
    Bytes shortEntries = io::EncodePatternFile(io::CellBlock{3, 3, std::vector<io::CellEntry>(9, {1, 1, 1, 1})});
    shortEntries.pop_back();
    f.files.addProgramFile("a.hxq", {1});
    f.files.addProgramFile("board.hxq", boardFile(9));
    f.files.addProgramFile("short.hxq", shortEntries);
    f.start();
    f.files.files.erase("/app/a.hxq");
    f.drag(10, 10, 12, 12);
    const auto cells = f.board().Cells;
    for (const char* name : {"a", "board", "short"}) f.controller->ReadPatternFile(std::to_string(indexOf(name)));
    EXPECT_EQ(std::vector<std::string>(items().end() - 2, items().end()), (std::vector<std::string>{"-", "パターン登録"}));
    EXPECT_EQ(f.dialogs.messages.size(), 2u);
    expectMessage(f.dialogs.messages[1], "このプログラムのデータではありません！", MessageIcon::None);
    EXPECT_TRUE(f.board().Cells == cells);
    for (const char* index : {"", "x", "-1", "999", "3a"}) f.controller->ReadPatternFile(index);  // names no item
    EXPECT_EQ(f.dialogs.messages.size(), 2u);
}

// A file too large to read is no pattern: refused with the message.
TEST_F(PatternFiles, FileTooLargeIsRefusedWithTheMessage) {
    f.files.addProgramFile("huge.hxq", {1});
    f.files.tooLarge.insert("/app/huge.hxq");
    f.start();
    f.window.events->patternItemTriggered(indexOf("huge"));
    expectOnlyMessage(f.dialogs.messages, "このプログラムのデータではありません！", MessageIcon::None);
}

}  // namespace
