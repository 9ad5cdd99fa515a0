// Board data files through Form1: saving, loading, the open and save commands,
// their questions, messages and dialogs, and the Modified and FileName
// transitions. The format's hostile inputs are tested in io/; here one refusal
// of each kind proves the wiring.

#include <gtest/gtest.h>

#include "ui/texts.h"
#include "io/formats.h"
#include "support/form_fixture.h"

using platform::Menu;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using Bytes = std::vector<uint8_t>;

namespace {

// A board file of the board 0..gridMax with live cells (x, y) coloured (x + 1, y + 1, 7).
Bytes boardFile(int32_t gridMax, const std::vector<std::pair<int, int>>& live = {}) {
    engine::Board board;
    board.create(gridMax);
    for (auto [x, y] : live) board.cell(x, y) = {1, x + 1, y + 1, 7};
    return io::EncodeBoardFile(board);
}

const std::string kCaption = "Chromatessellator  - ";
const char* kBoardFilter = "ライフデータファイル (*.hxa)|*.hxa|すべてのファイル (*.*)|*.*";

struct BoardFiles : Started {
    // Everything a refused or failed load or save must leave as it was.
    struct Snapshot {
        std::vector<engine::CellRecord> cells;
        std::string fileName, caption;
        bool modified;
        int32_t generation;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() {
        return {f.board().Cells, f.form->FileName, f.window.caption(), f.board().Modified, f.board().Generation};
    }
};

TEST_F(BoardFiles, FirstSaveAsksForANameAndWritesTheBoard) {
    const std::string signature = "Chromatessellator Data";
    Bytes empty(signature.begin(), signature.end());
    empty.insert(empty.end(), {0x31, 0, 0, 0});  // GridMax 49
    Bytes one = empty;
    one.insert(one.end(), {0x02, 0x00, 0x03, 0x00, 0xFF, 0x80, 0x01});
    ASSERT_EQ(empty.size(), 26u);
    ASSERT_EQ(one.size(), 33u);
    for (const auto& [live, expected] : {std::pair{false, empty}, std::pair{true, one}}) {
        SCOPED_TRACE(expected.size());
        FormFixture g;
        g.files.currentDir = "/work/here";
        g.start();
        g.clearBoard();
        if (live) g.setLive(2, 3, 255, 128, 1);
        g.board().cell(5, 5) = {0, 9, 9, 9};  // a dead cell's colour is not stored
        g.dialogs.filePaths.push_back("/data/b.hxa");
        g.form->mnuFileSave_Click();

        ASSERT_EQ(g.dialogs.fileDialogs.size(), 1u);
        const auto& [open, request] = g.dialogs.fileDialogs[0];
        EXPECT_FALSE(open);
        EXPECT_EQ(request.title, "ファイルを保存");
        EXPECT_EQ(request.filter, kBoardFilter);
        EXPECT_EQ(request.defaultExtension, "hxa");
        EXPECT_EQ(request.initialDirectory, "/work/here");
        EXPECT_TRUE(g.dialogs.messages.empty());  // no overwrite question for a name chosen now
        EXPECT_EQ(g.files.files["/data/b.hxa"], expected);
        EXPECT_EQ(g.form->FileName, "/data/b.hxa");
        EXPECT_FALSE(g.board().Modified);
        EXPECT_EQ(g.window.caption(), kCaption + "/data/b.hxa -");
    }
}

TEST_F(BoardFiles, OverwriteQuestionGuardsAnExistingFile) {
    const std::string path = "/data/a.hxa";
    const Bytes old = boardFile(49, {{1, 1}});
    f.files.files[path] = old;
    f.form->FileName = path;
    const Snapshot before = snapshot();
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        const bool yes = answer == MessageAnswer::Yes;
        f.dialogs.messages.clear();
        f.dialogs.answers.push_back(answer);
        f.form->SaveData();
        expectOnlyMessage(f.dialogs.messages, "'/data/a.hxa' を上書きしますか？", MessageIcon::Question,
                          MessageButtons::YesNo, MessageAnswer::No);
        EXPECT_TRUE(f.dialogs.fileDialogs.empty());
        EXPECT_EQ(f.files.files[path], yes ? io::EncodeBoardFile(f.board()) : old);
        EXPECT_EQ(f.board().Modified, !yes);
        EXPECT_EQ(f.window.caption(), yes ? kCaption + path + " -" : before.caption);
    }
}

TEST_F(BoardFiles, CancelledOrFailedSaveKeepsTheOldFileAndState) {
    const Snapshot before = snapshot();
    f.form->SaveData();  // no path scripted: the dialog is cancelled
    EXPECT_EQ(f.dialogs.fileDialogs.size(), 1u);
    EXPECT_TRUE(f.files.files.empty());
    EXPECT_TRUE(snapshot() == before);

    // A failed write under a new name keeps FileName empty, so the next save asks again.
    f.files.failWrites.insert("/readonly/x.hxa");
    f.dialogs.filePaths = {"/readonly/x.hxa", "/data/x.hxa"};
    f.form->SaveData();
    EXPECT_TRUE(snapshot() == before);
    expectOnlyMessage(f.dialogs.messages, std::string(texts::kSaveFailed) + "\n/readonly/x.hxa\nNo space left on device",
                      MessageIcon::Exclamation);
    f.form->SaveData();
    EXPECT_EQ(f.dialogs.fileDialogs.size(), 3u);
    EXPECT_EQ(f.form->FileName, "/data/x.hxa");
    EXPECT_FALSE(f.board().Modified);

    // A failed overwrite keeps the old file byte for byte and Modified as it was.
    const Bytes old = boardFile(49, {{7, 7}});
    f.files.files["/data/x.hxa"] = old;
    f.files.failWrites.insert("/data/x.hxa");
    f.board().Modified = true;
    f.dialogs.answers.push_back(MessageAnswer::Yes);
    const Snapshot named = snapshot();
    f.form->SaveData();
    EXPECT_EQ(f.files.files["/data/x.hxa"], old);
    EXPECT_TRUE(snapshot() == named);
}

TEST_F(BoardFiles, LoadingTakesSizeCellsAndNameFromTheFile) {
    for (int32_t gridMax : {99, 199}) {
        SCOPED_TRACE(gridMax);
        f.board().Generation = 77;
        const std::string path = "/data/big" + std::to_string(gridMax) + ".hxa";
        f.files.files[path] = boardFile(gridMax, {{0, 0}, {gridMax, gridMax}});
        ASSERT_TRUE(f.form->OpenFile(path));
        EXPECT_EQ(f.board().GridMax, gridMax);
        EXPECT_EQ(f.window.boardScale(), gridMax + 1);
        const std::size_t side = static_cast<std::size_t>(gridMax) + 1;
        ASSERT_EQ(f.board().Cells.size(), side * side);
        EXPECT_EQ(f.board().Tally.size(), side * side);
        EXPECT_EQ(f.board().cell(0, 0), (engine::CellRecord{1, 1, 1, 7}));
        EXPECT_EQ(f.board().cell(gridMax, gridMax), (engine::CellRecord{1, gridMax + 1, gridMax + 1, 7}));
        EXPECT_EQ(f.board().countLive(), 2);
        EXPECT_EQ(f.board().Generation, 77);  // a load does not reset the generation
        EXPECT_FALSE(f.board().Modified);
        EXPECT_EQ(f.form->FileName, path);
        EXPECT_EQ(f.window.caption(), kCaption + path + " -");
        EXPECT_EQ(f.window.menuEnabled(Menu::PatternExpand), gridMax < 199);
        EXPECT_EQ(f.window.buttonEnabled("Expand"), gridMax < 199);
        EXPECT_TRUE(f.window.buttonEnabled("Reduction"));
        EXPECT_TRUE(f.dialogs.messages.empty());
    }
}

// A pattern file, a file cut short or a cell off the board is refused; a file
// that cannot be read is reported. Neither changes anything.
TEST_F(BoardFiles, RefusedOrUnreadableFilesChangeNothing) {
    const Bytes pattern = io::EncodePatternFile(io::CellBlock{1, 1, {{1, 2, 3, 4}}});
    Bytes cutRecord = boardFile(49, {{1, 1}});
    cutRecord.pop_back();
    Bytes offBoard = boardFile(50, {{50, 0}});
    offBoard[22] = 49;  // GridMax 49 with a cell in column 50
    f.form->FileName = "/data/current.hxa";
    const Snapshot before = snapshot();
    for (const Bytes& bytes : {pattern, cutRecord, offBoard}) {
        SCOPED_TRACE(bytes.size());
        f.dialogs.messages.clear();
        f.files.files["/data/x.hxa"] = bytes;
        EXPECT_FALSE(f.form->OpenFile("/data/x.hxa"));
        expectOnlyMessage(f.dialogs.messages, "このプログラムのデータではありません！", MessageIcon::None);
        EXPECT_TRUE(snapshot() == before);
    }
    f.dialogs.messages.clear();
    EXPECT_FALSE(f.form->OpenFile("/data/vanished.hxa"));
    expectOnlyMessage(f.dialogs.messages, std::string(texts::kOpenFailed) + "\n/data/vanished.hxa",
                      MessageIcon::Exclamation);
    EXPECT_TRUE(snapshot() == before);
}

// A seeded board counts as modified and has no name: the save question, then
// the save dialog, then the open dialog. Afterwards a load or a refusal draws.
TEST_F(BoardFiles, OpenCommandAsksToSaveFirstThenShowsTheOpenDialog) {
    ASSERT_TRUE(f.board().Modified);
    f.dialogs.answers.push_back(MessageAnswer::Yes);
    f.dialogs.filePaths = {"", ""};  // both dialogs cancelled
    f.form->mnuFileOpen_Click();
    expectOnlyMessage(f.dialogs.messages, "変更を保存しますか？", MessageIcon::Question, MessageButtons::YesNo,
                      MessageAnswer::Yes);
    ASSERT_EQ(f.dialogs.fileDialogs.size(), 2u);
    EXPECT_FALSE(f.dialogs.fileDialogs[0].open);
    EXPECT_TRUE(f.dialogs.fileDialogs[1].open);
    EXPECT_EQ(f.dialogs.fileDialogs[1].request.title, "ファイルを開く");
    EXPECT_EQ(f.dialogs.fileDialogs[1].request.filter, kBoardFilter);
    EXPECT_TRUE(f.board().Modified);

    f.dialogs.answers.push_back(MessageAnswer::No);  // straight to the open dialog
    f.files.files["/data/ok.hxa"] = boardFile(19, {{3, 3}});
    f.files.files["/data/bad.hxa"] = Bytes{'x'};
    f.dialogs.filePaths = {"/data/ok.hxa", "/data/bad.hxa", ""};
    for (int shown = f.window.showCount, i = 0; i < 3; ++i) {
        f.form->mnuFileOpen_Click();
        EXPECT_EQ(f.window.showCount, shown + (i < 2 ? i + 1 : 2));  // a cancelled dialog draws nothing
    }
    EXPECT_EQ(f.dialogs.messages.size(), 3u);  // no question once the board is saved
    EXPECT_EQ(f.dialogs.messages[2].text, texts::kNotOurData);
    EXPECT_EQ(f.board().GridMax, 19);
    EXPECT_EQ(f.window.panelText(2), "セル数 = 1");
}

TEST_F(BoardFiles, LoadingASmallerBoardDropsASelectionThatNoLongerFits) {
    f.files.files["/data/small.hxa"] = boardFile(39);
    for (const SelectionBox box : {SelectionBox{35, 35, 45, 38}, SelectionBox{10, 10, 39, 39}}) {
        const bool fits = box[2] <= 39;
        SCOPED_TRACE(fits);
        f.board().create(49);
        f.form->ScalePictures();
        f.drag(box[0], box[1], box[2], box[3]);
        ASSERT_TRUE(f.form->OpenFile("/data/small.hxa"));
        EXPECT_EQ(f.box()[0], fits ? 10 : -1);
        EXPECT_EQ(f.selection().FocusShown, fits);
        EXPECT_EQ(f.window.focus.has_value(), fits);
    }
}

}  // namespace
