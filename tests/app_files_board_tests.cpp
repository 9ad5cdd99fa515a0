// SPDX-License-Identifier: MIT
// Board data files through the controller: saving, loading, the open and save commands,
// their questions, messages and dialogs, and the Modified and FileName
// transitions. The format's hostile inputs are tested in io/; here one refusal
// of each kind proves the wiring.

#include <gtest/gtest.h>

#include "support/controller_fixture.h"
#include "ui/texts.h"

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using Bytes = std::vector<uint8_t>;

namespace {

struct BoardFiles : Started {
    // Everything a refused or failed load or save must leave as it was.
    std::tuple<std::vector<engine::CellRecord>, std::string, std::string, bool> snapshot() {
        return {f.board().Cells, f.fileName(), f.window.caption(), f.board().Modified};
    }
};

TEST_F(BoardFiles, FirstSaveAsksForANameAndWritesTheBoard) {
    f.files.currentDir = "/work/here";
    f.clearBoard();
    f.setLive(2, 3, 255, 128, 1);
    f.dialogs.filePaths.push_back("/data/b.hxa");
    f.press(Button::Save);
    ASSERT_EQ(f.dialogs.fileDialogs.size(), 1u);
    const auto& [open, request] = f.dialogs.fileDialogs[0];
    EXPECT_FALSE(open);
    EXPECT_EQ((std::vector<std::string>{request.title, request.defaultExtension, request.initialDirectory}),
              (std::vector<std::string>{"ファイルを保存", "hxa", "/work/here"}));
    EXPECT_EQ(request.filters, (std::vector<platform::FileFilter>{{"ライフデータファイル (*.hxa)", {"*.hxa"}},
                                                                  {"すべてのファイル (*.*)", {"*"}}}));
    EXPECT_TRUE(f.dialogs.messages.empty());  // no overwrite question for a name chosen now
    EXPECT_EQ(f.files.files["/data/b.hxa"], io::EncodeBoardFile(f.board()));
    EXPECT_FALSE(f.board().Modified);
    EXPECT_EQ(f.window.caption(), "Chromatessellator  - /data/b.hxa -");
}

TEST_F(BoardFiles, OverwriteQuestionGuardsAnExistingFile) {
    const Bytes old = boardFile(49, {{1, 1}});
    f.files.files["/data/a.hxa"] = old;
    f.fileName() = "/data/a.hxa";
    f.dialogs.answers = {MessageAnswer::No, MessageAnswer::Yes};
    f.command(Menu::FileSave);
    expectOnlyMessage(f.dialogs.messages, "'/data/a.hxa' を上書きしますか？", MessageIcon::Question,
                      MessageButtons::YesNo, MessageAnswer::No);
    EXPECT_EQ(f.files.files["/data/a.hxa"], old);
    EXPECT_TRUE(f.board().Modified);
    f.command(Menu::FileSave);
    EXPECT_EQ(f.files.files["/data/a.hxa"], io::EncodeBoardFile(f.board()));
    EXPECT_FALSE(f.board().Modified);
    EXPECT_TRUE(f.dialogs.fileDialogs.empty());
}

// A failed write under a new name keeps FileName empty, so the next save asks again.
TEST_F(BoardFiles, FailedSaveKeepsTheState) {
    const auto before = snapshot();
    f.files.failWrites.insert("/readonly/x.hxa");
    f.dialogs.filePaths = {"/readonly/x.hxa", "/data/x.hxa"};
    f.command(Menu::FileSave);
    EXPECT_TRUE(snapshot() == before);
    expectOnlyMessage(f.dialogs.messages, std::string(texts::kSaveFailed) + "\n/readonly/x.hxa\nNo space left on device",
                      MessageIcon::Exclamation);
    f.command(Menu::FileSave);
    EXPECT_EQ(f.dialogs.fileDialogs.size(), 2u);
    EXPECT_EQ(f.fileName(), "/data/x.hxa");
}

// A load takes size, cells and name from the file and drops a selection that
// no longer fits; a file with a cell off the board is refused as a whole, and
// an unreadable file reported, changing nothing.
TEST_F(BoardFiles, LoadingAndRefusing) {
    f.drag(35, 35, 45, 38);
    f.files.files["/data/big.hxa"] = boardFile(39, {{0, 0}, {39, 39}});
    ASSERT_TRUE(f.controller->OpenFile("/data/big.hxa"));
    EXPECT_EQ(f.board().GridMax, 39);
    EXPECT_EQ(f.window.boardScale(), 40);
    EXPECT_EQ(f.board().cell(39, 39), (engine::CellRecord{1, 40, 40, 7}));
    EXPECT_EQ(f.board().countLive(), 2);
    EXPECT_FALSE(f.board().Modified);
    EXPECT_EQ(f.window.caption(), "Chromatessellator  - /data/big.hxa -");
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_EQ(f.window.focus, std::nullopt);

    Bytes offBoard = boardFile(50, {{1, 1}, {50, 0}});
    offBoard[22] = 49;  // GridMax 49 with a cell in column 50
    const auto before = snapshot();
    f.files.files["/data/x.hxa"] = offBoard;
    EXPECT_FALSE(f.controller->OpenFile("/data/x.hxa"));
    expectOnlyMessage(f.dialogs.messages, "このプログラムのデータではありません！", MessageIcon::None);
    EXPECT_TRUE(snapshot() == before);
    f.dialogs.messages.clear();
    EXPECT_FALSE(f.controller->OpenFile("/data/vanished.hxa"));
    expectOnlyMessage(f.dialogs.messages, std::string(texts::kOpenFailed) + "\n/data/vanished.hxa",
                      MessageIcon::Exclamation);
    EXPECT_TRUE(snapshot() == before);
}

// A seeded board counts as modified: the save question, then the save
// dialog, then the open dialog. A load then draws.
TEST_F(BoardFiles, OpenCommandAsksToSaveFirstThenShowsTheOpenDialog) {
    f.dialogs.answers.push_back(MessageAnswer::Yes);
    f.files.files["/data/ok.hxa"] = boardFile(19, {{3, 3}});
    f.dialogs.filePaths = {"", "/data/ok.hxa"};  // the save dialog cancelled
    f.press(Button::Open);
    expectOnlyMessage(f.dialogs.messages, "変更を保存しますか？", MessageIcon::Question, MessageButtons::YesNo,
                      MessageAnswer::Yes);
    ASSERT_EQ(f.dialogs.fileDialogs.size(), 2u);
    EXPECT_TRUE(!f.dialogs.fileDialogs[0].open && f.dialogs.fileDialogs[1].open);
    EXPECT_EQ(f.dialogs.fileDialogs[1].request.title, texts::kOpenDialogTitle);
    EXPECT_EQ(f.window.panelText(platform::Panel::Population), "セル数 = 1");
}

}  // namespace
