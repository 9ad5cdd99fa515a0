// SPDX-License-Identifier: MIT
// The window's language: the controller over the fakes with the real
// translator (the English built into the program), and a Qt window's own
// texts following a switch.

#include <QCoreApplication>
#include <gtest/gtest.h>

#include "platform/qt/graph_window.h"
#include "platform/qt/qt_translations.h"
#include "support/controller_fixture.h"
#include "ui/texts.h"

namespace {

using platform::Language;

// Whether `text` holds a Japanese character (kana, kanji, full-width forms:
// all from U+3000 on, three bytes of UTF-8 led by E3 to EF) besides 日本語.
bool hasJapanese(std::string text) {
    for (std::size_t at; (at = text.find("日本語")) != std::string::npos;) text.erase(at, 9);
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE3; });
}

struct English : ::testing::Test {
    platform::qt::QtTranslator translator;
    ControllerFixture f;
    void SetUp() override { f.translator = &translator; }
    platform::Menu item(const char* caption) {  // a 言語 item by its caption
        for (const app::CommandRow& row : f.controller->commands().rows())
            if (row.look.caption == std::string(caption)) return row.look.id;
        return platform::Menu::Unassigned;
    }
};

TEST_F(English, RememberedEnglishShowsMenusMessagesAndTheWholeHelpInEnglish) {
    f.settings.lists[platform::setting::kLanguage] = {"en"};
    f.start("/nowhere/gone.hxa");
    expectOnlyMessage(f.dialogs.messages, "'/nowhere/gone.hxa' is not found.", platform::MessageIcon::Warning);
    EXPECT_EQ(f.window.captions.at(platform::Menu::File), "&File");
    EXPECT_EQ(f.window.toolTips.at(platform::Button::Open), "Open");
    for (const auto& [id, caption] : f.window.captions) EXPECT_FALSE(hasJapanese(caption)) << caption;
    f.command(platform::Menu::HelpKeys);
    const std::string& help = f.dialogs.shownTexts.at(0).second;
    EXPECT_NE(help.find("\nFile\n  Open...  [Ctrl+O, toolbar \"Open\"]\n      Opens a board file (.hxa)."), help.npos);
    EXPECT_FALSE(hasJapanese(help)) << help;
}

TEST_F(English, SwitchTakesEffectAtOnceAndIsRememberedButLangIsNot) {
    f.settings.lists[platform::setting::kLanguage] = {"ja"};
    f.language = Language::English;  // --lang en: this run only
    f.start();
    EXPECT_EQ(f.window.captions.at(platform::Menu::Edit), "&Edit");
    EXPECT_EQ(f.settings.lists[platform::setting::kLanguage], std::vector<std::string>{"ja"});
    f.command(item(texts::kLanguageNames[0]));
    EXPECT_EQ(f.window.captions.at(platform::Menu::Edit), "編集(&M)");
    f.command(item(texts::kLanguageNames[1]));
    EXPECT_EQ(f.settings.lists[platform::setting::kLanguage], std::vector<std::string>{"en"});
    EXPECT_EQ(f.window.panelText(platform::Panel::Speed), "Fastest");
}

TEST(QtTexts, GraphWindowFollowsTheLanguage) {
    platform::qt::QtTranslator translator;
    platform::qt::QtGraphWindow graph;
    translator.setLanguage(Language::English);
    QCoreApplication::sendPostedEvents();  // Qt posts LanguageChange to each window
    EXPECT_EQ(graph.widget()->windowTitle().toStdString(), "Graph - Kaleidomat");
}

}  // namespace
