// SPDX-License-Identifier: MIT
// The window's language: the controller over the fakes with the real
// translator (the English built into the program), and the Qt windows'
// own texts following a switch.

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <gtest/gtest.h>

#include "platform/qt/graph_window.h"
#include "platform/qt/qt_translations.h"
#include "support/controller_fixture.h"
#include "ui/texts.h"

namespace {

using platform::Language;

// The first Japanese character of `text` (kana, kanji, full-width forms), or
// "" when it has none: English has no character from U+3000 on.
std::string firstJapanese(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0xE3 && byte < 0xF0) return text.substr(i, 3);
    }
    return "";
}

// The language items of 表示 › 言語, Japanese first.
std::vector<platform::Menu> languageItems(app::WindowController& c) {
    std::vector<platform::Menu> items;
    for (const app::CommandRow& row : c.commands().rows())
        for (const char* name : texts::kLanguageNames)
            if (row.look.caption == name) items.push_back(row.look.id);
    return items;
}

struct English : ::testing::Test {
    platform::qt::QtTranslator translator;
    ControllerFixture f;
    void SetUp() override {
        ASSERT_TRUE(translator.hasEnglish());
        f.translator = &translator;
    }
};

TEST_F(English, RememberedEnglishShowsEveryMenuMessageAndHelpInEnglish) {
    f.settings.lists[platform::setting::kLanguage] = {"en"};
    f.start("/nowhere/gone.hxa");
    EXPECT_EQ(translator.language(), Language::English);
    expectOnlyMessage(f.dialogs.messages, "'/nowhere/gone.hxa' is not found.", platform::MessageIcon::Warning);
    EXPECT_EQ(f.window.captions.at(platform::Menu::File), "&File");
    EXPECT_EQ(f.window.toolTips.at(platform::Button::Open), "Open");
    EXPECT_TRUE(f.window.panelText(platform::Panel::Generation).starts_with("Gen = "));
    EXPECT_EQ(f.window.patternEntry(f.window.patternItemCount() - 1).caption, "Register Pattern");
    // No caption stays Japanese but 日本語 itself.
    for (const auto& [item, caption] : f.window.captions)
        EXPECT_TRUE(caption == texts::kLanguageNames[0] || firstJapanese(caption).empty()) << caption;

    f.command(platform::Menu::HelpKeys);
    ASSERT_EQ(f.dialogs.shownTexts.size(), 1u);
    const auto& [title, help] = f.dialogs.shownTexts[0];
    EXPECT_EQ(title, "Keys and Mouse");
    EXPECT_NE(help.find("\nFile\n  Open...  [Ctrl+O, toolbar \"Open\"]\n      Opens a board file (.hxa)."),
              std::string::npos);
    std::string rest = help;  // the language's own name is the one Japanese word
    for (std::size_t at; (at = rest.find("日本語")) != std::string::npos;) rest.erase(at, std::string("日本語").size());
    EXPECT_EQ(firstJapanese(rest), "") << help;
}

TEST_F(English, SwitchTakesEffectAtOnceAndIsRememberedButLangIsNot) {
    // --lang en over a remembered Japanese: this run only.
    f.settings.lists[platform::setting::kLanguage] = {"ja"};
    f.language = Language::English;
    f.start();
    EXPECT_EQ(f.window.captions.at(platform::Menu::Edit), "&Edit");
    EXPECT_EQ(f.settings.lists[platform::setting::kLanguage], std::vector<std::string>{"ja"});
    const std::vector<platform::Menu> items = languageItems(*f.controller);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(f.window.menuChecked(items[1]));

    f.command(items[0]);  // 日本語
    EXPECT_EQ(translator.language(), Language::Japanese);
    EXPECT_EQ(f.settings.lists[platform::setting::kLanguage], std::vector<std::string>{"ja"});
    EXPECT_EQ(f.window.captions.at(platform::Menu::Edit), "編集(&M)");
    EXPECT_EQ(f.window.toolTips.at(platform::Button::Open), "開く");
    EXPECT_TRUE(f.window.panelText(platform::Panel::Generation).starts_with("世代 = "));
    EXPECT_EQ(f.window.panelText(platform::Panel::Speed), "最高速");
    EXPECT_TRUE(f.window.menuChecked(items[0]));
    EXPECT_FALSE(f.window.menuChecked(items[1]));

    f.command(items[1]);  // English, remembered
    EXPECT_EQ(f.settings.lists[platform::setting::kLanguage], std::vector<std::string>{"en"});
    EXPECT_EQ(f.window.panelText(platform::Panel::Speed), "Fastest");
    f.command(platform::Menu::PatternClear);
    f.command(platform::Menu::ExecStart);  // an empty board dies out at once
    f.window.runScheduled();
    ASSERT_FALSE(f.dialogs.messages.empty());
    EXPECT_EQ(f.dialogs.messages.back().text, "All cells have died...");
}

// A Life pattern's refusal: the line's number goes where English puts it.
TEST_F(English, ImportRefusalPutsTheLineNumberInPlace) {
    const std::string rle = "x = 3, y = 1\no?!\n";
    f.files.files["/p/bad.rle"] = std::vector<uint8_t>(rle.begin(), rle.end());
    f.language = Language::English;
    f.start("/p/bad.rle");
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_NE(f.dialogs.messages[0].text.find("The Life pattern could not be read.\n/p/bad.rle\nLine 2: "),
              std::string::npos)
        << f.dialogs.messages[0].text;
}

TEST(QtTexts, GraphWindowFollowsTheLanguage) {
    platform::qt::QtTranslator translator;
    platform::qt::QtGraphWindow graph;
    EXPECT_EQ(graph.widget()->windowTitle().toStdString(), texts::kGraphTitle);
    translator.setLanguage(Language::English);
    QCoreApplication::sendPostedEvents();  // Qt posts LanguageChange to each window
    EXPECT_EQ(graph.widget()->windowTitle().toStdString(), "Graph - Kaleidomat");
    EXPECT_EQ(graph.widget()->findChild<QComboBox*>()->itemText(0).toStdString(), "red");
    std::vector<std::string> buttons;
    for (const QPushButton* b : graph.widget()->findChildren<QPushButton*>()) buttons.push_back(b->text().toStdString());
    EXPECT_EQ(buttons, (std::vector<std::string>{"Save CSV...", "Save PNG...", "Save SVG...", "Save Lineage..."}));
    translator.setLanguage(Language::Japanese);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(graph.widget()->windowTitle().toStdString(), texts::kGraphTitle);
}

}  // namespace
