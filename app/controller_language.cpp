// SPDX-License-Identifier: MIT
// The window's language: 表示 › 言語 with 日本語 and English (each named in
// its own language), remembered like the other settings; --lang chooses one
// for a run alone. A switch captions every menu item and toolbar button
// anew, shows the panels again and has the translator change the texts the
// windows show by themselves, so nothing waits for a restart.

#include <array>

#include "app/window_controller.h"
#include "ui/texts.h"

namespace app {

using platform::Language;
using platform::Menu;

namespace {
// How a language is remembered, in the order of platform::Language.
constexpr std::array<const char*, 2> kLanguageCodes{"ja", "en"};
}  // namespace

std::string WindowController::tr(const char* text) const {
    if (!services_.translator) return text;
    auto [known, added] = translated_.try_emplace(text);
    if (added) known->second = services_.translator->translate(text);
    return known->second;
}

void WindowController::registerLanguageCommands() {
    const Menu submenu = commands_.add(
        {.kind = platform::CommandKind::Menu, .id = Menu::Unassigned, .in = Menu::View, .caption = texts::kMenuViewLanguage},
        {.help = texts::kHelpViewLanguage});
    for (const Language language : {Language::Japanese, Language::English})
        commands_.add({.id = Menu::Unassigned, .in = submenu, .caption = texts::kLanguageNames[static_cast<int>(language)],
                       .radio = true},
                      {.run = [this, language] { SetLanguage(language, true); },
                       .checked = [this, language] { return language_ == language; }});
}

void WindowController::startLanguage() {
    std::optional<Language> chosen = options_.language;
    if (!chosen && services_.settings) {
        // Anything but the one code of English is Japanese, the language of a first start.
        const auto stored = services_.settings->readStrings(platform::setting::kLanguage);
        if (stored && stored->size() == 1 && stored->front() == kLanguageCodes[1]) chosen = Language::English;
    }
    language_ = chosen.value_or(Language::Japanese);
    translated_.clear();
    if (services_.translator) services_.translator->setLanguage(language_);
    if (language_ != Language::Japanese) ShowLanguage();
}

void WindowController::SetLanguage(Language language, bool remember) {
    if (remember && services_.settings) {
        services_.settings->writeStrings(platform::setting::kLanguage, {kLanguageCodes[static_cast<int>(language)]});
        ReportSettingsFailure();
    }
    if (language == language_) return;
    const std::string importedCaption = tr(texts::kImportedMark) + texts::kCaptionSuffix;
    language_ = language;
    translated_.clear();
    if (services_.translator) services_.translator->setLanguage(language);
    ShowLanguage();
    // The caption of a board imported from a Life pattern carries a word of its own.
    if (const std::string shown = caption(); shown.ends_with(importedCaption))
        window().setCaption(shown.substr(0, shown.size() - importedCaption.size()) + tr(texts::kImportedMark) +
                            texts::kCaptionSuffix);
    if (board.Cells.empty()) return;  // before the first board, its panels are still to come
    ShowBoard();
    ShowSpeed();
    if (trace_) ShowTrace();
}

void WindowController::ShowLanguage() {
    platform::MainWindow& w = window();
    for (const CommandRow& row : commands_.rows()) {
        const platform::Command& look = row.look;
        if (*look.caption) w.setMenuCaption(look.id, tr(look.caption));
        if (look.button != platform::Button::None && *look.toolTip) w.setButtonToolTip(look.button, tr(look.toolTip), tr(look.description));
    }
    // The pattern list ends with the registration item once it has been filled.
    if (!patternFiles_.empty())
        w.setPatternEntry(w.patternItemCount() - 1, {.caption = tr(texts::kRegisterPattern)});
}

}  // namespace app
