// SPDX-License-Identifier: MIT
// The help menu: its list covers every command of the table, kaleidomat(1)
// carries the same list, and the version information names the licence.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/help_text.h"
#include "support/form_fixture.h"

namespace {

// Every command the user can choose has a help line, and the help window
// shows it with its key and toolbar button.
TEST_F(Started, HelpWindowListsEveryCommandWithItsKey) {
    f.window.events->menuTriggered(platform::Menu::HelpKeys);
    const auto& [title, text] = f.dialogs.shownTexts.at(0);
    EXPECT_EQ(title, "操作方法");
    for (const platform::Command& c : platform::kCommands) {
        if (!app::NeedsHelpLine(c)) continue;
        ASSERT_NE(app::HelpLineOf(c.id), nullptr) << "no help line for " << c.caption;
        EXPECT_NE(text.find(app::HelpLineOf(c.id)), std::string::npos) << c.caption;
        std::stringstream keys(c.key);  // several keys are written "A; B"
        for (std::string key; std::getline(keys >> std::ws, key, ';');)
            EXPECT_NE(text.find(key), std::string::npos) << key;
    }
    for (const char* shown : {"  開く(O)...  [Ctrl+O, ツールバー「開く」]", "反転(V) > 左右(R)", "Shift+左クリック", ".cells"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown;
}

// The manual page lists the same commands, generated from the same tables.
TEST(Help, ManualPageCarriesTheSameLists) {
    std::stringstream page;
    page << std::ifstream(KALEIDOMAT_SOURCE_DIR "/data/kaleidomat.1").rdbuf();
    EXPECT_NE(page.str().find(app::KeysManSection()), std::string::npos)
        << "data/kaleidomat.1 should hold this section:\n" << app::KeysManSection();
}

TEST_F(Started, AboutNamesVersionLicenceAndToolkit) {
    f.window.events->menuTriggered(platform::Menu::HelpAbout);
    expectOnlyMessage(f.dialogs.messages, "Kaleidomat " KALEIDOMAT_VERSION "\n色のついたセルで動くコンウェイのライフゲーム\n\n"
                      "ライセンス: MIT License\nQt 6.0.0\nCopyright (c) 2026 The Kaleidomat developers",
                      platform::MessageIcon::Information);
}

}  // namespace
