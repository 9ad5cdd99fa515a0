// Board data files through Form1: saving, loading, the open and save commands,
// their questions and messages, and the file dialogs.

#include <gtest/gtest.h>

#include "app/texts.h"
#include "app_files_support.h"
#include "io/formats.h"
#include "support/form_fixture.h"

using platform::Menu;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using namespace files_test;

namespace {

const std::string kCaption = "Chromatessellator  - ";

struct BoardFiles : ::testing::Test {
    FormFixture f;
    void SetUp() override { f.start(); }
    app::Form1& form() { return *f.form; }

    // Everything a refused or failed load or save must leave as it was.
    struct Snapshot {
        int32_t gridMax;
        std::vector<engine::CellRecord> cells;
        std::string fileName, caption;
        bool modified;
        int32_t generation;
        int scale;
    };
    Snapshot snapshot() {
        return {f.board().GridMax, f.board().Cells, form().FileName, f.window.caption(),
                f.board().Modified, f.board().Generation, f.window.boardScale()};
    }
    void expectUnchanged(const Snapshot& s) {
        EXPECT_EQ(f.board().GridMax, s.gridMax);
        EXPECT_TRUE(f.board().Cells == s.cells);
        EXPECT_EQ(form().FileName, s.fileName);
        EXPECT_EQ(f.window.caption(), s.caption);
        EXPECT_EQ(f.board().Modified, s.modified);
        EXPECT_EQ(f.board().Generation, s.generation);
        EXPECT_EQ(f.window.boardScale(), s.scale);
    }
};

TEST_F(BoardFiles, FirstSaveAsksForANameAndWritesTheBoard) {
    struct Case {
        const char* name;
        std::vector<Record> live;
        Bytes expected;
    };
    const std::vector<Case> cases = {
        {"empty board: signature and GridMax only", {}, boardFile(49, {})},
        {"one live cell", {{2, 3, 255, 128, 1}},
         Bytes{'C', 'h', 'r', 'o', 'm', 'a', 't', 'e', 's', 's', 'e', 'l', 'l', 'a', 't', 'o', 'r', ' ', 'D', 'a',
               't', 'a', 0x31, 0, 0, 0, 0x02, 0x00, 0x03, 0x00, 0xFF, 0x80, 0x01}},
        {"records column by column, top to bottom",
         {{1, 0, 1, 2, 3}, {0, 49, 4, 5, 6}, {0, 0, 7, 8, 9}},
         boardFile(49, {{0, 0, 7, 8, 9}, {0, 49, 4, 5, 6}, {1, 0, 1, 2, 3}})},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormFixture g;
        g.start();
        g.clearBoard();
        for (const Record& r : c.live) g.setLive(r.x, r.y, r.r, r.g, r.b);
        g.board().cell(5, 5) = {0, 9, 9, 9};  // a dead cell's colour is not stored
        const std::string path = "/data/b" + std::to_string(n++) + ".hxa";
        g.dialogs.filePaths.push_back(path);
        g.form->mnuFileSave_Click();

        ASSERT_EQ(g.dialogs.fileDialogs.size(), 1u);
        EXPECT_FALSE(g.dialogs.fileDialogs[0].open);
        EXPECT_TRUE(g.dialogs.messages.empty());  // no overwrite question for a name chosen now
        ASSERT_TRUE(g.files.files.count(path));
        EXPECT_EQ(g.files.files[path], c.expected);
        EXPECT_EQ(g.form->FileName, path);
        EXPECT_FALSE(g.board().Modified);
        EXPECT_EQ(g.window.caption(), kCaption + path + " -");
    }
    EXPECT_EQ(cases[1].expected.size(), 33u);
    EXPECT_EQ(cases[0].expected.size(), 26u);
}

TEST_F(BoardFiles, SaveDialogAndOpenDialogSettings) {
    f.files.currentDir = "/work/here";
    form().GetSaveFileName(app::kBoardFileMode);
    form().GetOpenFileName(app::kPatternFileMode);
    form().GetOpenFileName(7);  // any other kind keeps the previous one
    form().GetSaveFileName(app::kBoardFileMode);
    form().GetSaveFileName(0);

    const auto& d = f.dialogs.fileDialogs;
    ASSERT_EQ(d.size(), 5u);
    struct Expect {
        bool open;
        const char* title;
        const char* filter;
        const char* ext;
    };
    const Expect expected[] = {
        {false, "ファイルを保存", "ライフデータファイル (*.hxa)|*.hxa|すべてのファイル (*.*)|*.*", "hxa"},
        {true, "ファイルを開く", "ライフパターンファイル (*.hxq)|*.hxq|すべてのファイル (*.*)|*.*", "hxq"},
        {true, "ファイルを開く", "ライフパターンファイル (*.hxq)|*.hxq|すべてのファイル (*.*)|*.*", "hxq"},
        {false, "ファイルを保存", "ライフデータファイル (*.hxa)|*.hxa|すべてのファイル (*.*)|*.*", "hxa"},
        {false, "ファイルを保存", "ライフデータファイル (*.hxa)|*.hxa|すべてのファイル (*.*)|*.*", "hxa"},
    };
    for (std::size_t i = 0; i < d.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(d[i].open, expected[i].open);
        EXPECT_EQ(d[i].request.title, expected[i].title);
        EXPECT_EQ(d[i].request.filter, expected[i].filter);
        EXPECT_EQ(d[i].request.defaultExtension, expected[i].ext);
        EXPECT_EQ(d[i].request.initialDirectory, "/work/here");
    }
}

TEST_F(BoardFiles, OverwriteQuestionGuardsAnExistingFile) {
    const std::string path = "/data/a.hxa";
    const Bytes old = boardFile(49, {{1, 1, 1, 1, 1}});
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        SCOPED_TRACE(answer == MessageAnswer::Yes ? "Yes" : "No");
        FormFixture g;
        g.start();
        g.files.files[path] = old;
        g.form->FileName = path;
        g.dialogs.answers.push_back(answer);
        const std::string caption = g.window.caption();
        g.form->SaveData();

        ASSERT_EQ(g.dialogs.messages.size(), 1u);
        const auto& m = g.dialogs.messages[0];
        EXPECT_EQ(m.text, "'/data/a.hxa' を上書きしますか？");
        EXPECT_EQ(m.title, "Kaleidomat");
        EXPECT_EQ(m.icon, MessageIcon::Question);
        EXPECT_EQ(m.buttons, MessageButtons::YesNo);
        EXPECT_EQ(m.defaultButton, MessageAnswer::No);
        EXPECT_TRUE(g.dialogs.fileDialogs.empty());
        if (answer == MessageAnswer::No) {
            EXPECT_EQ(g.files.files[path], old);
            EXPECT_TRUE(g.board().Modified);
            EXPECT_EQ(g.window.caption(), caption);
        } else {
            EXPECT_EQ(g.files.files[path], io::EncodeBoardFile(g.board()));
            EXPECT_FALSE(g.board().Modified);
            EXPECT_EQ(g.window.caption(), kCaption + path + " -");
        }
    }
}

TEST_F(BoardFiles, CancelledSaveDialogChangesNothing) {
    const Snapshot before = snapshot();
    form().SaveData();  // no path scripted: the dialog is cancelled
    EXPECT_EQ(f.dialogs.fileDialogs.size(), 1u);
    EXPECT_TRUE(f.files.files.empty());
    expectUnchanged(before);
}

TEST_F(BoardFiles, FailedSaveKeepsTheOldFileAndReportsIt) {
    const std::string path = "/data/full.hxa";
    const Bytes old = boardFile(49, {{7, 7, 1, 2, 3}});
    f.files.files[path] = old;
    f.files.failWrites.insert(path);
    form().FileName = path;
    f.dialogs.answers.push_back(MessageAnswer::Yes);  // overwrite
    const Snapshot before = snapshot();
    form().SaveData();

    EXPECT_EQ(f.files.files[path], old);
    expectUnchanged(before);
    ASSERT_EQ(f.dialogs.messages.size(), 2u);
    const auto& m = f.dialogs.messages[1];
    EXPECT_EQ(m.text, std::string(texts::kSaveFailed) + "\n" + path + "\nNo space left on device");
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
}

TEST_F(BoardFiles, FailedSaveUnderANewNameAsksForTheNameAgain) {
    const std::string bad = "/readonly/x.hxa", good = "/data/x.hxa";
    f.files.failWrites.insert(bad);
    f.dialogs.filePaths = {bad, good};
    const std::string caption = f.window.caption();
    form().SaveData();
    EXPECT_EQ(form().FileName, "");
    EXPECT_TRUE(f.board().Modified);
    EXPECT_EQ(f.window.caption(), caption);

    form().SaveData();
    EXPECT_EQ(f.dialogs.fileDialogs.size(), 2u);
    EXPECT_EQ(form().FileName, good);
    EXPECT_TRUE(f.files.files.count(good));
    EXPECT_FALSE(f.board().Modified);
}

TEST_F(BoardFiles, LoadingTakesSizeCellsAndNameFromTheFile) {
    struct Case {
        int32_t gridMax;
        bool expandEnabled;
    };
    for (const Case c : {Case{99, true}, Case{199, false}, Case{9, true}}) {
        SCOPED_TRACE(c.gridMax);
        FormFixture g;
        g.start();
        g.board().Generation = 77;
        const std::string path = "/data/big.hxa";
        // Records in any order; dead cells come back with colour 0.
        g.files.files[path] = boardFile(c.gridMax, {{c.gridMax, c.gridMax, 9, 8, 7}, {0, 0, 255, 0, 128}});
        ASSERT_TRUE(g.form->OpenFile(path));
        g.form->ReDraw();

        EXPECT_EQ(g.board().GridMax, c.gridMax);
        EXPECT_EQ(g.window.boardScale(), c.gridMax + 1);
        const std::size_t side = static_cast<std::size_t>(c.gridMax) + 1;
        ASSERT_EQ(g.board().Cells.size(), side * side);
        EXPECT_EQ(g.board().Tally.size(), side * side);
        EXPECT_EQ(g.board().cell(0, 0), (engine::CellRecord{1, 255, 0, 128}));
        EXPECT_EQ(g.board().cell(c.gridMax, c.gridMax), (engine::CellRecord{1, 9, 8, 7}));
        EXPECT_EQ(g.board().countLive(), 2);
        EXPECT_EQ(g.board().cell(1, 1), engine::CellRecord{});
        EXPECT_EQ(g.board().Population(), 2);
        EXPECT_EQ(g.board().Generation, 77);  // a load does not reset the generation
        EXPECT_FALSE(g.board().Modified);
        EXPECT_EQ(g.form->FileName, path);
        EXPECT_EQ(g.window.caption(), kCaption + path + " -");
        EXPECT_EQ(g.window.menuEnabled(Menu::PatternExpand), c.expandEnabled);
        EXPECT_EQ(g.window.buttonEnabled("Expand"), c.expandEnabled);
        EXPECT_EQ(g.window.menuEnabled(Menu::PatternReduction), c.gridMax > 9);
        EXPECT_EQ(g.window.buttonEnabled("Reduction"), c.gridMax > 9);
        EXPECT_TRUE(g.dialogs.messages.empty());
    }
}

TEST_F(BoardFiles, SavedBoardLoadsBackExactly) {
    f.board().cell(3, 4) = {0, 1, 2, 3};  // dead with a colour: comes back all zero
    const std::string path = "/data/round.hxa";
    f.dialogs.filePaths.push_back(path);
    form().SaveData();
    std::vector<engine::CellRecord> expected = f.board().Cells;
    for (auto& c : expected)
        if (c.State == 0) c = {};
    f.clearBoard();
    ASSERT_TRUE(form().OpenFile(path));
    EXPECT_TRUE(f.board().Cells == expected);
}

TEST_F(BoardFiles, ForeignOrDamagedFilesAreRefusedAndChangeNothing) {
    Bytes pattern;
    putText(pattern, "Chromatessellator PatternData");
    put16(pattern, 1);
    put16(pattern, 1);
    pattern.insert(pattern.end(), {1, 2, 3, 4});
    Bytes cutRecord = boardFile(49, {{1, 1, 1, 1, 1}});
    cutRecord.pop_back();
    Bytes lowerCase = boardFile(49, {});
    lowerCase[0] = 'c';
    Bytes cutHeader = boardFile(49, {});
    cutHeader.resize(24);
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"pattern file", pattern},
        {"shorter than the signature", Bytes{'C', 'h', 'r', 'o', 'm'}},
        {"empty file", Bytes{}},
        {"signature in another case", lowerCase},
        {"header cut off", cutHeader},
        {"file ends inside a record", cutRecord},
        {"cell outside the board", boardFile(49, {{50, 0, 1, 1, 1}})},
        {"negative coordinate", boardFile(49, {{-1, 0, 1, 1, 1}})},
        {"negative size", boardFile(-5, {})},
        {"huge size", boardFile(0x7FFFFFFF, {})},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        FormFixture g;
        g.start();
        g.form->FileName = "/data/current.hxa";
        const auto cells = g.board().Cells;
        const std::string caption = g.window.caption();
        g.files.files["/data/x.hxa"] = bytes;
        EXPECT_FALSE(g.form->OpenFile("/data/x.hxa"));
        ASSERT_EQ(g.dialogs.messages.size(), 1u);
        const auto& m = g.dialogs.messages[0];
        EXPECT_EQ(m.text, "このプログラムのデータではありません！");
        EXPECT_EQ(m.icon, MessageIcon::None);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
        EXPECT_EQ(m.title, "Kaleidomat");
        EXPECT_EQ(g.board().GridMax, 49);
        EXPECT_TRUE(g.board().Cells == cells);
        EXPECT_EQ(g.form->FileName, "/data/current.hxa");
        EXPECT_TRUE(g.board().Modified);
        EXPECT_EQ(g.window.caption(), caption);
    }
}

TEST_F(BoardFiles, UnreadableFileIsReportedAndChangesNothing) {
    const Snapshot before = snapshot();
    EXPECT_FALSE(form().OpenFile("/data/vanished.hxa"));
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text, std::string(texts::kOpenFailed) + "\n/data/vanished.hxa");
    EXPECT_EQ(f.dialogs.messages[0].icon, MessageIcon::Exclamation);
    expectUnchanged(before);
}

TEST_F(BoardFiles, OpenCommandAsksToSaveFirstThenShowsTheOpenDialog) {
    // Start-up seeded the board: it counts as modified and has no name.
    ASSERT_TRUE(f.board().Modified);
    f.dialogs.answers.push_back(MessageAnswer::Yes);
    f.dialogs.filePaths = {"", ""};  // both dialogs cancelled
    form().mnuFileOpen_Click();

    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    const auto& m = f.dialogs.messages[0];
    EXPECT_EQ(m.text, "変更を保存しますか？");
    EXPECT_EQ(m.icon, MessageIcon::Question);
    EXPECT_EQ(m.buttons, MessageButtons::YesNo);
    EXPECT_EQ(m.defaultButton, MessageAnswer::Yes);
    ASSERT_EQ(f.dialogs.fileDialogs.size(), 2u);
    EXPECT_FALSE(f.dialogs.fileDialogs[0].open);  // the save dialog first
    EXPECT_TRUE(f.dialogs.fileDialogs[1].open);
    EXPECT_TRUE(f.board().Modified);
}

TEST_F(BoardFiles, OpenCommandLoadsAndDrawsAndDrawsAfterARefusalToo) {
    f.dialogs.answers.push_back(MessageAnswer::No);
    f.files.files["/data/ok.hxa"] = boardFile(19, {{3, 3, 50, 60, 70}});
    f.dialogs.filePaths.push_back("/data/ok.hxa");
    int shown = f.window.showCount;
    form().mnuFileOpen_Click();
    EXPECT_EQ(f.dialogs.fileDialogs.size(), 1u);  // No: straight to the open dialog
    EXPECT_EQ(f.board().GridMax, 19);
    EXPECT_EQ(f.window.showCount, shown + 1);
    EXPECT_EQ(f.window.panelText(2), "セル数 = 1");

    // Not modified any more: no question; a refused file is drawn unchanged.
    f.files.files["/data/bad.hxa"] = Bytes{'x'};
    f.dialogs.filePaths.push_back("/data/bad.hxa");
    shown = f.window.showCount;
    form().mnuFileOpen_Click();
    ASSERT_EQ(f.dialogs.messages.size(), 2u);
    EXPECT_EQ(f.dialogs.messages[1].text, texts::kNotOurData);
    EXPECT_EQ(f.board().GridMax, 19);
    EXPECT_EQ(f.window.showCount, shown + 1);

    // A cancelled open dialog draws nothing.
    shown = f.window.showCount;
    form().mnuFileOpen_Click();
    EXPECT_EQ(f.window.showCount, shown);
}

TEST_F(BoardFiles, LoadingASmallerBoardDropsASelectionThatNoLongerFits) {
    f.files.files["/data/small.hxa"] = boardFile(39, {});
    struct Case {
        int l, t, r, b;
        bool kept;
    };
    for (const Case c : {Case{35, 35, 45, 38, false}, Case{10, 10, 39, 39, true}, Case{0, 45, 3, 46, false}}) {
        SCOPED_TRACE(c.r);
        auto& s = f.selection();
        s.SelLeft = c.l, s.SelTop = c.t, s.SelRight = c.r, s.SelBottom = c.b;
        s.FocusShown = true;
        f.window.focus = platform::PixelRect{1, 2, 3, 4};
        f.board().create(49);
        ASSERT_TRUE(form().OpenFile("/data/small.hxa"));
        if (c.kept) {
            EXPECT_EQ(s.SelLeft, c.l);
            EXPECT_EQ(s.SelBottom, c.b);
            EXPECT_TRUE(s.FocusShown);
        } else {
            EXPECT_EQ(s.SelLeft, -1);
            EXPECT_FALSE(s.FocusShown);
            EXPECT_FALSE(f.window.focus.has_value());
        }
    }
}

TEST(FileTitles, TitleIsTheNameAfterTheLastSeparatorTrimmed) {
    const std::pair<std::string, std::string> cases[] = {
        {"/data/spiral2.hxq", "spiral2.hxq"},
        {"spiral2.hxq", "spiral2.hxq"},
        {"/a/b/c/ blank .hxq  ", "blank .hxq"},
        {"/data/", ""},
        {"", ""},
        {"/データ/パターン.hxq", "パターン.hxq"},
    };
    for (const auto& [path, title] : cases) EXPECT_EQ(app::Form1::GetFileTitle(path), title) << path;
}

TEST(FileTitles, TrimNullCutsAtTheFirstNulAndTrimsBlanks) {
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {
        {"\0abc"s, ""},
        {"abc\0def"s, "abc"},
        {"  abc  \0\0"s, "abc"},
        {"  a b  "s, "a b"},
        {"   "s, ""},
        {""s, ""},
        {"\tx\t"s, "\tx\t"},  // only blanks are trimmed
    };
    for (const auto& [text, trimmed] : cases) EXPECT_EQ(app::Form1::TrimNull(text), trimmed);
}

}  // namespace
