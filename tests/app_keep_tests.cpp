// SPDX-License-Identifier: MIT
// Through Form1: the board kept after every change, at a run's stop and at
// closing; restoring it; Save As; the user's pattern folder.

#include <gtest/gtest.h>

#include <functional>

#include "io/formats.h"
#include "support/form_fixture.h"
#include "ui/texts.h"

using platform::Menu;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using Bytes = std::vector<uint8_t>;

namespace {

struct Keeping : Started {
    std::string own() { return f.userFiles.ownBoard; }
    bool kept() { return f.files.files.count(own()) != 0; }
    Bytes boardBytes() { return io::EncodeBoardFile(f.board()); }
    void choose(Menu item) { f.window.events->menuTriggered(item); }
};

// Drawing an unchanged board (start-up, an expose, a selection) keeps
// nothing; every kind of change is kept by the call it schedules, at most a
// second later. A failed write says nothing and the next change tries again.
TEST_F(Keeping, EveryChangeIsKeptWithinASecond) {
    f.window.events->boardExposed();
    f.drag(1, 1, 3, 3);
    f.userFiles.runDue();
    EXPECT_FALSE(kept());

    f.files.files["/d/a.hxa"] = boardFile(19, {{2, 2}, {2, 3}, {2, 4}});
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"shift click", [&] { f.click(5, 5, platform::kLeftButton, platform::kShiftKey); }},
        {"random", [&] { f.press(Button::Random); }},
        {"step", [&] { f.press(Button::Step); }},
        {"expand", [&] { f.press(Button::Expand); }},
        {"open", [&] {
             f.dialogs.answers.push_back(MessageAnswer::No);  // not saving the random board
             f.dialogs.filePaths.push_back("/d/a.hxa");
             f.press(Button::Open);
         }},
        {"clear", [&] { f.press(Button::Clear); }},
    };
    for (const auto& [name, change] : changes) {
        const Bytes before = kept() ? f.files.files[own()] : Bytes{};
        change();
        ASSERT_NE(boardBytes(), before) << name;
        ASSERT_FALSE(f.userFiles.due.empty()) << name;
        f.userFiles.runDue();
        EXPECT_EQ(f.files.files[own()], boardBytes()) << name;
    }
    for (int delay : f.userFiles.delays) EXPECT_LE(delay, 1000);

    f.files.failWrites.insert(own());
    f.click(5, 5, platform::kLeftButton, platform::kShiftKey);
    f.userFiles.runDue();
    EXPECT_NE(f.files.files[own()], boardBytes());
    f.files.failWrites.clear();
    f.click(6, 6, platform::kLeftButton, platform::kShiftKey);
    f.userFiles.runDue();
    EXPECT_EQ(f.files.files[own()], boardBytes());
    EXPECT_EQ(f.dialogs.messages.size(), 1u);  // the open's question only
}

// A continuous run writes nothing however many seconds pass, and keeps the
// board at its stop (pressed, or by extinction) without waiting.
TEST_F(Keeping, ARunIsKeptAtItsStop) {
    for (bool extinction : {false, true}) {
        f.files.files.erase(own());
        if (extinction) {
            f.clearBoard();
            f.setLive(10, 10);
        }
        bool keptDuringRun = false;
        int yields = 0;
        f.window.onProcessEvents = [&] {
            f.userFiles.runDue();  // a second passes at every yield
            if (f.run().RunMode == RunMode::Continuous) keptDuringRun = keptDuringRun || kept();
            if (++yields == 5) f.press(Button::Stop);
        };
        f.press(Button::Start);
        EXPECT_FALSE(keptDuringRun) << extinction;
        ASSERT_TRUE(kept()) << extinction;
        EXPECT_EQ(f.files.files[own()], boardBytes()) << extinction;
        if (extinction) {
            EXPECT_EQ(f.board().Population(), 0);
        }
    }
}

// Closing keeps the board at once; a call still due afterwards does nothing.
TEST_F(Keeping, ClosingKeepsTheBoardAtOnce) {
    f.press(Button::Random);
    const Bytes atClose = boardBytes();
    f.window.close();
    EXPECT_EQ(f.files.files[own()], atClose);
    f.files.files.erase(own());
    f.userFiles.runDue();
    EXPECT_FALSE(kept());
}

// Restoring opens the kept board as 開く does, question first, but binds the
// window to no file, so that 保存 asks for a name. Nothing kept, or a kept
// file that is not a board, changes nothing.
TEST_F(Keeping, RestoreOpensTheKeptBoardBoundToNoFile) {
    f.fileName() = "/d/a.hxa";
    const Bytes before = boardBytes();
    choose(Menu::FileRestore);
    expectOnlyMessage(f.dialogs.messages, texts::kNothingToRestore, MessageIcon::Information);

    f.userFiles.lastBoard = "/state/kaleidomat/board-1.hxa";
    f.files.files[f.userFiles.lastBoard] = {'x'};
    f.dialogs.messages.clear();
    f.dialogs.answers = {MessageAnswer::No};
    choose(Menu::FileRestore);
    EXPECT_EQ(f.dialogs.messages.at(1).text, texts::kNotOurData);
    EXPECT_EQ(boardBytes(), before);
    EXPECT_EQ(f.fileName(), "/d/a.hxa");

    const Bytes keptBoard = boardFile(29, {{3, 4}, {20, 1}});
    f.files.files[f.userFiles.lastBoard] = keptBoard;
    f.dialogs.messages.clear();
    f.dialogs.answers = {MessageAnswer::No};
    choose(Menu::FileRestore);
    expectOnlyMessage(f.dialogs.messages, texts::kSaveChanges, MessageIcon::Question, MessageButtons::YesNo,
                      MessageAnswer::Yes);
    EXPECT_EQ(boardBytes(), keptBoard);
    EXPECT_EQ(f.window.boardScale(), 30);
    EXPECT_EQ(f.window.panels[2], "セル数 = 2");
    EXPECT_EQ(f.fileName(), "");
    EXPECT_EQ(f.window.caption(), "Kaleidomat");
    EXPECT_FALSE(f.board().Modified);

    f.dialogs.filePaths.push_back("/d/new.hxa");
    f.press(Button::Save);
    EXPECT_EQ(f.dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(f.files.files["/d/new.hxa"], keptBoard);
    EXPECT_EQ(f.window.caption(), "Chromatessellator  - /d/new.hxa -");
}

// Save As shows the dialog even with a file to save to; cancelled or failed,
// it changes nothing (after saying why it failed); otherwise it saves as 保存
// does and binds the window to the new file.
TEST_F(Keeping, SaveAsAlwaysAsksForTheName) {
    const Bytes old = boardFile(49, {{1, 1}});
    f.files.files["/d/a.hxa"] = old;
    f.fileName() = "/d/a.hxa";
    f.files.failWrites.insert("/full/b.hxa");
    for (const char* path : {"", "/full/b.hxa"}) {
        f.dialogs.filePaths.push_back(path);
        choose(Menu::FileSaveAs);
        EXPECT_EQ(f.fileName(), "/d/a.hxa") << path;
        EXPECT_TRUE(f.board().Modified) << path;
        EXPECT_EQ(f.files.files.count("/full/b.hxa"), 0u);
    }
    expectOnlyMessage(f.dialogs.messages, std::string(texts::kSaveFailed) + "\n/full/b.hxa\nNo space left on device",
                      MessageIcon::Exclamation);

    f.dialogs.filePaths.push_back("/d/b.hxa");
    choose(Menu::FileSaveAs);
    ASSERT_EQ(f.dialogs.fileDialogs.size(), 3u);
    const auto& [open, request] = f.dialogs.fileDialogs.back();
    EXPECT_FALSE(open);
    EXPECT_EQ((std::vector<std::string>{request.title, request.defaultExtension, request.initialDirectory}),
              (std::vector<std::string>{"ファイルを保存", "hxa", "/home/user"}));
    EXPECT_EQ(f.files.files["/d/b.hxa"], boardBytes());
    EXPECT_EQ(f.files.files["/d/a.hxa"], old);
    EXPECT_EQ(f.fileName(), "/d/b.hxa");
    EXPECT_EQ(f.window.caption(), "Chromatessellator  - /d/b.hxa -");
    EXPECT_FALSE(f.board().Modified);
    EXPECT_EQ(f.dialogs.messages.size(), 1u);  // no overwrite question
}

// The menu lists the patterns beside the program, then the user's; the
// registration dialog opens in the user's folder, made when first needed; an
// item stamps from wherever its file was registered, and loses its item when
// that file has gone.
TEST(UserPatterns, ListedAfterTheProgramsAndStampedFromWhereTheyWereSaved) {
    FormFixture f;
    const std::string folder = f.userFiles.patterns;
    io::CellBlock mine{2, 1, {{1, 9, 9, 9}, {1, 8, 8, 8}}};
    f.files.addProgramFile("beside.hxq", io::EncodePatternFile(io::CellBlock{1, 1, {{1, 1, 1, 1}}}));
    f.files.files[folder + "/mine.hxq"] = io::EncodePatternFile(mine);
    f.files.listingOrder.push_back("mine.hxq");
    f.start();
    auto& items = f.window.patternItems;
    EXPECT_EQ(std::vector<std::string>(items.end() - 4, items.end()),
              (std::vector<std::string>{"-", "beside", "mine", "パターン登録"}));
    EXPECT_FALSE(f.userFiles.patternFolderMade);

    f.clearBoard();
    f.setLive(4, 7, 50, 60, 70);
    f.setLive(6, 8, 80, 90, 100);
    f.drag(4, 7, 6, 8);
    f.dialogs.filePaths.push_back("/elsewhere/x.hxq");
    f.press(Button::NewRegistration);
    EXPECT_TRUE(f.userFiles.patternFolderMade);
    EXPECT_EQ(f.dialogs.fileDialogs.at(0).request.initialDirectory, folder);
    const auto index = [&](const std::string& caption) {
        return static_cast<int>(std::find(items.begin(), items.end(), caption) - items.begin());
    };

    f.drag(20, 20, 20, 20);
    f.window.events->patternItemTriggered(index("x"));
    EXPECT_EQ(f.box(), (SelectionBox{20, 20, 22, 21}));
    EXPECT_EQ(f.board().cell(20, 20), (engine::CellRecord{1, 50, 60, 70}));
    EXPECT_EQ(f.board().cell(22, 21), (engine::CellRecord{1, 80, 90, 100}));
    f.drag(30, 30, 30, 30);
    f.window.events->patternItemTriggered(index("mine"));
    EXPECT_EQ(f.board().cell(31, 30), (engine::CellRecord{1, 8, 8, 8}));

    f.files.files.erase(folder + "/mine.hxq");
    f.files.files.erase("/elsewhere/x.hxq");
    f.window.events->patternItemTriggered(index("mine"));
    f.window.events->patternItemTriggered(index("x"));
    EXPECT_EQ(std::vector<std::string>(items.end() - 3, items.end()),
              (std::vector<std::string>{"-", "beside", "パターン登録"}));
    EXPECT_TRUE(f.dialogs.messages.empty());
    f.window.events->patternItemTriggered(index("beside"));
    EXPECT_EQ(f.board().cell(30, 30), (engine::CellRecord{1, 1, 1, 1}));
}

}  // namespace
