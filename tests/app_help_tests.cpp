// SPDX-License-Identifier: MIT
// The help menu: its list covers every command of the registry, kaleidomat(1)
// carries the same list, and the version information names the licence. A
// command added to the registry alone is in the menus, the help and the
// dispatcher.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/help_text.h"
#include "support/controller_fixture.h"

namespace {

// Every command the user can choose has a help line, and the help window
// shows it with its key and toolbar button.
TEST_F(Started, HelpWindowListsEveryCommandWithItsKey) {
    f.window.events->menuTriggered(platform::Menu::HelpKeys);
    const auto& [title, text] = f.dialogs.shownTexts.at(0);
    EXPECT_EQ(title, "操作方法");
    for (const auto& [c, behaviour] : f.controller->commands().rows()) {
        if (!app::NeedsHelpLine(c)) continue;
        ASSERT_NE(behaviour.help, nullptr) << "no help line for " << c.caption;
        EXPECT_NE(text.find(behaviour.help), std::string::npos) << c.caption;
        std::stringstream keys(c.key);  // several keys are written "A; B"
        for (std::string key; std::getline(keys >> std::ws, key, ';');)  // the keypad's keys as users read them
            EXPECT_NE(text.find(key.starts_with("Num+") ? "テンキー " + key.substr(4) : key), std::string::npos) << key;
    }
    for (const char* shown : {"  開く(O)...  [Ctrl+O, ツールバー「開く」]", "反転(V) > 左右(R)", "Shift+左クリック", ".cells"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown;
}

// The manual page lists the same commands, generated from the same registry.
TEST(Help, ManualPageCarriesTheSameLists) {
    ControllerFixture f;
    const std::string section = app::KeysManSection(f.create().commands());
    std::stringstream page;
    page << std::ifstream(KALEIDOMAT_SOURCE_DIR "/data/kaleidomat.1").rdbuf();
    EXPECT_NE(page.str().find(section), std::string::npos) << "data/kaleidomat.1 should hold this section:\n" << section;
}

TEST_F(Started, AboutNamesVersionLicenceAndToolkit) {
    f.window.events->menuTriggered(platform::Menu::HelpAbout);
    expectOnlyMessage(f.dialogs.messages, "Kaleidomat " KALEIDOMAT_VERSION "\n色のついたセルで動くコンウェイのライフゲーム\n\n"
                      "ライセンス: MIT License\nQt 6.0.0\nCopyright (c) 2026 The Kaleidomat developers\n\n"
                      "光の点滅に敏感な方は 表示 > 点滅を抑える を入にしてください。",
                      platform::MessageIcon::Information);
}

// One row and one handler make a command: the window gets its menu item
// (enabled by its rule), the help lists it, and choosing it runs the
// handler as one undo step; its rule follows the document at once.
TEST(Registry, ACommandAddedThroughTheRegistryAloneIsEverywhere) {
    ControllerFixture f;
    int runs = 0;
    const Menu id = f.create().commands().add(
        {.in = Menu::View, .caption = "すべて消す(&W)", .key = "Ctrl+W"},
        {.help = "盤面のセルをすべて消します。", .undo = app::UndoKind::Change, .run = [&] { ++runs, f.clearBoard(); },
         .enabled = [&] { return f.board().countLive() > 0; }});
    f.start();
    ASSERT_NE(platform::FindCommand(f.window.commands, id), nullptr);
    EXPECT_TRUE(f.window.menuEnabled(id));
    f.command(Menu::HelpKeys);
    EXPECT_NE(f.dialogs.shownTexts.at(0).second.find("すべて消す(W)  [Ctrl+W]\n      盤面のセルをすべて消します。"),
              std::string::npos);
    f.command(id);
    EXPECT_TRUE(runs == 1 && !f.window.menuEnabled(id));  // the board is empty
    f.command(Menu::EditUndo);
    EXPECT_TRUE(f.board().countLive() > 0 && f.window.menuEnabled(id));
}

}  // namespace
