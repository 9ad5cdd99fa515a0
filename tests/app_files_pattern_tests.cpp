// Pattern files through Form1: registering the selection as a file and a menu
// item, and stamping a pattern file's cells onto the board.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/texts.h"
#include "app_files_support.h"
#include "io/formats.h"
#include "support/form_fixture.h"

using platform::MessageButtons;
using platform::MessageIcon;
using namespace files_test;

namespace {

using Entry = std::array<uint8_t, 4>;

struct PatternFiles : ::testing::Test {
    FormFixture f;
    app::Form1& form() { return *f.form; }
    std::vector<std::string>& items() { return f.window.patternItems; }

    int indexOf(const std::string& caption) {
        auto it = std::find(items().begin(), items().end(), caption);
        return it == items().end() ? -1 : static_cast<int>(it - items().begin());
    }
    void select(int l, int t, int r, int b) {
        auto& s = f.selection();
        s.SelLeft = l, s.SelTop = t, s.SelRight = r, s.SelBottom = b;
    }
    void registerAs(const std::string& path) {
        f.dialogs.filePaths.push_back(path);
        form().CreatePatternFile();
    }
    void choose(const std::string& caption) {
        const int index = indexOf(caption);
        ASSERT_GE(index, 0) << caption;
        form().ReadPatternFile(std::to_string(index));
    }
};

TEST_F(PatternFiles, RegistrationWritesTheSelectionAndAddsAnItemBeforeTheLast) {
    f.start();
    f.clearBoard();
    f.setLive(4, 7, 1, 2, 3);
    f.setLive(6, 8, 4, 5, 6);
    f.board().cell(5, 7) = {0, 7, 8, 9};  // dead cells are stored with their colour
    select(4, 7, 6, 8);
    const std::size_t before = items().size();
    registerAs("/data/blink.hxq");

    ASSERT_EQ(f.dialogs.fileDialogs.size(), 1u);
    const auto& request = f.dialogs.fileDialogs[0].request;
    EXPECT_FALSE(f.dialogs.fileDialogs[0].open);
    EXPECT_EQ(request.title, "ファイルを保存");
    EXPECT_EQ(request.filter, "ライフパターンファイル (*.hxq)|*.hxq|すべてのファイル (*.*)|*.*");
    EXPECT_EQ(request.defaultExtension, "hxq");

    Bytes expected;
    putText(expected, "Chromatessellator PatternData");
    expected.insert(expected.end(), {3, 0, 2, 0});
    // (4,7) (4,8) (5,7) (5,8) (6,7) (6,8)
    expected.insert(expected.end(), {1, 1, 2, 3, 0, 0, 0, 0, 0, 7, 8, 9, 0, 0, 0, 0, 0, 0, 0, 0, 1, 4, 5, 6});
    ASSERT_EQ(expected.size(), 57u);
    EXPECT_EQ(f.files.files["/data/blink.hxq"], expected);

    ASSERT_EQ(items().size(), before + 1);
    EXPECT_EQ(items()[before - 1], "blink");
    EXPECT_EQ(items().back(), "パターン登録");
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST_F(PatternFiles, RegistrationAddsNoItemForATitleAlreadyListedOrWithoutAName) {
    f.files.addProgramFile("glider2.hxq", patternFile(1, 1, [](int, int) { return Entry{1, 1, 1, 1}; }));
    f.start();
    select(0, 0, 1, 1);
    const std::vector<std::string> menu = items();
    for (const char* path : {"/data/glider2.hxq", "/elsewhere/glider2.hxq", "/data/Glider.hxq", "/data/-.hxq",
                             "/data/パターン登録.hxq", "/data/.hxq", "/data/ab"}) {
        SCOPED_TRACE(path);
        registerAs(path);
        EXPECT_TRUE(f.files.files.count(path));  // the file is written all the same
        EXPECT_EQ(items(), menu);
    }
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST_F(PatternFiles, RegistrationKeepsMultibyteTitlesWhole) {
    f.start();
    select(0, 0, 0, 0);
    registerAs("/data/パターン.hxq");
    EXPECT_EQ(items()[items().size() - 2], "パターン");
    registerAs("/data/あいうえお");  // without extension it still loses four characters, not bytes
    EXPECT_EQ(items()[items().size() - 2], "あ");
}

TEST_F(PatternFiles, CancelledOrFailedRegistrationAddsNoItem) {
    f.start();
    select(0, 0, 2, 2);
    const std::vector<std::string> menu = items();
    registerAs("");
    EXPECT_TRUE(f.files.files.empty());
    EXPECT_TRUE(f.dialogs.messages.empty());

    f.files.failWrites.insert("/full/p.hxq");
    registerAs("/full/p.hxq");
    EXPECT_EQ(items(), menu);
    EXPECT_FALSE(f.files.files.count("/full/p.hxq"));
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    const auto& m = f.dialogs.messages[0];
    EXPECT_EQ(m.text, std::string(texts::kSaveFailed) + "\n/full/p.hxq\nNo space left on device");
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
}

TEST_F(PatternFiles, StampingWritesEveryEntryInsideTheBoardAndReshapesTheSelection) {
    // Entry (dx, dy): live with a colour telling its place, except (1, 1),
    // which is dead with a colour of its own.
    const auto entry = [](int dx, int dy) {
        if (dx == 1 && dy == 1) return Entry{0, 11, 22, 33};
        return Entry{1, static_cast<uint8_t>(100 + dx), static_cast<uint8_t>(100 + dy), 7};
    };
    f.files.addProgramFile("block3.hxq", patternFile(3, 3, entry));
    f.start();

    struct Case {
        int l, t, r, b;          // selection before
        int right, bottom;       // selection after
    };
    for (const Case c : {Case{48, 48, 48, 48, 49, 49}, Case{10, 10, 30, 20, 12, 12}, Case{47, 0, 47, 1, 49, 2}}) {
        SCOPED_TRACE(testing::Message() << c.l << "," << c.t);
        for (auto& cell : f.board().Cells) cell = {1, 5, 5, 5};  // every cell live
        const auto before = f.board().Cells;
        select(c.l, c.t, c.r, c.b);
        choose("block3");

        auto& s = f.selection();
        EXPECT_EQ(s.SelLeft, c.l);
        EXPECT_EQ(s.SelTop, c.t);
        EXPECT_EQ(s.SelRight, c.right);
        EXPECT_EQ(s.SelBottom, c.bottom);
        for (int x = 0; x <= 49; ++x)
            for (int y = 0; y <= 49; ++y) {
                const int dx = x - c.l, dy = y - c.t;
                engine::CellRecord expected = before[f.board().index(x, y)];
                if (dx >= 0 && dx < 3 && dy >= 0 && dy < 3) {
                    const Entry e = entry(dx, dy);
                    expected = {e[0], e[1], e[2], e[3]};
                }
                ASSERT_EQ(f.board().cell(x, y), expected) << x << "," << y;
            }
    }
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_NE(indexOf("block3"), -1);
}

TEST_F(PatternFiles, MissingFileRemovesItsItemSilently) {
    const Bytes one = patternFile(1, 1, [](int, int) { return Entry{1, 1, 1, 1}; });
    f.files.addProgramFile("a.hxq", one);
    f.files.addProgramFile("b.hxq", one);
    f.start();
    select(5, 5, 5, 5);
    const int a = indexOf("a");
    f.files.files.erase("/app/a.hxq");
    const auto cells = f.board().Cells;
    choose("a");

    EXPECT_EQ(indexOf("a"), -1);
    EXPECT_EQ(indexOf("b"), a);  // the next item takes its index
    EXPECT_EQ(items().back(), "パターン登録");
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_TRUE(f.board().Cells == cells);

    // Registration still works and puts its item before the last one.
    registerAs("/app/c.hxq");
    EXPECT_EQ(items()[items().size() - 2], "c");
    EXPECT_EQ(items().back(), "パターン登録");
}

TEST_F(PatternFiles, PatternRegisteredElsewhereDisappearsWhenChosen) {
    f.start();
    select(3, 3, 4, 4);
    registerAs("/elsewhere/x.hxq");
    ASSERT_NE(indexOf("x"), -1);
    choose("x");
    EXPECT_EQ(indexOf("x"), -1);
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(f.selection().SelRight, 4);
}

TEST_F(PatternFiles, ForeignOrDamagedPatternFileIsRefusedAndItsItemRemoved) {
    Bytes board;
    putText(board, "Chromatessellator Data");
    board.insert(board.end(), {49, 0, 0, 0, 1, 0, 1, 0, 9, 9, 9});
    const auto live = [](int, int) { return Entry{1, 1, 1, 1}; };
    Bytes shortEntries = patternFile(3, 3, live);
    shortEntries.resize(shortEntries.size() - 1);
    Bytes negativeHeight = patternFile(1, 1, live);
    negativeHeight[31] = 0xFF, negativeHeight[32] = 0xFF;
    const std::vector<std::pair<std::string, Bytes>> cases = {
        {"board", board},
        {"short", shortEntries},
        {"wide", patternFile(201, 1, live)},
        {"empty", patternFile(0, 3, live)},
        {"negative", negativeHeight},
        {"nothing", Bytes{}},
    };
    for (const auto& [name, bytes] : cases) f.files.addProgramFile(name + ".hxq", bytes);
    f.start();
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        select(10, 10, 12, 12);
        const auto cells = f.board().Cells;
        const std::size_t count = items().size();
        f.dialogs.messages.clear();
        choose(name);
        ASSERT_EQ(f.dialogs.messages.size(), 1u);
        EXPECT_EQ(f.dialogs.messages[0].text, "このプログラムのデータではありません！");
        EXPECT_EQ(f.dialogs.messages[0].icon, MessageIcon::None);
        EXPECT_EQ(f.dialogs.messages[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(indexOf(name), -1);
        EXPECT_EQ(items().size(), count - 1);
        EXPECT_TRUE(f.board().Cells == cells);
        EXPECT_EQ(f.selection().SelRight, 12);
        EXPECT_EQ(f.selection().SelBottom, 12);
    }
    EXPECT_EQ(items().back(), "パターン登録");
}

TEST_F(PatternFiles, IndexThatNamesNoItemDoesNothing) {
    f.start();
    select(0, 0, 0, 0);
    const auto menu = items();
    for (const char* index : {"", "x", "-1", "999", "3a"}) form().ReadPatternFile(index);
    EXPECT_EQ(items(), menu);
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST_F(PatternFiles, RegisteredPatternStampsBackTheSameCells) {
    f.start();
    select(20, 20, 24, 22);
    const auto block = io::BlockFromBoard(f.board(), 20, 20, 24, 22);
    registerAs("/app/copy.hxq");
    f.clearBoard();
    select(0, 0, 0, 0);
    choose("copy");
    EXPECT_EQ(f.selection().SelRight, 4);
    EXPECT_EQ(f.selection().SelBottom, 2);
    for (int dx = 0; dx < 5; ++dx)
        for (int dy = 0; dy < 3; ++dy) {
            const auto& e = block.at(dx, dy);
            EXPECT_EQ(f.board().cell(dx, dy), (engine::CellRecord{e.State, e.Red, e.Green, e.Blue}));
        }
}

}  // namespace

namespace {

// The whole road from the menu: the registration item and the toolbar button
// register, a pattern item stamps and the board is drawn and counted.
TEST_F(PatternFiles, MenuAndToolbarReachRegistrationAndStamping) {
    f.start();
    f.clearBoard();
    f.setLive(1, 1);
    f.setLive(2, 2);
    select(1, 1, 2, 2);
    f.dialogs.filePaths.push_back("/app/diag.hxq");
    form().Toolbar1_ButtonClick("New registration");
    ASSERT_NE(indexOf("diag"), -1);

    f.dialogs.filePaths.push_back("/app/diag2.hxq");
    f.window.events->patternItemTriggered(f.window.patternItemCount() - 1);
    ASSERT_NE(indexOf("diag2"), -1);

    select(48, 10, 48, 10);
    const int shown = f.window.showCount;
    f.window.events->patternItemTriggered(indexOf("diag"));
    EXPECT_EQ(f.board().cell(48, 10).State, 1);
    EXPECT_EQ(f.board().cell(49, 11).State, 1);
    EXPECT_EQ(f.selection().SelRight, 49);
    EXPECT_EQ(f.selection().SelBottom, 11);
    EXPECT_EQ(f.window.showCount, shown + 1);
    EXPECT_EQ(f.board().Population(), 4);
}

}  // namespace
