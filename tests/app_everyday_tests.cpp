// SPDX-License-Identifier: MIT
// Everyday comforts over the fakes: the speed readout and notice, the calm
// mode's limit on pictures during a run, the selection keys and the board's
// pop-up, the recent files, the file dialogs' start, and the readouts.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "app/help_text.h"
#include "support/controller_fixture.h"
#include "ui/texts.h"

using namespace std::chrono_literals;
using platform::Panel;

namespace {

// A command by its caption, or a key-only one by its keys.
Menu commandOf(const ControllerFixture& f, const std::string& captionOrKey) {
    for (const platform::Command& c : f.window.commands)
        if (c.caption == captionOrKey || c.key == captionOrKey) return c.id;
    ADD_FAILURE() << "no command " << captionOrKey;
    return Menu::Unassigned;
}

}  // namespace

// The rung is always in the speed panel; a change by key or menu also shows
// a notice over the board, the start-up one does not.
TEST(Everyday, TheSpeedIsInSightAndEachChangeIsNoticed) {
    ControllerFixture f;
    f.settings.ints[platform::setting::kSpeed] = 10;
    f.start();
    EXPECT_EQ(f.window.panelText(Panel::Speed), texts::kMenuExecSpeed10);
    EXPECT_TRUE(f.window.notices.empty());
    f.command(Menu::ExecFaster);
    EXPECT_EQ(f.window.panelText(Panel::Speed), texts::kMenuExecSpeed20);
    f.command(Menu::ExecSpeedMax);
    f.command(Menu::ExecFaster);  // at the top already: told again, unchanged
    EXPECT_EQ(f.window.panelText(Panel::Speed), texts::kMenuExecSpeedMax);
    const std::string prefix = texts::kNoticeSpeedPrefix;
    EXPECT_EQ(f.window.notices, (std::vector<std::string>{prefix + texts::kMenuExecSpeed20,
                                                          prefix + texts::kMenuExecSpeedMax,
                                                          prefix + texts::kMenuExecSpeedMax}));
}

// At 50 generations a second a run of two seconds on the fake clock keeps its
// rate in the calm mode but hands the window at most three pictures a second;
// the board it stops at is shown whole. The mode is off at first and remembered.
TEST(Everyday, TheCalmModeLimitsPicturesNotTheRun) {
    const auto run = [](bool calm) {
        ControllerFixture f;
        f.settings.ints[platform::setting::kSpeed] = 50;
        if (calm) f.settings.bools[platform::setting::kCalm] = true;
        f.start();
        EXPECT_EQ(f.controller->Calm(), calm);
        EXPECT_EQ(f.window.menuChecked(commandOf(f, texts::kMenuViewCalm)), calm);
        const int before = f.window.showCount;
        const auto start = f.window.now;
        f.window.onProcessEvents = [&] {
            if (f.window.now - start >= 2s) f.window.events->menuTriggered(Menu::ExecStop);
        };
        f.command(Menu::ExecStart);
        EXPECT_EQ(f.run().RunMode, RunMode::Stopped);
        EXPECT_EQ(f.window.shown.pixels, f.picBuffer().pixels);
        return std::pair{f.board().Generation, f.window.showCount - before};
    };
    const auto [calmGenerations, calmPictures] = run(true);
    const auto [generations, pictures] = run(false);
    EXPECT_EQ(calmGenerations, generations);
    EXPECT_NEAR(generations, 100, 2);
    EXPECT_GE(pictures, 100);
    EXPECT_LE(calmPictures, 2 * 3 + 1);  // one more: the stop's

    ControllerFixture f;
    f.start();
    EXPECT_FALSE(f.controller->Calm());
    f.command(commandOf(f, texts::kMenuViewCalm));
    EXPECT_TRUE(f.settings.bools.at(platform::setting::kCalm));
    EXPECT_TRUE(f.window.menuChecked(commandOf(f, texts::kMenuViewCalm)));
}

// Ctrl+A selects the whole board, Delete clears the selection's cells as one
// undo step, Escape drops the selection; none of them works during a run.
TEST_F(Started, SelectionKeysSelectAllDeleteAndDrop) {
    f.command(commandOf(f, "Ctrl+A"));
    EXPECT_EQ(f.box(), (SelectionBox{0, 0, f.board().GridMax, f.board().GridMax}));
    EXPECT_TRUE(f.window.focus.has_value());
    f.drag(2, 2, 5, 5);
    f.clearBoard(), f.setLive(3, 3), f.setLive(9, 9);
    f.command(commandOf(f, "Del; Backspace"));
    EXPECT_EQ(f.board().cell(3, 3).State, 0);
    EXPECT_EQ(f.board().cell(9, 9).State, 1);
    f.command(Menu::EditUndo);
    EXPECT_EQ(f.board().cell(3, 3).State, 1);
    f.command(commandOf(f, "Esc"));
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_FALSE(f.window.focus.has_value());
    EXPECT_FALSE(f.window.buttonEnabled(Button::Cut));
    f.command(commandOf(f, "Del; Backspace"));  // nothing selected: nothing cleared
    EXPECT_EQ(f.board().cell(9, 9).State, 1);
}

// The board's pop-up shows cut, copy, paste and registration after its own
// items, never the menu bar's パターン menu; its cut is the edit menu's cut.
TEST_F(Started, ThePopUpCarriesTheEditCommands) {
    const std::vector<Menu> items{commandOf(f, texts::kMenuPopupCut), commandOf(f, texts::kMenuPopupCopy),
                                  commandOf(f, texts::kMenuPopupPaste), commandOf(f, texts::kMenuPopupRegister)};
    for (Menu m : items) EXPECT_FALSE(f.window.menuVisible(m));
    f.clearBoard(), f.setLive(4, 4);
    f.drag(3, 3, 5, 5);
    f.window.onPopup = [&](platform::Popup) {
        for (Menu m : items) EXPECT_TRUE(f.window.menuVisible(m));
        EXPECT_TRUE(f.window.menuEnabled(items[0]));
        EXPECT_TRUE(f.window.menuEnabled(items[3]));
        f.window.onPopup = nullptr;
        f.command(items[0]);
    };
    f.click(4, 4, platform::kRightButton);
    EXPECT_EQ(f.window.popups.size(), 1u);
    EXPECT_EQ(f.board().cell(4, 4).State, 0);
    EXPECT_TRUE(f.clipboard.hasCells());
    for (Menu m : items) EXPECT_FALSE(f.window.menuVisible(m));
    f.command(Menu::EditUndo);
    EXPECT_EQ(f.board().cell(4, 4).State, 1);
}

// Boards opened and saved come first in the list (at most eight, no
// repeats), remembered; an item opens its file; a file gone since is taken
// off with a message.
TEST(Everyday, RecentFilesAreKeptOpenedAndPruned) {
    ControllerFixture f;
    for (int i = 0; i < 10; ++i) f.files.files["/b/" + std::to_string(i) + ".hxa"] = boardFile(20 + i);
    f.start();
    const Menu submenu = commandOf(f, texts::kMenuFileRecent);
    EXPECT_FALSE(f.window.menuEnabled(submenu));
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 3}) {
        f.dialogs.filePaths.push_back("/b/" + std::to_string(i) + ".hxa");
        f.command(Menu::FileOpen);
    }
    const std::vector<std::string> expected{"/b/3.hxa", "/b/9.hxa", "/b/8.hxa", "/b/7.hxa",
                                            "/b/6.hxa", "/b/5.hxa", "/b/4.hxa", "/b/2.hxa"};
    EXPECT_EQ(f.settings.lists.at(platform::setting::kRecentFiles), expected);
    EXPECT_TRUE(f.window.menuEnabled(submenu));

    ControllerFixture g;  // the next start
    g.files.files = f.files.files;
    g.settings.lists = f.settings.lists;
    g.start();
    std::vector<Menu> items;
    for (const platform::Command& c : g.window.commands)
        if (c.in == commandOf(g, texts::kMenuFileRecent)) items.push_back(c.id);
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(g.window.captions.at(items[1]), "&2 /b/9.hxa");
    g.dialogs.answers.push_back(platform::MessageAnswer::No);  // the random board is not saved
    g.command(items[1]);
    EXPECT_EQ(g.dialogs.messages.size(), 1u);  // the question before another board is loaded
    g.dialogs.messages.clear();
    EXPECT_EQ(g.fileName(), "/b/9.hxa");
    EXPECT_EQ(g.board().GridMax, 29);
    EXPECT_EQ(g.settings.lists.at(platform::setting::kRecentFiles).front(), "/b/9.hxa");

    g.files.files.erase("/b/8.hxa");
    g.command(items[2]);
    ASSERT_EQ(g.dialogs.messages.size(), 1u);
    EXPECT_EQ(g.dialogs.messages[0].text, std::string(texts::kRecentMissing) + "\n/b/8.hxa");
    EXPECT_EQ(g.settings.lists.at(platform::setting::kRecentFiles).size(), 7u);
    EXPECT_FALSE(g.window.menuVisible(items[7]));
    EXPECT_EQ(g.fileName(), "/b/9.hxa");

    g.dialogs.filePaths.push_back("/c/saved.hxa");
    g.command(Menu::FileSaveAs);
    EXPECT_EQ(g.settings.lists.at(platform::setting::kRecentFiles).front(), "/c/saved.hxa");
}

// 開く offers every kind it opens first and starts in the current file's
// folder; an export proposes a name from the board's file and the kind.
TEST(Everyday, DialogsStartWhereTheBoardIsAndProposeNames) {
    ControllerFixture f;
    f.files.files["/home/u/life/glider.hxa"] = boardFile(30);
    f.start("/home/u/life/glider.hxa");
    f.command(Menu::FileOpen);
    ASSERT_EQ(f.dialogs.fileDialogs.size(), 1u);
    const platform::FileDialogRequest& open = f.dialogs.fileDialogs[0].request;
    EXPECT_EQ(open.initialDirectory, "/home/u/life");
    ASSERT_GE(open.filters.size(), 2u);
    EXPECT_EQ(open.filters[0], (platform::FileFilter{texts::kOpenableFilterName, {"*.hxa", "*.rle", "*.cells"}}));
    EXPECT_EQ(open.filters[1].name, texts::kBoardFilterName);
    EXPECT_EQ(f.controller->ExportName("csv"), "glider-graph.csv");
    f.fileName().clear();
    EXPECT_EQ(f.controller->ExportName("svg"), "graph.svg");
}

// The pointer panels are blank until the pointer is on the board; the colour
// panel follows a change of the cell under the pointer.
TEST_F(Started, TheReadoutsFollowThePointerAndTheCell) {
    EXPECT_EQ(f.window.panelText(Panel::Pointer), "");
    EXPECT_EQ(f.window.panelText(Panel::Colour), "");
    f.clearBoard();
    f.command(Menu::ExecStep);
    f.move(6.5f, 7.5f, 0);
    EXPECT_EQ(f.window.panelText(Panel::Pointer), "x = 6, y = 7");
    EXPECT_EQ(f.window.panelText(Panel::Colour), "RGB = &H000000");
    f.click(6, 7, platform::kLeftButton, platform::kShiftKey);
    const engine::CellRecord& c = f.board().cell(6, 7);
    char expected[32];
    std::snprintf(expected, sizeof expected, "RGB = &H%02X%02X%02X", c.Red & 0xFF, c.Green & 0xFF, c.Blue & 0xFF);
    EXPECT_EQ(f.window.panelText(Panel::Colour), expected);
}

// F1 opens the help; keys are written as users read them, and the
// version information tells of the calm mode.
TEST_F(Started, HelpByF1WithReadableKeys) {
    const std::string help = app::KeysHelpText(f.controller->commands());
    EXPECT_EQ(help.find("Num+"), std::string::npos);
    EXPECT_NE(help.find("テンキー +"), std::string::npos);
    EXPECT_EQ(platform::FindCommand(f.window.commands, Menu::HelpKeys)->key, std::string("F1"));
    EXPECT_NE(app::AboutText("").find(texts::kAboutCalm), std::string::npos);
}
