// SPDX-License-Identifier: MIT
// Through the controller: the board kept after every change, at a run's stop and at
// closing; restoring it; Save As; the user's pattern folder.

#include <gtest/gtest.h>

#include "io/formats.h"
#include "support/controller_fixture.h"
#include "ui/texts.h"

using platform::Menu;
using Bytes = std::vector<uint8_t>;

namespace {

struct Keeping : Started {
    Bytes& kept() { return f.files.files[f.userFiles.ownBoard]; }
    Bytes board() { return io::EncodeBoardFile(f.board()); }
};

// Drawing an unchanged board keeps nothing. Each change is kept by the call
// it schedules (a second later); a run not while it goes but at its
// stop; closing at once. A failed write is retried silently.
TEST_F(Keeping, ChangesRunStopsAndClosingKeepTheBoard) {
    f.drag(1, 1, 3, 3);  // draws the board unchanged
    f.userFiles.runDue();
    EXPECT_TRUE(kept().empty());
    f.files.failWrites = {f.userFiles.ownBoard};
    for (Button b : {Button::Random, Button::Step, Button::Expand, Button::Clear, Button::Random}) {
        const Bytes before = kept();
        f.press(b);
        f.userFiles.runDue();
        EXPECT_EQ(kept(), f.files.failWrites.empty() ? board() : before);
        f.files.failWrites.clear();
    }
    f.window.onProcessEvents = [&] {
        f.userFiles.runDue();  // a second passes at every yield
        EXPECT_NE(kept(), board());
        if (f.window.processEventsCount == 3) f.press(Button::Stop);
    };
    f.press(Button::Start);
    EXPECT_EQ(kept(), board());
    f.click(5, 5, MouseButton::Left, kShift);
    const Bytes atClose = board();
    f.window.close();
    EXPECT_EQ(kept(), atClose);
    EXPECT_TRUE(f.dialogs.messages.empty());
}

// A failed keeping is told once in the status bar, and while it fails closing
// asks whether to save a changed board; a keeping that works ends the asking.
// A failed save of the settings is told once the same way.
TEST_F(Keeping, AFailedKeepingIsToldOnceAndClosingAsks) {
    auto& panel = f.window.panels[3];
    f.files.failWrites = {f.userFiles.ownBoard};
    for (int i = 0; i < 2; ++i) {
        panel.clear();
        f.press(Button::Random);
        f.userFiles.runDue();
        EXPECT_EQ(panel, i == 0 ? std::string(texts::kKeepFailed) + "No space left on device" : "");
    }
    f.files.failWrites.clear();
    f.press(Button::Random);
    f.userFiles.runDue();
    f.files.failWrites = {f.userFiles.ownBoard};
    f.press(Button::Step);
    f.settings.saveFailure = platform::Error{"Read-only file system"};
    f.command(Menu::ViewRaised);
    EXPECT_EQ(panel, std::string(texts::kSettingsSaveFailed) + "Read-only file system");
    f.command(Menu::ViewRaised);
    EXPECT_EQ(panel, std::string(texts::kSettingsSaveFailed) + "Read-only file system");
    EXPECT_TRUE(f.dialogs.messages.empty());
    f.dialogs.answers = {platform::MessageAnswer::Yes};
    f.dialogs.filePaths = {"/d/saved.hxa"};
    f.window.close();
    expectOnlyMessage(f.dialogs.messages, texts::kSaveChanges, platform::MessageIcon::Question,
                      platform::MessageButtons::YesNo, platform::MessageAnswer::Yes);
    EXPECT_FALSE(f.files.files["/d/saved.hxa"].empty());
}

// Restoring opens the kept board as 開く does, question first, bound to no
// file, so that 保存 asks for a name; with nothing kept it only says so.
// Save As asks for a name even with a file; a failed one keeps the old name.
TEST_F(Keeping, RestoreAndSaveAs) {
    f.window.events->menuTriggered(Menu::FileRestore);
    f.userFiles.lastBoard = "/state/1.hxa";
    const Bytes keptBoard = f.files.files[f.userFiles.lastBoard] = boardFile(29, {{3, 4}});
    f.dialogs.answers = {platform::MessageAnswer::No};
    f.window.events->menuTriggered(Menu::FileRestore);
    EXPECT_EQ(f.dialogs.messages.at(0).text, texts::kNothingToRestore);
    EXPECT_EQ(f.dialogs.messages.at(1).text, texts::kSaveChanges);
    EXPECT_EQ(board(), keptBoard);
    f.dialogs.filePaths = {"/d/a.hxa", "/d/b.hxa", "/d/c.hxa"};
    f.files.failWrites = {"/d/b.hxa"};
    f.press(Button::Save);
    f.board().Modified = true;
    f.window.events->menuTriggered(Menu::FileSaveAs);
    EXPECT_EQ(f.fileName(), "/d/a.hxa");
    f.window.events->menuTriggered(Menu::FileSaveAs);
    EXPECT_EQ(f.dialogs.messages.at(2).text, std::string(texts::kSaveFailed) + "\n/d/b.hxa\nNo space left on device");
    EXPECT_EQ(f.files.files["/d/a.hxa"], f.files.files["/d/c.hxa"]);
    EXPECT_EQ(f.window.caption(), "Chromatessellator  - /d/c.hxa -");
    EXPECT_FALSE(f.board().Modified);
}

// The user's patterns are listed after the program's; registration opens in
// the user's folder, made then; an item stamps from wherever it was saved and
// goes when its file has gone.
TEST(UserPatterns, ListedAfterTheProgramsAndStampedFromWhereTheyWereSaved) {
    ControllerFixture f;
    f.files.addProgramFile("beside.hxq", {1});
    f.files.files["/home/user/patterns/mine.hxq"] = io::EncodePatternFile(io::CellBlock{1, 1, {{1, 9, 9, 9}}});
    f.files.listingOrder.push_back("mine.hxq");
    f.start();
    f.setLive(4, 7, 50, 60, 70);
    f.drag(4, 7, 4, 7);
    f.dialogs.filePaths = {"/elsewhere/x.hxq"};
    f.press(Button::NewRegistration);
    EXPECT_EQ(f.dialogs.fileDialogs.at(0).request.initialDirectory, f.userFiles.patterns);
    EXPECT_TRUE(f.userFiles.patternFolderMade);
    EXPECT_EQ(std::vector<std::string>(f.window.patternItems.begin() + 6, f.window.patternItems.end()),
              (std::vector<std::string>{"beside", "mine", "x", "パターン登録"}));
    for (int item : {8, 7}) {
        f.drag(20, item, 20, item);
        f.window.events->patternItemTriggered(item);
        EXPECT_EQ(f.board().cell(20, item).Red, item == 8 ? 50 : 9);
    }
    f.files.files.erase("/elsewhere/x.hxq");
    f.window.events->patternItemTriggered(8);
    EXPECT_EQ(f.window.patternItems.size(), 9u);
}

}  // namespace
