// SPDX-License-Identifier: MIT
// Everyday comforts over the fakes: the speed readout and notice, the calm
// mode's limit on pictures during a run, the selection keys and the board's
// pop-up, the recent files, where dialogs start, and the readouts.

#include <gtest/gtest.h>

#include <chrono>

#include "app/command_line.h"
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

// The rung is always in the speed panel; a change by key or menu (also one
// at the ladder's end) shows a notice, start-up does not.
TEST(Everyday, TheSpeedIsInSightAndEachChangeIsNoticed) {
    ControllerFixture f;
    f.settings.ints[platform::setting::kSpeed] = 10;
    f.start();
    EXPECT_EQ(f.window.panelText(Panel::Speed), texts::kMenuExecSpeed10);
    f.command(Menu::ExecFaster);
    EXPECT_EQ(f.window.panelText(Panel::Speed), texts::kMenuExecSpeed20);
    f.command(Menu::ExecSpeedMax);
    const std::string prefix = texts::kNoticeSpeedPrefix;
    EXPECT_EQ(f.window.notices, (std::vector<std::string>{prefix + texts::kMenuExecSpeed20, prefix + texts::kMenuExecSpeedMax}));
}

// At 50 generations a second a two-second run on the fake clock computes
// the same generations in the calm mode but hands the window at most three
// pictures a second, and the board it stops at. Off at first, remembered.
TEST(Everyday, TheCalmModeLimitsPicturesNotTheRun) {
    const auto run = [](bool calm) {
        ControllerFixture f;
        f.settings.ints[platform::setting::kSpeed] = 50;
        f.start();
        EXPECT_FALSE(f.controller->Calm());
        if (calm) f.command(commandOf(f, texts::kMenuViewCalm));
        const int before = f.window.showCount;
        const auto start = f.window.now;
        f.window.onProcessEvents = [&] {
            if (f.window.now - start >= 2s) f.window.events->menuTriggered(Menu::ExecStop);
        };
        f.command(Menu::ExecStart);
        EXPECT_EQ(f.window.shown.pixels, f.picBuffer().pixels);
        EXPECT_EQ(f.settings.bools[platform::setting::kCalm], calm);
        return std::pair{f.board().Generation, f.window.showCount - before};
    };
    const auto [calmGenerations, calmPictures] = run(true);
    const auto [generations, pictures] = run(false);
    EXPECT_EQ(calmGenerations, generations);
    EXPECT_NEAR(generations, 100, 2);
    EXPECT_GE(pictures, 100);
    EXPECT_LE(calmPictures, 2 * 3 + 1);
}

// Ctrl+A selects the whole board, Delete clears the selection as one undo
// step, Escape drops it. The pop-up adds cut, copy, paste and registration
// after its own items, never shown in the menu bar; its cut is 切り取り.
TEST_F(Started, SelectionKeysAndThePopUpsEditCommands) {
    f.command(commandOf(f, "Ctrl+A"));
    EXPECT_EQ(f.box(), (SelectionBox{0, 0, f.board().GridMax, f.board().GridMax}));
    f.drag(2, 2, 5, 5);
    f.clearBoard(), f.setLive(3, 3), f.setLive(9, 9);
    f.command(commandOf(f, "Del; Backspace"));
    EXPECT_EQ(f.board().cell(3, 3).State + f.board().cell(9, 9).State, 1);
    f.command(Menu::EditUndo);
    EXPECT_EQ(f.board().cell(3, 3).State, 1);
    f.command(commandOf(f, "Esc"));
    EXPECT_FALSE(f.window.focus.has_value() || f.window.buttonEnabled(Button::Cut) || f.selection().SelLeft != -1);

    const Menu cut = commandOf(f, texts::kMenuPopupCut), registration = commandOf(f, texts::kMenuPopupRegister);
    EXPECT_FALSE(f.window.menuVisible(cut) || f.window.menuVisible(registration));
    f.window.onPopup = [&](platform::Popup) {
        EXPECT_TRUE(f.window.menuVisible(registration) && f.window.menuEnabled(registration));
        f.command(cut);
    };
    f.click(3, 3, platform::MouseButton::Right);
    EXPECT_EQ(f.board().cell(3, 3).State, 0);
    EXPECT_TRUE(f.clipboard.hasCells());
    EXPECT_FALSE(f.window.menuVisible(cut));
}

// Files opened and saved lead the list (eight, no repeats), remembered; an
// item opens its file; a file gone since leaves the list with a message.
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
    g.dialogs.answers.push_back(platform::MessageAnswer::No);  // the start-up board is not saved
    g.command(items[1]);
    EXPECT_EQ(g.board().GridMax, 29);
    EXPECT_EQ(g.settings.lists.at(platform::setting::kRecentFiles).front(), "/b/9.hxa");
    g.files.files.erase("/b/8.hxa");
    g.command(items[2]);
    EXPECT_EQ(g.dialogs.messages.back().text, std::string(texts::kRecentMissing) + "\n/b/8.hxa");
    EXPECT_FALSE(g.window.menuVisible(items[7]));
    EXPECT_EQ(g.fileName(), "/b/9.hxa");
    g.dialogs.filePaths.push_back("/c/saved.hxa");
    g.command(Menu::FileSaveAs);
    EXPECT_EQ(g.settings.lists.at(platform::setting::kRecentFiles).front(), "/c/saved.hxa");
}

// 開く starts in the board's folder with every kind it opens first, exports
// propose a name; the pointer panels are blank until the pointer is on the
// board, then follow the cell under it; F1 and readable keys in the help.
TEST(Everyday, DialogsReadoutsAndHelp) {
    ControllerFixture f;
    f.files.files["/home/u/life/glider.hxa"] = boardFile(30);
    f.start("/home/u/life/glider.hxa");
    EXPECT_EQ(f.window.panelText(Panel::Pointer) + f.window.panelText(Panel::Colour), "");
    f.command(Menu::FileOpen);
    const platform::FileDialogRequest& open = f.dialogs.fileDialogs.at(0).request;
    EXPECT_EQ(open.initialDirectory, "/home/u/life");
    EXPECT_EQ(open.filters.at(0), (platform::FileFilter{texts::kOpenableFilterName,
                                                        {"*.hxa", "*.rle", "*.cells", "*.mc", "*.lif", "*.life", "*.gz"}}));
    EXPECT_EQ(open.filters.at(1).name, texts::kBoardFilterName);
    EXPECT_EQ(f.controller->ExportName("csv"), "glider-graph.csv");

    f.move(f.at(6, 7), platform::MouseButton::None);
    EXPECT_EQ(f.window.panelText(Panel::Colour), "RGB = &H000000");
    f.random().reseed(1);
    f.click(6, 7, platform::MouseButton::Left, {.shift = true});
    EXPECT_NE(f.window.panelText(Panel::Colour), "RGB = &H000000");

    const std::string help = app::KeysHelpText(f.controller->commands());
    EXPECT_TRUE(help.find("Num+") == std::string::npos && help.find("テンキー +") != std::string::npos);
    EXPECT_EQ(platform::FindCommand(f.window.commands, Menu::HelpKeys)->key, std::string("F1"));
    const std::string usage = app::InformationRequest({"--help"}, "1").value_or("");
    for (const char* kind : {"(.hxa)", "(.rle)", "(.cells)"}) EXPECT_NE(usage.find(kind), std::string::npos) << kind;
}
