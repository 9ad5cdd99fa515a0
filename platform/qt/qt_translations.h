// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QTranslator>

#include "platform/services.h"

namespace platform::qt {

// A text of ui/texts.h in the language in use, for the windows' own labels.
// A widget showing such texts sets them again on QEvent::LanguageChange.
QString TranslatedText(const char* text);

// The window's language with Qt's translators. Japanese: the texts as they
// are, with Qt's own Japanese (the buttons and labels of message boxes, file
// dialogs and the colour dialog) whatever the system's language. English:
// translations/kaleidomat_en.ts, built in, with Qt's own English. Japanese
// from the start; every switch sends the widgets QEvent::LanguageChange.
// Needs the application object, and must not outlive it.
class QtTranslator : public platform::Translator {
public:
    QtTranslator();
    ~QtTranslator() override;
    QtTranslator(const QtTranslator&) = delete;
    QtTranslator& operator=(const QtTranslator&) = delete;

    void setLanguage(Language language) override;
    Language language() const override { return language_; }
    std::string translate(const char* text) const override;

    // Whether each language's translator could be loaded (Qt's Japanese is
    // missing where Qt's translations are not installed: its dialogs then
    // keep Qt's English).
    bool hasQtJapanese() const { return qtJapaneseLoaded_; }
    bool hasEnglish() const { return englishLoaded_; }

private:
    QTranslator qtJapanese_;
    QTranslator english_;
    bool qtJapaneseLoaded_ = false;
    bool englishLoaded_ = false;
    Language language_ = Language::English;  // so that the constructor's switch to Japanese installs it
};

}  // namespace platform::qt
